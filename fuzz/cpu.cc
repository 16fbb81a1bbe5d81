// Processor texts: a host processor description (the input up to a first
// NUL, read as the cpuinfo file) for the "arch", "cpu" and "tune" queries,
// and an -mcpu= value (the rest of the input) rewritten into an
// architecture name and parsed as an extension list.
#include <cstdlib>
#include <string>

#include "common/config/aarch64/aarch64-common.h"
#include "config/aarch64/driver-aarch64.h"
#include "fuzz/fuzz-support.h"

// Every input is written to the one file that VRK_CPUINFO names.
extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  fuzz_initialize();
  setenv("VRK_CPUINFO", (fuzz_directory() + "cpuinfo").c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string description = fuzz_text(data, size);
  std::string mcpu;
  if (description.size() < size)
    mcpu = fuzz_text(data + description.size() + 1, size - description.size() - 1);

  fuzz_write_file("cpuinfo", description);
  for (const char *query : {"arch", "cpu", "tune"}) {
    const char *argv[] = {query, nullptr};
    std::free(const_cast<char *>(host_detect_local_cpu(1, argv)));
  }

  aarch64_feature_flags flags = 0;
  std::string invalid;
  if (!mcpu.empty() && mcpu[0] == '+')
    parse_extension_list(mcpu.c_str(), &flags, &invalid);
  extension_string_for_flags(flags, 0);
  fuzz_run([&] {
    const char *argv[] = {"-mcpu=generic", mcpu.c_str(), nullptr};
    std::free(const_cast<char *>(aarch64_rewrite_mcpu(2, argv)));
  });
  return 0;
}
