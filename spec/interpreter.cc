// do_spec_1 and the escape dispatch: scanning a spec string into
// arguments, executing at newlines, and the meaning of every `%` escape
// that is not a temporary name, a directory walk, a group or a function.
#include <cstring>
#include <string>

#include "diagnostics/diagnostic.h"
#include "driver/compilers.h"
#include "diagnostics/intl.h"
#include "driver/driver-state.h"
#include "driver/switches.h"
#include "options/option-table.h"
#include "process/temp-files.h"
#include "spec/braces.h"
#include "spec/interpreter.h"
#include "spec/multilib.h"
#include "spec/spec-list.h"
#include "support/text.h"

int (*execute_command_hook)();
void (*export_options_hook)();

namespace {

void finish_pending_arg() {
  if (arg_pending)
    finish_arg();
}

void clear_argument_state() {
  arg_buffer.clear();
  response_arg_buffer.clear();
  arg_pending = false;
  clear_arg_flags();
}

// Export the option list and execute the buffer when it holds a command.
int execute_buffer() {
  if (export_options_hook)
    export_options_hook();
  if (arg_buffer.empty() || !execute_command_hook)
    return 0;
  return execute_command_hook();
}

bool is_last_arg_pipe() {
  return !arg_buffer.empty() && std::strcmp(arg_buffer.back(), "|") == 0;
}

// %b and %B: the name of the current input without its suffix, in the
// auxiliary directory unless it names the input's own output.
void append_input_base(bool with_suffix) {
  vrk_assert(input_base != nullptr);
  if (!arg_is_output && aux_dir_length && aux_dir)
    arg_text.append(aux_dir, static_cast<std::size_t>(aux_dir_length));
  if (output_stem_length && !arg_is_output)
    arg_text.append(output_stem, static_cast<std::size_t>(output_stem_length));
  else
    arg_text.append(input_base, static_cast<std::size_t>(input_stem_length));
  if (compare_debug_mode < 0)
    arg_text.append(".gk");
  if (with_suffix)
    arg_text.append(input_base + input_stem_length,
                    static_cast<std::size_t>(input_base_length - input_stem_length));
  arg_pending = true;
}

// %X, %Y, %Z: every entry of a pass-through list as an argument of its own.
void append_passthrough(const std::vector<const char *> &list) {
  for (const char *entry : list) {
    do_spec_1(entry, true, nullptr);
    do_spec_1(" ", false, nullptr);
  }
}

// %o: every file the inputs give the link.
void push_output_files() {
  if (response_file_seen)
    begin_response_file();
  for (const char *name : output_files)
    if (name)
      push_arg(name, 0, false);
  // An argument pending from before %o is not one of the names: it stays
  // on the command line, as it does without a response file.
  if (response_file_seen)
    write_response_file();
}

bool is_space_or_tab(char c) { return c == ' ' || c == '\t'; }

// %<NAME and %>NAME: remove switches from further consideration.
const char *remove_switches(const char *p, bool keep_for_children) {
  const char *name = p;
  while (*p && !is_space_or_tab(*p))
    p++;
  std::size_t length = static_cast<std::size_t>(p - name);
  if (length == 0)
    return p;
  bool prefix = name[length - 1] == '*';
  if (prefix)
    length--;
  std::uint32_t bits = live_removed | (keep_for_children ? live_keep_for_children : 0u);
  for (int i = 0; i < saved_switch_count; i++) {
    saved_switch &sw = saved_switches[i];
    if (std::strncmp(sw.text, name, length) != 0 || (!prefix && sw.text[length] != '\0'))
      continue;
    sw.liveness |= bits;
    if (sw.recognised)
      sw.claimed = true;
  }
  return p;
}

// %x{OPT}: false when OPT is already a linker option (the caller stops).
bool add_linker_option(const char *&p, const char *spec) {
  if (*p != '{')
    fatal_error(UNKNOWN_LOCATION, "spec %qs has invalid %<%%x%c%>", spec, *p);
  const char *start = ++p;
  while (*p && *p != '}')
    p++;
  if (!*p)
    fatal_error(UNKNOWN_LOCATION, "spec %qs invalid", spec);
  std::string option(start, static_cast<std::size_t>(p - start));
  p++;
  for (const char *known : linker_passthrough)
    if (option == known)
      return false;
  linker_passthrough.push_back(xstrdup(option.c_str()));
  return true;
}

// %. : the suffix that %* groups put on switch arguments.
const char *set_suffix_substitute(const char *p) {
  const char *start = p;
  while (*p && *p != '%' && *p != ' ')
    p++;
  suffix_substitute = concat(".", std::string(start, static_cast<std::size_t>(p - start)).c_str(),
                             nullptr);
  return p;
}

// %e and %n: the text to the end of the line.
std::string rest_of_line(const char *&p) {
  const char *start = p;
  while (*p && *p != '\n')
    p++;
  return std::string(start, static_cast<std::size_t>(p - start));
}

// Every nested interpretation (a named spec, a group body, a spec
// function's arguments and result, a %* text) is one more do_spec_1 on the
// stack.  The built-in specs nest up to 16 levels; a named spec that
// refers to itself, directly or through others, would nest until the
// stack runs out, making temporary names and messages at every level on
// the way.  Past this depth the run ends with a fatal error that names
// the innermost named spec.
constexpr int max_spec_nesting = 200;
int spec_nesting = 0;
const char *innermost_named_spec = nullptr;

class nesting_guard {
public:
  explicit nesting_guard(const char *spec) {
    if (spec_nesting == max_spec_nesting)
      fatal_error(UNKNOWN_LOCATION, "spec %qs nests too deeply",
                  innermost_named_spec ? innermost_named_spec : spec);
    ++spec_nesting;
  }
  ~nesting_guard() { --spec_nesting; }
  nesting_guard(const nesting_guard &) = delete;
  nesting_guard &operator=(const nesting_guard &) = delete;
};

// %(name), %1, %a ...: the current value of the named spec NAME, without
// the caller's %* text.
int do_named_spec(const char *name, const char *value) {
  struct restore {
    const char *outer = innermost_named_spec;
    ~restore() { innermost_named_spec = outer; }
  } restore_outer;
  innermost_named_spec = name;
  return do_spec_1(value ? value : "", false, nullptr);
}

} // namespace

int do_spec_1(const char *spec, bool literal, const char *star_text) {
  if (literal) {
    arg_text.append(spec);
    arg_pending = true;
    if (spec_function_depth > 0)
      finish_arg();
    return 0;
  }

  nesting_guard nesting(spec);
  const char *p = spec;
  int value;
  for (;;) {
    char c = *p++;
    switch (c) {
    case '\0':
      // Nested texts end their own argument while function arguments are
      // collected, so that each becomes an argument of its own.
      if (spec_function_depth > 0 && arg_pending)
        finish_arg();
      return 0;

    case '\n':
      finish_pending_arg();
      clear_arg_flags();
      if (is_last_arg_pipe()) {
        if (global_options.x_use_pipes)
          break;  // the next command joins the same pipeline
        arg_buffer.pop_back();
      }
      value = execute_buffer();
      if (value != 0)
        return value;
      clear_argument_state();
      break;

    case ' ':
    case '\t':
      finish_pending_arg();
      clear_arg_flags();
      break;

    case '\\':
      if (*p) {
        arg_text.append_char(*p++);
        arg_pending = true;
      }
      break;

    case '|':
      finish_pending_arg();
      arg_text.append_char('|');
      arg_pending = true;
      break;

    case '%': {
      char e = *p++;
      switch (e) {
      case '\0':
        fatal_error(UNKNOWN_LOCATION, "spec %qs invalid", spec);

      case '%':
        arg_text.append_char('%');
        break;

      case '"':
        finish_pending_arg();
        arg_pending = true;
        finish_arg();
        break;

      case 'b':
      case 'B':
        append_input_base(e == 'B');
        break;

      case 'd':
        arg_delete_mode = 2;
        break;
      case 'w':
        arg_is_output = true;
        break;
      case 's':
        arg_is_library = true;
        break;
      case 'T':
        arg_is_linker_script = true;
        break;

      case 'g':
      case 'u':
      case 'U':
      case 'j':
      case 'm':
      case '|':
        p = do_temp_name_escape(e, p, spec);
        break;

      case 'i':
        if (input_name)
          arg_text.append(input_name);
        arg_pending = true;
        break;

      case 'o':
        push_output_files();
        break;

      case 'O':
        arg_text.append(".o");
        arg_pending = true;
        break;

      case 'V':
        if (input_number >= 0 && static_cast<std::size_t>(input_number) < output_files.size())
          output_files[input_number] = nullptr;
        break;

      case 'I':
        do_header_options();
        break;
      case 'D':
        do_library_dir_options();
        break;

      case 'R':
        if (sysroot_dir) {
          arg_text.append(sysroot_dir);
          if (sysroot_suffix)
            arg_text.append(sysroot_suffix);
        }
        break;

      case 'M':
        arg_text.append(run_paths.multilib.os_dir ? run_paths.multilib.os_dir : ".");
        break;

      case 'X':
        append_passthrough(linker_passthrough);
        break;
      case 'Y':
        append_passthrough(assembler_passthrough);
        break;
      case 'Z':
        append_passthrough(preprocessor_passthrough);
        break;

      case 'x':
        if (!add_linker_option(p, spec))
          return 0;
        break;

      case '1':
      case '2':
      case 'a':
      case 'A':
      case 'C':
      case 'E':
      case 'G':
      case 'L':
      case 'l':
      case 'S': {
        const char *named;
        const char *name;
        switch (e) {
        case '1': named = kfront_spec; name = "kfront"; break;
        case '2': named = kfrontxx_spec; name = "kfrontxx"; break;
        case 'a': named = asm_spec; name = "asm"; break;
        case 'A': named = asm_final_spec; name = "asm_final"; break;
        case 'C':
          named = current_compiler && current_compiler->preprocessor_spec
                      ? current_compiler->preprocessor_spec
                      : cpp_spec;
          name = "cpp";
          break;
        case 'E': named = endfile_spec; name = "endfile"; break;
        case 'G': named = libvrk_spec; name = "libvrk"; break;
        case 'L': named = lib_spec; name = "lib"; break;
        case 'l': named = link_spec; name = "link"; break;
        default: named = startfile_spec; name = "startfile"; break;
        }
        value = do_named_spec(name, named);
        if (value != 0)
          return value;
        break;
      }

      case '(': {
        const char *name = p;
        while (*p && *p != ')')
          p++;
        if (!*p)
          return 0;
        named_spec *sl = lookup_spec(name, static_cast<int>(p - name));
        p++;
        if (sl) {
          value = do_named_spec(sl->name, *sl->value_slot);
          if (value != 0)
            return value;
        }
        break;
      }

      case '.':
        p = set_suffix_substitute(p);
        break;

      case '*':
        if (!star_text) {
          error_noloc("spec failure: %<%%*%> has not been initialized by pattern match");
          break;
        }
        if (*star_text)
          do_spec_1(star_text, true, nullptr);
        if (*p == '\0' || *p == '}')
          do_spec_1(" ", false, nullptr);
        break;

      case '{':
        p = process_braces(p);
        if (!p)
          return -1;
        break;

      case 'W': {
        if (*p != '{')
          fatal_error(UNKNOWN_LOCATION, "spec %qs has invalid %<%%W%c%>", spec, *p);
        std::size_t before = arg_buffer.size();
        p = process_braces(p + 1);
        if (!p)
          return -1;
        finish_pending_arg();
        // The group named an output file: remove it if the command fails.
        if (arg_buffer.size() > before)
          register_temp_file(arg_buffer.back(), false, true);
        break;
      }

      case '@':
        if (*p != '{')
          fatal_error(UNKNOWN_LOCATION, "spec %qs has invalid %<%%@%c%>", spec, *p);
        if (response_file_seen)
          begin_response_file();
        p = process_braces(p + 1);
        if (!p)
          return -1;
        if (response_file_seen) {
          // The group's last argument is one of those it produces: it goes
          // into the file with the others.
          finish_pending_arg();
          write_response_file();
        }
        break;

      case '<':
      case '>':
        p = remove_switches(p, e == '>');
        break;

      case ':':
        p = call_spec_function(p, nullptr, star_text);
        if (!p)
          return -1;
        break;

      case 'e': {
        std::string text = rest_of_line(p);
        error_noloc("%s", translate(text.c_str()));
        return -1;
      }

      case 'n': {
        std::string text = rest_of_line(p);
        inform(UNKNOWN_LOCATION, "%s", translate(text.c_str()));
        if (*p == '\n')
          p++;
        break;
      }

      default:
        error_noloc("spec failure: unrecognized spec option %qc", e);
        break;
      }
      break;
    }

    default:
      arg_text.append_char(c);
      arg_pending = true;
      break;
    }
  }
}

int expand_spec(const char *spec, const char *star_text) {
  clear_argument_state();
  suffix_substitute = nullptr;
  int value = do_spec_1(spec, false, star_text);
  finish_pending_arg();
  return value;
}

int run_spec(const char *spec) {
  int value = expand_spec(spec, nullptr);
  if (value != 0)
    return value;
  if (is_last_arg_pipe())
    arg_buffer.pop_back();
  return execute_buffer();
}
