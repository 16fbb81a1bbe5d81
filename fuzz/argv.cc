// Argument files: splitting a text, writing the words back and splitting
// again must give the same words; expanding "@file" arguments whose file
// holds the input (it may name further files) must not fail or crash.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz-support.h"
#include "process/argv.h"

namespace {

std::vector<std::string> words_of(char **argv) {
  std::vector<std::string> words;
  for (char **a = argv; a && *a; a++)
    words.emplace_back(*a);
  return words;
}

void check_round_trip(const std::string &text) {
  char **first = split_arguments(text.c_str());
  char *written = nullptr;
  std::size_t size = 0;
  std::FILE *f = open_memstream(&written, &size);
  if (write_arguments(first, f) != 0)
    std::abort();
  std::fclose(f);
  char **second = split_arguments(written);
  // Writing ends every word with a newline, so an empty vector cannot
  // occur: splitting always yields at least one word.
  if (words_of(first) != words_of(second))
    std::abort();
  std::free(written);
  free_arguments(first);
  free_arguments(second);
}

void check_expansion(const std::string &text) {
  std::string name = fuzz_write_file("args", text);
  std::string at = "@" + name;
  const char *original[] = {"vrk++", "-c", at.c_str(), "x.c", nullptr};
  int argc = 4;
  char **argv = const_cast<char **>(original);
  const char *failure = expand_response_files(&argc, &argv);
  (void)failure;
  if (argv != const_cast<char **>(original))
    free_arguments(argv);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  fuzz_initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string text = fuzz_text(data, size);
  check_round_trip(text);
  check_expansion(text);
  return 0;
}
