// The interpreter's argument building: how a finished argument is pushed
// (library and linker-script lookup, deletion records, the input's output
// slot, response files).
#include <unistd.h>

#include <cstring>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"

void spec_interpreter::clear_arg_flags() {
  args.is_library = false;
  args.is_linker_script = false;
  args.is_output = false;
  args.delete_mode = 0;
}

void spec_interpreter::sync_origins() {
  if (args.origins.size() > args.buffer.size())
    args.origins.resize(args.buffer.size());
  if (args.response_origins.size() > args.response_buffer.size())
    args.response_origins.resize(args.response_buffer.size());
}

void spec_interpreter::push_arg(const char *text, int delete_always, bool delete_on_failure) {
  if (in_response_file)
    args.response_buffer.push_back(text);
  else
    args.buffer.push_back(text);
  if (trace) {
    word_origin o = trace->current();
    if (delete_always)
      o.file_roles |= word_deleted_always;
    if (delete_on_failure)
      o.file_roles |= word_deleted_on_failure;
    if (args.is_output)
      o.file_roles |= word_output;
    (in_response_file ? args.response_origins : args.origins).push_back(o);
  }

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

void spec_interpreter::finish_arg() {
  const char *text = finished_args.copy(args.text.base(), args.text.length());
  args.text.clear();
  const search_paths &search = comp.search;

  if (args.is_library) {
    if (char *found = search.find_file_on_prefixes(search.startfile_prefixes, text, R_OK, true))
      text = found;
  }

  if (args.is_linker_script) {
    char *found = search.find_file_on_prefixes(search.startfile_prefixes, text, R_OK, true);
    if (!found) {
      error_noloc("unable to locate default linker script %qs in the library search paths",
                  text);
      args.pending = false;
      return;
    }
    push_arg("--script", 0, false);
    text = found;
  }

  push_arg(text, args.delete_mode, args.is_output);

  std::vector<const char *> &slots = comp.output_files;
  if (args.is_output && input.number >= 0 && static_cast<std::size_t>(input.number) < slots.size())
    slots[static_cast<std::size_t>(input.number)] = text;

  args.pending = false;
}

void spec_interpreter::begin_response_file() {
  if (in_response_file)
    fatal_error(UNKNOWN_LOCATION, "cannot open nested response file");
  in_response_file = true;
}
