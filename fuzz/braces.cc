// The conditional-group grammar: the input is the text after "%{" of a
// group, interpreted against the fixed switches of fuzz_reset_spec_state
// (ordered lists, alternatives, N-way choices, substitution bodies,
// liveness), read again from the pieces kept of it, and scanned as
// claim_spec_switches scans every spec.
#include <cstring>
#include <string>
#include <vector>

#include "compilation/compilation.h"
#include "fuzz/fuzz-support.h"
#include "spec/braces.h"
#include "spec/interpreter.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  fuzz_initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string group = fuzz_text(data, size);
  // Read three times, as for three inputs: from the text, from the text
  // while keeping its pieces, from the kept pieces.  The first reading may
  // record liveness that changes what follows; the last two must agree.
  spec_interpreter &in = fuzz_reset_spec_state();
  std::vector<std::string> words[3];
  int readings = 0;
  for (; readings < 3; readings++) {
    // Each reading from a clean argument state, as each input starts: a
    // newline in a body runs the command so far and empties the buffer,
    // so words left from the reading before would hide this reading's.
    in.args.text.clear();
    in.args.pending = false;
    in.args.buffer.clear();
    in.args.origins.clear();
    in.clear_arg_flags();
    const char *end = nullptr;
    if (!fuzz_run([&] { end = in.process_braces(group.c_str()); }))
      break;
    // %u and %j make a new temporary name at every use.
    for (std::size_t k = 0; k < in.args.buffer.size(); k++)
      words[readings].emplace_back(std::strstr(in.args.buffer[k], fuzz_directory().c_str())
                                       ? "<temporary>"
                                       : in.args.buffer[k]);
    words[readings].emplace_back(end ? std::to_string(end - group.c_str()) : "failed");
  }
  if (readings == 3 && words[1] != words[2])
    __builtin_trap();
  switch_list &switches = fuzz_reset_spec_state().comp.switches;
  std::string spec = "%{" + group;
  fuzz_run([&] {
    claim_spec_switches(switches, spec.c_str(), false);
    claim_spec_switches(switches, spec.c_str(), true);
  });
  return 0;
}
