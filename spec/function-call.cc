// Calling a spec function from a spec: its argument text is expanded into
// separate arguments in a fresh argument state, the handler runs, the
// caller's state comes back and the handler's text is interpreted in place.
#include <cstring>
#include <string>
#include <utility>

#include "diagnostics/diagnostic.h"
#include "spec/interpreter.h"
#include "spec/spec-function-table.h"

namespace {

bool is_name_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '_' || c == '-';
}

// The caller's argument state while a function's arguments are expanded.
struct saved_arg_state {
  std::vector<const char *> buffer;
  std::vector<const char *> response_buffer;
  bool pending;
  bool is_library;
  bool is_linker_script;
  bool is_output;
  int delete_mode;
  const char *substitute;
  std::string unfinished;  // characters of the caller's unfinished argument
};

saved_arg_state save_arg_state() {
  saved_arg_state s;
  s.buffer = std::move(arg_buffer);
  s.response_buffer = std::move(response_arg_buffer);
  s.pending = arg_pending;
  s.is_library = arg_is_library;
  s.is_linker_script = arg_is_linker_script;
  s.is_output = arg_is_output;
  s.delete_mode = arg_delete_mode;
  s.substitute = suffix_substitute;
  s.unfinished.assign(arg_text.base() ? arg_text.base() : "", arg_text.length());
  arg_text.clear();
  return s;
}

void restore_arg_state(saved_arg_state &s) {
  arg_buffer = std::move(s.buffer);
  response_arg_buffer = std::move(s.response_buffer);
  arg_pending = s.pending;
  arg_is_library = s.is_library;
  arg_is_linker_script = s.is_linker_script;
  arg_is_output = s.is_output;
  arg_delete_mode = s.delete_mode;
  suffix_substitute = s.substitute;
  arg_text.clear();
  arg_text.append(s.unfinished.data(), s.unfinished.size());
}

} // namespace

const char *call_spec_function(const char *p, bool *returned, const char *star_text) {
  spec_function_depth++;

  const char *q = p;
  while (*q && *q != '(') {
    if (!is_name_char(*q))
      fatal_error(UNKNOWN_LOCATION, "malformed spec function name");
    q++;
  }
  if (!*q)
    fatal_error(UNKNOWN_LOCATION, "no arguments for spec function");
  std::string name(p, static_cast<std::size_t>(q - p));

  const char *args_start = ++q;
  int depth = 1;
  for (;; q++) {
    if (!*q)
      fatal_error(UNKNOWN_LOCATION, "malformed spec function arguments");
    if (*q == '(')
      depth++;
    else if (*q == ')' && --depth == 0)
      break;
  }
  std::string args(args_start, static_cast<std::size_t>(q - args_start));
  const char *end = q + 1;

  const spec_function *sf = lookup_spec_function(name.c_str());
  if (!sf)
    fatal_error(UNKNOWN_LOCATION, "unknown spec function %qs", name.c_str());

  saved_arg_state saved = save_arg_state();
  arg_buffer = {};
  arg_buffer.reserve(10);
  response_arg_buffer = {};
  response_arg_buffer.reserve(10);

  if (expand_spec(args.c_str(), star_text) < 0)
    fatal_error(UNKNOWN_LOCATION, "error in arguments to spec function %qs", name.c_str());

  // The handler may keep pointers into its vector only for the call.
  std::vector<const char *> argv = arg_buffer;
  argv.push_back(nullptr);
  const char *result = sf->func(static_cast<int>(argv.size() - 1), argv.data());

  restore_arg_state(saved);

  const char *next = end;
  if (result && do_spec_1(result, false, nullptr) < 0)
    next = nullptr;
  if (returned)
    *returned = result != nullptr;
  spec_function_depth--;
  return next;
}
