// The conditional-group grammar: the input is the text after "%{" of a
// group, interpreted against the fixed switches of fuzz_reset_spec_state
// (ordered lists, alternatives, N-way choices, substitution bodies,
// liveness), and scanned as claim_spec_switches scans every spec.
#include <string>

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
  spec_interpreter &in = fuzz_reset_spec_state();
  fuzz_run([&] { in.process_braces(group.c_str()); });
  switch_list &switches = fuzz_reset_spec_state().comp.switches;
  std::string spec = "%{" + group;
  fuzz_run([&] {
    claim_spec_switches(switches, spec.c_str(), false);
    claim_spec_switches(switches, spec.c_str(), true);
  });
  return 0;
}
