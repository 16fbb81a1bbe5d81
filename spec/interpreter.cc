// do_spec_1 and its entry points: scanning a spec string into arguments,
// executing at newlines, and handing every `%` escape to its family
// (escapes.cc).
#include "spec/interpreter.h"

#include <cstring>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "spec/escapes.h"
#include "spec/spec-function-table.h"
#include "support/char-table.h"

spec_interpreter::spec_interpreter(compilation &c)
    : comp(c), spec_functions(builtin_spec_functions),
      spec_function_count(builtin_spec_function_count) {}

namespace {

// Every nested interpretation (a named spec, a group body, a spec
// function's arguments and result, a %* text) is one more do_spec_1 on the
// stack.  The built-in specs nest up to 16 levels; a named spec that
// refers to itself, directly or through others, would nest until the
// stack runs out, making temporary names and messages at every level on
// the way.  Past this depth the run ends with a fatal error that names
// the innermost named spec.
constexpr int max_spec_nesting = 200;

class nesting_guard {
public:
  nesting_guard(spec_interpreter &in, const char *spec) : in_(in) {
    if (in.spec_nesting == max_spec_nesting)
      fatal_error(UNKNOWN_LOCATION, "spec %qs nests too deeply",
                  in.innermost_named_spec ? in.innermost_named_spec : spec);
    ++in.spec_nesting;
  }
  ~nesting_guard() { --in_.spec_nesting; }
  nesting_guard(const nesting_guard &) = delete;
  nesting_guard &operator=(const nesting_guard &) = delete;

private:
  spec_interpreter &in_;
};

// The characters do_spec_1 treats other than by appending them.
constexpr char_table special_chars("\0\n \t\\|%");

void finish_pending_arg(spec_interpreter &in) {
  if (in.args.pending)
    in.finish_arg();
}

void clear_argument_state(spec_interpreter &in) {
  in.args.buffer.clear();
  in.args.response_buffer.clear();
  in.args.origins.clear();
  in.args.response_origins.clear();
  in.args.pending = false;
  in.clear_arg_flags();
}

bool is_last_arg_pipe(const spec_interpreter &in) {
  return !in.args.buffer.empty() && std::strcmp(in.args.buffer.back(), "|") == 0;
}

// A newline of the spec: the command (or pipeline) is complete unless it
// ends with "|" and pipes are in use.  0 or the failure status.
int end_of_command(spec_interpreter &in) {
  finish_pending_arg(in);
  in.clear_arg_flags();
  if (is_last_arg_pipe(in)) {
    if (in.comp.options.x_use_pipes)
      return 0;  // the next command joins the same pipeline
    in.args.buffer.pop_back();
    in.sync_origins();
  }
  int value = execute_buffer(in);
  if (value != 0)
    return value;
  clear_argument_state(in);
  return 0;
}

} // namespace

int execute_buffer(spec_interpreter &in) {
  if (in.export_options)
    in.export_options(in);
  if (in.args.buffer.empty() || !in.execute_command)
    return 0;
  return in.execute_command(in);
}

int spec_interpreter::do_spec_1(const char *spec, bool literal, const char *star_text) {
  if (literal) {
    args.text.append(spec);
    args.pending = true;
    if (spec_function_depth > 0)
      finish_arg();
    return 0;
  }

  nesting_guard nesting(*this, spec);
  spec_cursor at{spec, spec, star_text};
  for (;;) {
    if (trace && !args.pending)
      trace->mark(at.p);
    char c = *at.p++;
    switch (c) {
    case '\0':
      // Nested texts end their own argument while function arguments are
      // collected, so that each becomes an argument of its own.
      if (spec_function_depth > 0 && args.pending)
        finish_arg();
      return 0;

    case '\n':
      if (int value = end_of_command(*this))
        return value;
      break;

    case ' ':
    case '\t':
      finish_pending_arg(*this);
      clear_arg_flags();
      break;

    case '\\':
      if (*at.p) {
        args.text.append_char(*at.p++);
        args.pending = true;
      }
      break;

    case '|':
      finish_pending_arg(*this);
      args.text.append_char('|');
      args.pending = true;
      break;

    case '%':
      if (std::optional<int> done = do_escape(*this, at))
        return *done;
      break;

    default: {
      // The ordinary characters that follow go in with this one.
      const char *run = at.p - 1;
      while (!special_chars(*at.p))
        at.p++;
      args.text.append(run, static_cast<std::size_t>(at.p - run));
      args.pending = true;
      break;
    }
    }
  }
}

int spec_interpreter::expand_spec(const char *spec, const char *star_text) {
  clear_argument_state(*this);
  args.suffix_substitute = nullptr;
  int value = do_spec_1(spec, false, star_text);
  finish_pending_arg(*this);
  return value;
}

int spec_interpreter::run_spec(const char *spec) {
  int value = expand_spec(spec, nullptr);
  if (value != 0)
    return value;
  if (is_last_arg_pipe(*this)) {
    args.buffer.pop_back();
    sync_origins();
  }
  return execute_buffer(*this);
}
