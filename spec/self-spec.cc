// apply_self_spec: a spec whose expansion adds switches to the command
// line, as the driver's built-in self specs and a specs file's self_spec
// do.  The words are decoded as driver options and handled like options
// given on the command line.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic-reporter.h"
#include "diagnostics/diagnostic.h"
#include "options/option-table.h"
#include "options/opts-common.h"
#include "spec/interpreter.h"

namespace {

// Save a decoded option as a switch: its canonical words, recognised and
// not claimed (as command-line processing saves it).
void save_decoded_switch(switch_list &switches, const decoded_option &d) {
  if (d.canonical_count == 0) {
    switches.save(d.orig_text, 0, nullptr, false, true);
    return;
  }
  switches.save(d.canonical[0], d.canonical_count - 1, d.canonical + 1, false, true);
}

// The words of a self spec, decoded after a stand-in program name.
void handle_self_spec_words(compilation &comp, const std::vector<const char *> &words) {
  std::vector<const char *> argv;
  argv.push_back("-");  // stands for the program name
  argv.insert(argv.end(), words.begin(), words.end());

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
      save_decoded_switch(comp.switches, d);
      continue;
    }
    // The same handlers, in the same order, as for the command line.
    read_cmdline_option(&comp.options, &comp.options_set, &d, UNKNOWN_LOCATION, OPTF_DRIVER,
                        &comp.option_handlers, &global_reporter);
  }
  std::free(decoded);
}

} // namespace

void spec_interpreter::apply_self_spec(const char *spec) {
  provenance_scope from(trace, spec_origin::self_spec, "self_spec", spec);
  expand_spec(spec, nullptr);
  do_spec_1(" ", false, nullptr);

  for (saved_switch &sw : comp.switches)
    if (sw.liveness & live_removed)
      sw.liveness |= live_removed_by_self_spec;
  comp.switches.note_change();

  if (!args.buffer.empty())
    handle_self_spec_words(comp, args.buffer);
}
