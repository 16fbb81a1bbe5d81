// The inputs of a run: files and linker-input options in command-line
// order, each with the language it was given under and, once the inputs
// are classified, the compilers-table row that handles it.
#ifndef VRK_COMPILATION_INPUTS_H
#define VRK_COMPILATION_INPUTS_H

#include <cstddef>
#include <vector>

struct compiler_entry;

struct input_entry {
  const char *name;       // file name or linker-input option text; null ends
  const char *language;   // -x language, null for by-suffix, "*" for linker inputs
  compiler_entry *compiler;
  bool compiled;
  bool preprocessed;
  // Index of the command-line word it came from (after argument files are
  // expanded; "-Wl,a,b" gives several inputs of one word), or -1.
  int argv_index = -1;
};

// An array of inputs that always ends with an entry whose name is null.
class input_list {
public:
  input_list() : entries_(1, input_entry{}) {}

  int count() const { return static_cast<int>(entries_.size()) - 1; }
  input_entry &operator[](int i) { return entries_[static_cast<std::size_t>(i)]; }
  const input_entry &operator[](int i) const { return entries_[static_cast<std::size_t>(i)]; }

  void add(const char *name, const char *language) {
    entries_.back() = {name, language, nullptr, false, false, -1};
    entries_.push_back(input_entry{});
  }
  void clear() { entries_.assign(1, input_entry{}); }

private:
  std::vector<input_entry> entries_;
};

#endif
