// The interpreter's argument building state: the buffers of finished
// arguments, the argument under construction with its flags, and how a
// finished argument is pushed (library and linker-script lookup, deletion
// records, the input's output slot, response files).
#include <unistd.h>

#include <cstring>

#include "diagnostics/diagnostic.h"
#include "driver/driver-state.h"
#include "process/prefixes.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"

std::vector<const char *> arg_buffer;
std::vector<const char *> response_arg_buffer;
bool in_response_file;
text_area arg_text;
bool arg_pending;
bool arg_is_library;
bool arg_is_linker_script;
bool arg_is_output;
int arg_delete_mode;
const char *suffix_substitute;
int spec_function_depth;

void clear_arg_flags() {
  arg_is_library = false;
  arg_is_linker_script = false;
  arg_is_output = false;
  arg_delete_mode = 0;
}

void push_arg(const char *text, int delete_always, bool delete_on_failure) {
  if (in_response_file)
    response_arg_buffer.push_back(text);
  else
    arg_buffer.push_back(text);

  if (delete_always || delete_on_failure) {
    // For an option such as -fdump-x=file the file is what follows the "=".
    const char *name = text;
    if (text[0] == '-') {
      const char *eq = std::strrchr(text, '=');
      if (eq)
        name = eq + 1;
    }
    register_temp_file(name, delete_always != 0, delete_on_failure);
  }
}

void finish_arg() {
  const char *text = arg_text.finish();

  if (arg_is_library) {
    if (char *found = run_paths.find_file_on_prefixes(run_paths.startfile_prefixes, text, R_OK, true))
      text = found;
  }

  if (arg_is_linker_script) {
    char *found = run_paths.find_file_on_prefixes(run_paths.startfile_prefixes, text, R_OK, true);
    if (!found) {
      error_noloc("unable to locate default linker script %qs in the library search paths",
                  text);
      arg_pending = false;
      return;
    }
    push_arg("--script", 0, false);
    text = found;
  }

  push_arg(text, arg_delete_mode, arg_is_output);

  if (arg_is_output && input_number >= 0 &&
      static_cast<std::size_t>(input_number) < output_files.size())
    output_files[input_number] = text;

  arg_pending = false;
}

void begin_response_file() {
  if (in_response_file)
    fatal_error(UNKNOWN_LOCATION, "cannot open nested response file");
  in_response_file = true;
}
