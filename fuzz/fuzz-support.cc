#include "fuzz/fuzz-support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic-reporter.h"
#include "diagnostics/diagnostic.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"
#include "spec/multilib.h"
#include "spec/spec-list.h"
#include "support/error-exit.h"

namespace {

std::string directory;

[[noreturn]] void throw_exit(int status) { throw fuzz_exit{status}; }

int record_nothing(spec_interpreter &) { return 0; }

// Self-spec options are decoded and then ignored: acting on them would
// reach the driver, which the spec targets do not run.
option_handler_set ignoring_handlers() {
  option_handler_set h{};
  h.unknown_option_callback = [](const decoded_option *, void *) { return false; };
  h.wrong_lang_callback = [](const decoded_option *, unsigned, void *) {};
  h.num_handlers = 1;
  h.handlers[0] = {[](option_values *, option_values *, const decoded_option *, unsigned, int,
                      location_t, const option_handler_set *, diagnostic_reporter *) {
                     return true;
                   },
                   OPTF_DRIVER};
  return h;
}

// The switches are made once; later inputs get copies of the same records
// (saving copies texts that a run keeps until it ends).
const switch_list &fixed_switches() {
  static const switch_list switches = [] {
    switch_list s;
    auto save = [&s](const char *text, const char *argument = nullptr) {
      const char *args[] = {argument};
      s.save(text, argument ? 1 : 0, args, false, true);
    };
    save("-O2");
    save("-fno-common");
    save("-D", "FOO");
    save("-o", "out.o");
    save("-mcpu=cortex-a53+crc");
    save("-Wall");
    save("-g");
    return s;
  }();
  return switches;
}

// The run of one input.
struct spec_run {
  compilation comp;
  spec_interpreter in{comp};
};
std::unique_ptr<spec_run> current_run;

// The named specs as the driver has them after installing the built-in
// list, taken once; each input starts from them again.  (reset_specs and
// a new install per input would leak the list's rewritten texts.)
struct spec_snapshot {
  named_spec *entry;
  const char *value;
};
std::vector<spec_snapshot> installed_specs;
named_spec *installed_head;

void snapshot_named_specs() {
  reset_specs();
  install_builtin_specs();
  installed_head = named_specs.spec_list;
  for (named_spec *sl = named_specs.spec_list; sl; sl = sl->next)
    installed_specs.push_back({sl, *sl->value_slot});
}

void restore_named_specs() {
  for (named_spec *sl = named_specs.spec_list; sl && sl != installed_head;) {
    named_spec *next = sl->next;
    if (sl->value_owned)
      std::free(const_cast<char *>(*sl->value_slot));
    std::free(const_cast<char *>(sl->name));
    std::free(sl);
    sl = next;
  }
  named_specs.spec_list = installed_head;
  for (const spec_snapshot &s : installed_specs) {
    if (*s.entry->value_slot != s.value && s.entry->value_owned)
      std::free(const_cast<char *>(*s.entry->value_slot));
    *s.entry->value_slot = s.value;
    s.entry->value_owned = false;
    s.entry->user_set = false;
  }
  named_specs.link_command_spec = default_link_command_spec;
}

} // namespace

void fuzz_initialize() {
  static bool done = false;
  if (done)
    return;
  done = true;

  char name[] = "/tmp/vrk-fuzz-XXXXXX";
  if (!mkdtemp(name)) {
    std::perror("mkdtemp");
    std::abort();
  }
  directory = std::string(name) + "/";
  setenv("TMPDIR", name, 1);

  error_exit_hook = throw_exit;
  diagnostic_initialize("vrk++");
  snapshot_named_specs();
}

void fuzz_after_exit() {
  diagnostic_reporter &r = global_reporter;
  // The exit happened inside a report: it never came back down.
  r.report_depth = 0;
  std::memset(r.kind_counts, 0, sizeof r.kind_counts);
  diagnostic_ensure_printer(&r);
}

std::string fuzz_text(const std::uint8_t *data, std::size_t size) {
  const void *nul = std::memchr(data, 0, size);
  std::size_t length = nul ? static_cast<std::size_t>(static_cast<const std::uint8_t *>(nul) - data)
                           : size;
  return std::string(reinterpret_cast<const char *>(data), length);
}

const std::string &fuzz_directory() { return directory; }

std::FILE *fuzz_null_stream() {
  static std::FILE *null_stream = std::fopen("/dev/null", "w");
  if (!null_stream)
    std::abort();
  return null_stream;
}

std::string fuzz_write_file(const char *name, const std::string &data) {
  std::string path = directory + name;
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(data.data(), 1, data.size(), f) != data.size() || std::fclose(f) != 0)
    std::abort();
  return path;
}

spec_interpreter &fuzz_reset_spec_state() {
  std::memset(global_reporter.kind_counts, 0, sizeof global_reporter.kind_counts);
  delete_end_files();
  forget_failure_files();

  current_run = std::make_unique<spec_run>();
  compilation &comp = current_run->comp;
  spec_interpreter &in = current_run->in;
  in.execute_command = record_nothing;
  comp.option_handlers = ignoring_handlers();
  comp.compilers.init();
  comp.output_files.assign(2, nullptr);
  comp.switches = fixed_switches();
  in.input.compiler = &comp.compilers.rows[0];
  in.set_current_input("dir/foo.c");

  restore_named_specs();
  init_multilib_tables();
  return in;
}
