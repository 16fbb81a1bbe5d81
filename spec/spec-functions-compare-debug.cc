// Spec functions of -fcompare-debug: the final-insns dump option and the
// shared random seed of the two compilations, and the self spec that turns
// the switches of the first compilation into those of the second.
#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "spec/interpreter.h"
#include "spec/spec-functions.h"
#include "support/text.h"

namespace {

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
const char *last_expanded_argument(spec_interpreter &in, const char *spec) {
  in.expand_spec(spec, nullptr);
  in.do_spec_1(" ", false, nullptr);
  return in.args.buffer.empty() ? nullptr : in.args.buffer.back();
}

} // namespace

const char *compare_debug_dump_opt_spec_function(spec_interpreter &in, int argc,
                                                 const char **argv) {
  if (argc > 0)
    fatal_error(UNKNOWN_LOCATION, "too many arguments to %%:compare-debug-dump-opt");
  compare_debug_state &cd = in.comp.compare_debug;

  const char *given = last_expanded_argument(in, "%{fdump-final-insns=*:%*}");
  char *name;
  char *option = nullptr;
  if (given && std::strcmp(given, ".") != 0) {
    if (cd.mode == 0)
      return nullptr;
    name = xstrdup(given);
  } else {
    const char *made;
    if (given) {
      made = last_expanded_argument(in, "%B.gkd");
    } else {
      if (cd.mode == 0)
        return nullptr;
      made = last_expanded_argument(in, "%{!save-temps*:%g.gkd}%{save-temps*:%B.gkd}");
    }
    vrk_assert(made != nullptr);
    name = xstrdup(made);
    char *quoted = quote_spec_argument(name);
    option = concat("-fdump-final-insns=", quoted, nullptr);
    std::free(quoted);
  }

  // The compilation loop releases the names after each input.
  cd.dumps[cd.mode >= 0 ? 0 : 1] = name;

  char *&seed = cd.random_seed_text;
  if (cd.mode >= 0) {
    std::free(seed);
    seed = xasprintf("%#lx", static_cast<unsigned long>(random_seed_number()));
  }

  if (!seed)
    return option;
  char *result =
      concat("%{!frandom-seed=*:-frandom-seed=", seed, "} ", option ? option : "", nullptr);
  std::free(option);
  if (cd.mode < 0) {
    std::free(seed);
    seed = nullptr;
  }
  return result;
}

const char *compare_debug_self_opt_spec_function(spec_interpreter &in, int argc,
                                                 const char **argv) {
  if (argc > 0)
    fatal_error(UNKNOWN_LOCATION, "too many arguments to %%:compare-debug-self-opt");
  const compare_debug_state &cd = in.comp.compare_debug;
  if (cd.mode >= 0)
    return nullptr;
  return concat("%<o %<MD %<MMD %<MF* %<MG %<MP %<MQ* %<MT* %<fdump-final-insns=* "
                "-w -S -o %j %{!fcompare-debug-second:-fcompare-debug-second} ",
                cd.option ? cd.option : "", nullptr);
}
