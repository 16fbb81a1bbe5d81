// The specs-file reader on arbitrary file contents, as a main file, a user
// file and a file read by the include spec function; what it defined is
// then printed as -dumpspecs would and scanned for claimed switches.
#include <string>

#include "compilation/compilation.h"
#include "fuzz/fuzz-support.h"
#include "spec/braces.h"
#include "spec/interpreter.h"
#include "spec/spec-list.h"
#include "spec/specs-file.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  fuzz_initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size == 0)
    return 0;
  // The first byte chooses the kind of file; NUL bytes stay in the file.
  bool main = data[0] & 1;
  bool user = data[0] & 2;
  std::string path = fuzz_write_file("fuzz.specs",
                                      std::string(reinterpret_cast<const char *>(data) + 1, size - 1));
  compilation &comp = fuzz_reset_spec_state().comp;
  fuzz_run([&] {
    read_specs_file(comp, path.c_str(), main, user);
    print_specs(fuzz_null_stream());
    for (named_spec *sl = named_specs.spec_list; sl; sl = sl->next)
      claim_spec_switches(comp.switches, *sl->value_slot, sl->user_set);
    for (const compiler_entry &c : comp.compilers.rows)
      claim_spec_switches(comp.switches, c.spec, false);
  });
  return 0;
}
