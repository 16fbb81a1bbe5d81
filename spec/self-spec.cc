// apply_self_spec: a spec whose expansion adds switches to the command
// line, as the driver's built-in self specs and a specs file's self_spec
// do.  The words are decoded as driver options and handled like options
// given on the command line.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "diagnostics/diagnostic-reporter.h"
#include "diagnostics/diagnostic.h"
#include "driver/command-line.h"
#include "driver/switches.h"
#include "options/option-table.h"
#include "options/opts-common.h"
#include "spec/interpreter.h"

void (*self_spec_option_hook)(decoded_option *decoded);

namespace {

// Save a decoded option as a switch: its canonical words, recognised and
// not claimed (as command-line processing saves it).
void save_decoded_switch(const decoded_option &d) {
  if (d.canonical_count == 0) {
    save_switch(d.orig_text, 0, nullptr, false, true);
    return;
  }
  save_switch(d.canonical[0], d.canonical_count - 1, d.canonical + 1, false, true);
}

// The same handlers, in the same order, as for the command line.
void handle_like_command_line_option(decoded_option *d) {
  read_cmdline_option(&global_options, &global_options_set, d, UNKNOWN_LOCATION, OPTF_DRIVER,
                      &driver_option_handlers(), &global_reporter);
}

} // namespace

void apply_self_spec(const char *spec) {
  expand_spec(spec, nullptr);
  do_spec_1(" ", false, nullptr);

  for (int i = 0; i < saved_switch_count; i++)
    if (saved_switches[i].liveness & live_removed)
      saved_switches[i].liveness |= live_removed_by_self_spec;

  if (arg_buffer.empty())
    return;

  std::vector<const char *> argv;
  argv.push_back("-");  // stands for the program name
  argv.insert(argv.end(), arg_buffer.begin(), arg_buffer.end());

  decoded_option *decoded = nullptr;
  unsigned count = 0;
  decode_command_line(static_cast<unsigned>(argv.size()), argv.data(), OPTF_DRIVER, &decoded,
                      &count);

  for (unsigned j = 1; j < count; j++) {
    decoded_option &d = decoded[j];
    if (d.opt_index == OPTION_INPUT_FILE) {
      if (std::strcmp(d.arg, "-") == 0)
        fatal_error(UNKNOWN_LOCATION, "spec-generated switch is just %<-%>");
      fatal_error(UNKNOWN_LOCATION, "switch %qs does not start with %<-%>", d.arg);
    }
    if (d.opt_index == OPT_fcompare_debug || d.opt_index == OPT_fcompare_debug_second ||
        d.opt_index == OPT_fcompare_debug_ || d.opt_index == OPT_o) {
      save_decoded_switch(d);
      continue;
    }
    if (self_spec_option_hook)
      self_spec_option_hook(&d);
    else
      handle_like_command_line_option(&d);
  }
  std::free(decoded);

  terminate_switches_and_inputs();
}
