// The current input of the compilation loop: its name split into base,
// stem and suffix, its compilers-table row, and the output-file slots.
#include <cstring>

#include "spec/interpreter.h"

const char *input_name;
int input_name_length;
const char *input_base;
int input_base_length;
int input_stem_length;
const char *input_suffix = "";
int input_number;
std::vector<const char *> output_files;
compiler_entry *current_compiler;

void set_current_input(const char *name) {
  input_name = name;
  input_name_length = static_cast<int>(std::strlen(name));

  const char *slash = std::strrchr(name, '/');
  input_base = slash ? slash + 1 : name;
  input_base_length = static_cast<int>(std::strlen(input_base));
  input_stem_length = input_base_length;
  input_suffix = "";

  // A dot in the first position (".profile") does not start a suffix.
  for (int i = input_base_length - 1; i > 0; i--) {
    if (input_base[i] == '.') {
      input_stem_length = i;
      input_suffix = input_base + i + 1;
      break;
    }
  }

  forget_input_identity();
}
