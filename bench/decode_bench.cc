// Decoding throughput: whole command lines of 10,000 and 100,000 words
// mixing the common shapes (joined, separate, negative, long spellings,
// enumerated and integer arguments, cancelled options, input files).  The
// per-word time should stay flat as the line grows.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <vector>

#include "options/opts-common.h"

namespace {

const char *const sample_words[] = {
    "-O2",          "-o",          "out",           "file.c",
    "-Wall",        "-Wno-unused", "-fpic",         "-fPIC",
    "-I",           "include",     "-DNAME=value",  "--std=c++17",
    "-fdiagnostics-color=never",   "-Wl,-rpath,/x", "-g3",
    "--param=align-loop-iterations=30",             "-Wlarger-than=16KiB",
    "-fno-common",  "-bogus-option",                "-x",
    "c",            "-march=ARMV8-A",               "-c",
};
constexpr std::size_t sample_count = sizeof sample_words / sizeof sample_words[0];

void decode_words(benchmark::State &state) {
  const std::size_t n = std::size_t(state.range(0));
  std::vector<const char *> argv;
  argv.reserve(n + 2);
  argv.push_back("vrk++");
  for (std::size_t i = 0; argv.size() < n + 1; ++i)
    argv.push_back(sample_words[i % sample_count]);
  argv.push_back(nullptr);

  for (auto _ : state) {
    decoded_option *decoded;
    unsigned count;
    decode_command_line(unsigned(n + 1), argv.data(), OPTF_DRIVER, &decoded, &count);
    benchmark::DoNotOptimize(decoded);
    std::free(decoded);
  }
  state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(n));
}

BENCHMARK(decode_words)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
