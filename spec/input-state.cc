// The current input of the compilation loop: its name split into base,
// stem and suffix.
#include <cstring>

#include "spec/interpreter.h"

void spec_interpreter::set_current_input(const char *name) {
  input.name = name;
  input.name_length = static_cast<int>(std::strlen(name));

  const char *slash = std::strrchr(name, '/');
  input.base = slash ? slash + 1 : name;
  input.base_length = static_cast<int>(std::strlen(input.base));
  input.stem_length = input.base_length;
  input.suffix = "";

  // A dot in the first position (".profile") does not start a suffix.
  for (int i = input.base_length - 1; i > 0; i--) {
    if (input.base[i] == '.') {
      input.stem_length = i;
      input.suffix = input.base + i + 1;
      break;
    }
  }

  // The next -save-temps name test takes the identity of the new input.
  temps.input_identity = temp_name_state::identity::not_taken;
}
