// The spec interpreter on arbitrary spec text, against the fixed switches
// and input of fuzz_reset_spec_state, with a recorder in place of command
// execution.  The input is the spec; text after a first NUL byte becomes
// the value of the named spec "fuzz" and of the link spec, so that named
// specs (%(fuzz), %l) can refer to themselves and to each other.  Every
// spec is interpreted as a compiler spec and as a self spec.
#include <cstring>
#include <string>

#include "fuzz/fuzz-support.h"
#include "spec/interpreter.h"
#include "spec/spec-list.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  fuzz_initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string spec = fuzz_text(data, size);
  std::string named;
  if (spec.size() < size)
    named = fuzz_text(data + spec.size() + 1, size - spec.size() - 1);

  for (int pass = 0; pass < 2; pass++) {
    spec_interpreter &in = fuzz_reset_spec_state();
    if (spec.size() < size) {
      define_spec("fuzz", named.c_str(), true);
      define_spec("link", named.c_str(), true);
    }
    fuzz_run([&] {
      if (pass == 0) {
        for (int input = 0; input < 3; input++)
          if (in.run_spec(spec.c_str()) != 0)
            break;
      } else
        in.apply_self_spec(spec.c_str());
    });
  }
  fuzz_reset_spec_state();
  return 0;
}
