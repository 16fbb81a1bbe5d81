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

const spec_function *find_function(const spec_interpreter &in, const std::string &name) {
  for (int i = 0; i < in.spec_function_count; i++)
    if (name == in.spec_functions[i].name)
      return &in.spec_functions[i];
  return nullptr;
}

// The name before "(" at P and the argument text up to the matching ")";
// returns the position after it.
const char *parse_call(const char *p, std::string &name, std::string &arguments) {
  const char *q = p;
  while (*q && *q != '(') {
    if (!is_name_char(*q))
      fatal_error(UNKNOWN_LOCATION, "malformed spec function name");
    q++;
  }
  if (!*q)
    fatal_error(UNKNOWN_LOCATION, "no arguments for spec function");
  name.assign(p, static_cast<std::size_t>(q - p));

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
  arguments.assign(args_start, static_cast<std::size_t>(q - args_start));
  return q + 1;
}

} // namespace

const char *spec_interpreter::call_spec_function(const char *p, bool *returned,
                                                 const char *star_text) {
  spec_function_depth++;

  std::string name, arguments;
  const char *end = parse_call(p, name, arguments);
  const spec_function *sf = find_function(*this, name);
  if (!sf)
    fatal_error(UNKNOWN_LOCATION, "unknown spec function %qs", name.c_str());

  // The caller's argument state (with its unfinished argument) waits
  // while the function's arguments are expanded in a fresh one.
  arg_state caller = std::exchange(args, arg_state{});
  args.buffer.reserve(10);
  args.response_buffer.reserve(10);

  provenance_scope copy(trace, arguments.c_str(), end - 1 - arguments.size());
  if (expand_spec(arguments.c_str(), star_text) < 0)
    fatal_error(UNKNOWN_LOCATION, "error in arguments to spec function %qs", name.c_str());

  // The handler may keep pointers into its vector only for the call.
  std::vector<const char *> argv = args.buffer;
  argv.push_back(nullptr);
  const char *result = sf->func(*this, static_cast<int>(argv.size() - 1), argv.data());

  args = std::move(caller);

  const char *next = end;
  provenance_scope from(trace, spec_origin::function, sf->name, result);
  if (result && do_spec_1(result, false, nullptr) < 0)
    next = nullptr;
  if (returned)
    *returned = result != nullptr;
  spec_function_depth--;
  return next;
}
