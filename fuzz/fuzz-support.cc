#include "fuzz/fuzz-support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "diagnostics/diagnostic-reporter.h"
#include "diagnostics/diagnostic.h"
#include "driver/compilers.h"
#include "driver/driver-state.h"
#include "driver/switches.h"
#include "options/option-table.h"
#include "process/prefixes.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"
#include "spec/multilib.h"
#include "spec/spec-list.h"
#include "support/error-exit.h"

namespace {

std::string directory;

[[noreturn]] void throw_exit(int status) { throw fuzz_exit{status}; }

int record_nothing() { return 0; }

void save(const char *text, const char *argument = nullptr) {
  const char *args[] = {argument};
  save_switch(text, argument ? 1 : 0, args, false, true);
}

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
  installed_head = spec_list;
  for (named_spec *sl = spec_list; sl; sl = sl->next)
    installed_specs.push_back({sl, *sl->value_slot});
}

void restore_named_specs() {
  for (named_spec *sl = spec_list; sl && sl != installed_head;) {
    named_spec *next = sl->next;
    if (sl->value_owned)
      std::free(const_cast<char *>(*sl->value_slot));
    std::free(const_cast<char *>(sl->name));
    std::free(sl);
    sl = next;
  }
  spec_list = installed_head;
  for (const spec_snapshot &s : installed_specs) {
    if (*s.entry->value_slot != s.value && s.entry->value_owned)
      std::free(const_cast<char *>(*s.entry->value_slot));
    *s.entry->value_slot = s.value;
    s.entry->value_owned = false;
    s.entry->user_set = false;
  }
  link_command_spec = default_link_command_spec;
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
  init_options_struct(&global_options, &global_options_set);
  init_compilers_table();
  snapshot_named_specs();
}

void fuzz_after_exit() {
  diagnostic_reporter &r = global_reporter;
  // The exit happened inside a report: it never came back down.
  r.report_depth = 0;
  r.group_depth = 0;
  r.group_emissions = 0;
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

void fuzz_reset_spec_state() {
  std::memset(global_reporter.kind_counts, 0, sizeof global_reporter.kind_counts);
  delete_end_files();
  forget_failure_files();

  execute_command_hook = record_nothing;
  export_options_hook = nullptr;
  self_spec_option_hook = nullptr;
  arg_buffer.clear();
  response_arg_buffer.clear();
  arg_text.clear();
  arg_pending = false;
  clear_arg_flags();
  in_response_file = false;
  spec_function_depth = 0;
  suffix_substitute = nullptr;

  output_files.assign(2, nullptr);
  input_number = 0;
  current_compiler = compilers_table.empty() ? nullptr : &compilers_table[0];
  save_temps_mode = 0;
  compare_debug_mode = 0;
  response_file_seen = false;
  global_options.x_use_pipes = 0;
  linker_passthrough.clear();
  assembler_passthrough.clear();
  preprocessor_passthrough.clear();
  reset_temp_name_memo();
  forget_input_identity();
  set_current_input("dir/foo.c");

  // The switches are made once; later inputs get the same records back
  // (saving copies texts that the driver keeps for the whole run).
  static std::vector<saved_switch> fixed_switches;
  if (fixed_switches.empty()) {
    saved_switch_count = 0;
    save("-O2");
    save("-fno-common");
    save("-D", "FOO");
    save("-o", "out.o");
    save("-mcpu=cortex-a53+crc");
    save("-Wall");
    save("-g");
    fixed_switches.assign(saved_switches, saved_switches + saved_switch_count);
  }
  saved_switch_count = 0;
  for (const saved_switch &sw : fixed_switches) {
    push_switch(sw.text);
    saved_switches[saved_switch_count - 1] = sw;
  }
  terminate_switches_and_inputs();

  restore_named_specs();
  init_multilib_tables();
  reset_multilib_selection();
}
