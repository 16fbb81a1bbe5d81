// Spec functions of -fcompare-debug: the final-insns dump option and the
// shared random seed of the two compilations, and the self spec that turns
// the switches of the first compilation into those of the second.
#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "diagnostics/diagnostic.h"
#include "driver/compare-debug.h"
#include "driver/driver-state.h"
#include "spec/interpreter.h"
#include "spec/spec-functions.h"
#include "support/text.h"

namespace {

// Made by the first compilation's call, used by the second one's, then
// forgotten: both compilations must see the same seed.
char *random_seed_text;

std::uint64_t random_seed_number() {
  std::uint64_t value = 0;
  int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    if (read(fd, &value, sizeof value) != static_cast<ssize_t>(sizeof value))
      value = 0;
    close(fd);
  }
  if (value == 0) {
    struct timeval now;
    gettimeofday(&now, nullptr);
    value = (static_cast<std::uint64_t>(now.tv_sec) * 1000 +
             static_cast<std::uint64_t>(now.tv_usec) / 1000) ^
            static_cast<std::uint64_t>(getpid());
  }
  return value;
}

// The last argument that the expansion of SPEC (then " ") left, or null.
const char *last_expanded_argument(const char *spec) {
  expand_spec(spec, nullptr);
  do_spec_1(" ", false, nullptr);
  return arg_buffer.empty() ? nullptr : arg_buffer.back();
}

} // namespace

const char *compare_debug_dump_opt_spec_function(int argc, const char **argv) {
  if (argc > 0)
    fatal_error(UNKNOWN_LOCATION, "too many arguments to %%:compare-debug-dump-opt");

  const char *given = last_expanded_argument("%{fdump-final-insns=*:%*}");
  char *name;
  char *option = nullptr;
  if (given && std::strcmp(given, ".") != 0) {
    if (compare_debug_mode == 0)
      return nullptr;
    name = xstrdup(given);
  } else {
    const char *made;
    if (given) {
      made = last_expanded_argument("%B.gkd");
    } else {
      if (compare_debug_mode == 0)
        return nullptr;
      made = last_expanded_argument("%{!save-temps*:%g.gkd}%{save-temps*:%B.gkd}");
    }
    vrk_assert(made != nullptr);
    name = xstrdup(made);
    char *quoted = quote_spec_argument(name);
    option = concat("-fdump-final-insns=", quoted, nullptr);
    std::free(quoted);
  }

  // The compilation loop releases the names after each input.
  compare_debug_dumps[compare_debug_mode >= 0 ? 0 : 1] = name;

  if (compare_debug_mode >= 0) {
    std::free(random_seed_text);
    random_seed_text = xasprintf("%#lx", static_cast<unsigned long>(random_seed_number()));
  }

  if (!random_seed_text)
    return option;
  char *result = concat("%{!frandom-seed=*:-frandom-seed=", random_seed_text, "} ",
                        option ? option : "", nullptr);
  std::free(option);
  if (compare_debug_mode < 0) {
    std::free(random_seed_text);
    random_seed_text = nullptr;
  }
  return result;
}

const char *compare_debug_self_opt_spec_function(int argc, const char **argv) {
  if (argc > 0)
    fatal_error(UNKNOWN_LOCATION, "too many arguments to %%:compare-debug-self-opt");
  if (compare_debug_mode >= 0)
    return nullptr;
  return concat("%<o %<MD %<MMD %<MF* %<MG %<MP %<MQ* %<MT* %<fdump-final-insns=* "
                "-w -S -o %j %{!fcompare-debug-second:-fcompare-debug-second} ",
                compare_debug_option ? compare_debug_option : "", nullptr);
}
