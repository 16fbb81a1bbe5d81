// MAKEFLAGS values: the job-server word, its descriptors or named pipe,
// and the cleaned flags made when the announcement is unusable.
#include <string>

#include "fuzz/fuzz-support.h"
#include "options/jobserver.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  fuzz_initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string makeflags = fuzz_text(data, size);
  jobserver_state state(makeflags.c_str());
  // The cleaned flags never grow: only the job-server word goes.
  if (!state.skipped_makeflags.empty() &&
      state.skipped_makeflags.size() > makeflags.size() + sizeof "MAKEFLAGS=" - 1)
    __builtin_trap();
  return 0;
}
