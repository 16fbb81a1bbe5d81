// Multilib tables: the input holds, separated by NUL bytes, the values of
// multilib, multilib_matches, multilib_defaults, multilib_exclusions,
// multilib_options, multilib_reuse and multilib_extra (missing ones are
// empty).  The choice is made against the fixed switches of
// fuzz_reset_spec_state (plus -mbig-endian and -m32), then the
// -print-multi-lib listing is written.
#include <string>
#include <vector>

#include "compilation/compilation.h"
#include "fuzz/fuzz-support.h"
#include "spec/interpreter.h"
#include "spec/multilib.h"
#include "spec/spec-list.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  fuzz_initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::vector<std::string> tables;
  while (tables.size() < 7) {
    std::string t = fuzz_text(data, size);
    std::size_t used = t.size() < size ? t.size() + 1 : size;
    data += used;
    size -= used;
    tables.push_back(t);
  }

  compilation &comp = fuzz_reset_spec_state().comp;
  comp.switches.push("mbig-endian");
  comp.switches.push("m32");
  named_spec_store &s = named_specs;
  const char **slots[] = {&s.multilib_spec,         &s.multilib_matches_spec,
                          &s.multilib_defaults_spec, &s.multilib_exclusions_spec,
                          &s.multilib_options_spec,  &s.multilib_reuse_spec,
                          &s.multilib_extra_spec};
  for (int i = 0; i < 7; i++)
    *slots[i] = tables[static_cast<std::size_t>(i)].c_str();

  fuzz_run([&] { select_multilib(comp); });
  fuzz_run([&] { print_multilib_listing(comp, fuzz_null_stream()); });
  fuzz_run([&] { multilib_option_used(comp, "mbig-endian", 11); });
  fuzz_reset_spec_state();
  return 0;
}
