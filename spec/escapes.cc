// The meaning of every `%` escape, by family: argument marks, names of the
// current input, temporary names, inserted specs, directories, pass-through
// lists, groups and switches, messages.
#include "spec/escapes.h"

#include <cstring>
#include <string>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "diagnostics/intl.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"
#include "spec/spec-list.h"
#include "support/text.h"

namespace {

using escape_result = std::optional<int>;
constexpr escape_result go_on = std::nullopt;

void finish_pending_arg(spec_interpreter &in) {
  if (in.args.pending)
    in.finish_arg();
}

// %b and %B: the name of the current input without its suffix, in the
// auxiliary directory unless it names the input's own output.
void append_input_base(spec_interpreter &in, bool with_suffix) {
  const compilation &comp = in.comp;
  const input_state &input = in.input;
  vrk_assert(input.base != nullptr);
  arg_state &args = in.args;
  if (!args.is_output && comp.aux_dir_length && comp.aux_dir)
    args.text.append(comp.aux_dir, static_cast<std::size_t>(comp.aux_dir_length));
  if (comp.output_stem_length && !args.is_output)
    args.text.append(comp.output_stem, static_cast<std::size_t>(comp.output_stem_length));
  else
    args.text.append(input.base, static_cast<std::size_t>(input.stem_length));
  if (comp.compare_debug.mode < 0)
    args.text.append(".gk");
  if (with_suffix)
    args.text.append(input.base + input.stem_length,
                     static_cast<std::size_t>(input.base_length - input.stem_length));
  args.pending = true;
}

// %o: every file the inputs give the link.
void push_output_files(spec_interpreter &in) {
  bool response_file = in.comp.response_file_seen;
  if (response_file)
    in.begin_response_file();
  const std::vector<const char *> &names = in.comp.output_files;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!names[i])
      continue;
    if (in.trace && static_cast<int>(i) < in.comp.inputs.count())
      in.trace->note_argument(in.comp.inputs[static_cast<int>(i)].argv_index);
    in.push_arg(names[i], 0, false);
  }
  // An argument pending from before %o is not one of the names: it stays
  // on the command line, as it does without a response file.
  if (response_file)
    in.write_response_file();
}

// %% %" %d %w %s %T %O: literal text and marks on the argument.
escape_result argument_escape(spec_interpreter &in, char escape) {
  arg_state &args = in.args;
  switch (escape) {
  case '%':
    args.text.append_char('%');
    break;
  case '"':
    finish_pending_arg(in);
    args.pending = true;
    in.finish_arg();
    break;
  case 'd':
    args.delete_mode = 2;
    break;
  case 'w':
    args.is_output = true;
    break;
  case 's':
    args.is_library = true;
    break;
  case 'T':
    args.is_linker_script = true;
    break;
  default:  // 'O'
    args.text.append(".o");
    args.pending = true;
    break;
  }
  return go_on;
}

// %b %B %i %o %V: the current input and the files the inputs give.
escape_result input_escape(spec_interpreter &in, char escape) {
  switch (escape) {
  case 'b':
  case 'B':
    append_input_base(in, escape == 'B');
    break;
  case 'i':
    if (in.trace && in.input.number >= 0 && in.input.number < in.comp.inputs.count())
      in.trace->note_argument(in.comp.inputs[in.input.number].argv_index);
    if (in.input.name)
      in.args.text.append(in.input.name);
    in.args.pending = true;
    break;
  case 'o':
    push_output_files(in);
    break;
  default: {  // 'V'
    std::vector<const char *> &slots = in.comp.output_files;
    int number = in.input.number;
    if (number >= 0 && static_cast<std::size_t>(number) < slots.size())
      slots[static_cast<std::size_t>(number)] = nullptr;
    break;
  }
  }
  return go_on;
}

// %(name), %1, %a ...: the current value of the named spec NAME, without
// the caller's %* text.
escape_result insert_named_spec(spec_interpreter &in, const char *name, const char *value) {
  struct restore {
    spec_interpreter &in;
    const char *outer = in.innermost_named_spec;
    ~restore() { in.innermost_named_spec = outer; }
  } restore_outer{in};
  in.innermost_named_spec = name;
  const char *text = value ? value : "";
  const named_spec *sl = in.trace && name ? lookup_spec(name) : nullptr;
  provenance_scope scope(in.trace, spec_origin::named, name, text,
                         sl ? sl->origin_file : nullptr, sl ? sl->origin_line : 0);
  if (int result = in.do_spec_1(text, false, nullptr))
    return result;
  return go_on;
}

// %1 %2 %a %A %C %E %G %L %l %S: fixed shorthands for named specs.
escape_result shorthand_escape(spec_interpreter &in, char escape) {
  const char *named;
  const char *name;
  switch (escape) {
  case '1': named = named_specs.kfront_spec; name = "kfront"; break;
  case '2': named = named_specs.kfrontxx_spec; name = "kfrontxx"; break;
  case 'a': named = named_specs.asm_spec; name = "asm"; break;
  case 'A': named = named_specs.asm_final_spec; name = "asm_final"; break;
  case 'C': {
    const compiler_entry *row = in.input.compiler;
    bool own = row && row->preprocessor_spec;
    named = own ? row->preprocessor_spec : named_specs.cpp_spec;
    name = own ? row->key : "cpp";
    break;
  }
  case 'E': named = named_specs.endfile_spec; name = "endfile"; break;
  case 'G': named = named_specs.libvrk_spec; name = "libvrk"; break;
  case 'L': named = named_specs.lib_spec; name = "lib"; break;
  case 'l': named = named_specs.link_spec; name = "link"; break;
  default: named = named_specs.startfile_spec; name = "startfile"; break;  // 'S'
  }
  return insert_named_spec(in, name, named);
}

// %(name): an unknown name inserts nothing; without ")" the spec ends.
escape_result named_spec_escape(spec_interpreter &in, spec_cursor &at) {
  const char *name = at.p;
  while (*at.p && *at.p != ')')
    at.p++;
  if (!*at.p)
    return 0;
  named_spec *sl = lookup_spec(name, static_cast<int>(at.p - name));
  at.p++;
  return sl ? insert_named_spec(in, sl->name, *sl->value_slot) : go_on;
}

// %I %D %R %M: directories of the run.
escape_result directory_escape(spec_interpreter &in, char escape) {
  const compilation &comp = in.comp;
  switch (escape) {
  case 'I':
    in.do_header_options();
    break;
  case 'D':
    in.do_library_dir_options();
    break;
  case 'R':
    if (comp.sysroot_dir) {
      in.args.text.append(comp.sysroot_dir);
      if (comp.sysroot_suffix)
        in.args.text.append(comp.sysroot_suffix);
    }
    break;
  default: {  // 'M'
    const char *os_dir = comp.search.multilib.os_dir;
    in.args.text.append(os_dir ? os_dir : ".");
    break;
  }
  }
  return go_on;
}

// %X, %Y, %Z: every entry of a pass-through list as an argument of its own.
void append_passthrough(spec_interpreter &in, const std::vector<const char *> &list) {
  for (const char *entry : list) {
    in.do_spec_1(entry, true, nullptr);
    in.do_spec_1(" ", false, nullptr);
  }
}

// %x{OPT}: false when OPT is already a linker option (the caller stops).
bool add_linker_option(spec_interpreter &in, spec_cursor &at) {
  if (*at.p != '{')
    fatal_error(UNKNOWN_LOCATION, "spec %qs has invalid %<%%x%c%>", at.spec, *at.p);
  const char *start = ++at.p;
  while (*at.p && *at.p != '}')
    at.p++;
  if (!*at.p)
    fatal_error(UNKNOWN_LOCATION, "spec %qs invalid", at.spec);
  std::string option(start, static_cast<std::size_t>(at.p - start));
  at.p++;
  std::vector<const char *> &linker = in.comp.linker_passthrough;
  for (const char *known : linker)
    if (option == known)
      return false;
  linker.push_back(xstrdup(option.c_str()));
  return true;
}

// %X %Y %Z %x: the options passed through to one kind of child.
escape_result passthrough_escape(spec_interpreter &in, char escape, spec_cursor &at) {
  compilation &comp = in.comp;
  switch (escape) {
  case 'X':
    append_passthrough(in, comp.linker_passthrough);
    break;
  case 'Y':
    append_passthrough(in, comp.assembler_passthrough);
    break;
  case 'Z':
    append_passthrough(in, comp.preprocessor_passthrough);
    break;
  default:  // 'x'
    if (!add_linker_option(in, at))
      return 0;
    break;
  }
  return go_on;
}

bool is_space_or_tab(char c) { return c == ' ' || c == '\t'; }

// %<NAME and %>NAME: remove switches from further consideration.
void remove_switches(spec_interpreter &in, spec_cursor &at, bool keep_for_children) {
  const char *name = at.p;
  while (*at.p && !is_space_or_tab(*at.p))
    at.p++;
  std::size_t length = static_cast<std::size_t>(at.p - name);
  if (length == 0)
    return;
  bool prefix = name[length - 1] == '*';
  if (prefix)
    length--;
  std::uint32_t bits = live_removed | (keep_for_children ? live_keep_for_children : 0u);
  bool changed = false;
  in.comp.switches.for_each_named(name, length, !prefix, [bits, &changed](saved_switch &sw) {
    changed = changed || (sw.liveness | bits) != sw.liveness;
    sw.liveness |= bits;
    if (sw.recognised)
      sw.claimed = true;
  });
  if (changed)
    in.comp.switches.note_change();
}

// %. : the suffix that %* groups put on switch arguments.
void set_suffix_substitute(spec_interpreter &in, spec_cursor &at) {
  const char *start = at.p;
  while (*at.p && *at.p != '%' && *at.p != ' ')
    at.p++;
  std::string suffix(start, static_cast<std::size_t>(at.p - start));
  in.args.suffix_substitute = concat(".", suffix.c_str(), nullptr);
}

// %*: the text of the switch that the enclosing group matched.
void insert_star_text(spec_interpreter &in, const spec_cursor &at) {
  if (!at.star_text) {
    error_noloc("spec failure: %<%%*%> has not been initialized by pattern match");
    return;
  }
  if (*at.star_text)
    in.do_spec_1(at.star_text, true, nullptr);
  if (*at.p == '\0' || *at.p == '}')
    in.do_spec_1(" ", false, nullptr);
}

// %W{...}: the group names an output file, removed if the command fails.
escape_result output_group(spec_interpreter &in, spec_cursor &at) {
  if (*at.p != '{')
    fatal_error(UNKNOWN_LOCATION, "spec %qs has invalid %<%%W%c%>", at.spec, *at.p);
  std::size_t before = in.args.buffer.size();
  at.p = in.process_braces(at.p + 1);
  if (!at.p)
    return -1;
  finish_pending_arg(in);
  if (in.args.buffer.size() > before)
    register_temp_file(in.args.buffer.back(), false, true);
  return go_on;
}

// %@{...}: the group's arguments go into a response file when the driver
// was given one itself.
escape_result response_file_group(spec_interpreter &in, spec_cursor &at) {
  if (*at.p != '{')
    fatal_error(UNKNOWN_LOCATION, "spec %qs has invalid %<%%@%c%>", at.spec, *at.p);
  bool response_file = in.comp.response_file_seen;
  if (response_file)
    in.begin_response_file();
  at.p = in.process_braces(at.p + 1);
  if (!at.p)
    return -1;
  if (response_file) {
    // The group's last argument is one of those it produces: it goes
    // into the file with the others.
    finish_pending_arg(in);
    in.write_response_file();
  }
  return go_on;
}

// %{ %W{ %@{ %< %> %: %* %.: groups, switches and spec functions.
escape_result group_escape(spec_interpreter &in, char escape, spec_cursor &at) {
  switch (escape) {
  case '{':
    at.p = in.process_braces(at.p);
    return at.p ? go_on : escape_result(-1);
  case 'W':
    return output_group(in, at);
  case '@':
    return response_file_group(in, at);
  case '<':
  case '>':
    remove_switches(in, at, escape == '>');
    return go_on;
  case ':':
    at.p = in.call_spec_function(at.p, nullptr, at.star_text);
    return at.p ? go_on : escape_result(-1);
  case '*':
    insert_star_text(in, at);
    return go_on;
  default:  // '.'
    set_suffix_substitute(in, at);
    return go_on;
  }
}

// %e and %n: the text to the end of the line, as an error (the spec
// fails) or as a note.
escape_result message_escape(char escape, spec_cursor &at) {
  const char *start = at.p;
  while (*at.p && *at.p != '\n')
    at.p++;
  std::string text(start, static_cast<std::size_t>(at.p - start));
  if (escape == 'e') {
    error_noloc("%s", translate(text.c_str()));
    return -1;
  }
  inform(UNKNOWN_LOCATION, "%s", translate(text.c_str()));
  if (*at.p == '\n')
    at.p++;
  return go_on;
}

} // namespace

std::optional<int> do_escape(spec_interpreter &in, spec_cursor &at) {
  char escape = *at.p++;
  switch (escape) {
  case '\0':
    fatal_error(UNKNOWN_LOCATION, "spec %qs invalid", at.spec);
  case '%': case '"': case 'd': case 'w': case 's': case 'T': case 'O':
    return argument_escape(in, escape);
  case 'b': case 'B': case 'i': case 'o': case 'V':
    return input_escape(in, escape);
  case 'g': case 'u': case 'U': case 'j': case 'm': case '|':
    at.p = in.do_temp_name_escape(escape, at.p, at.spec);
    return go_on;
  case '1': case '2': case 'a': case 'A': case 'C': case 'E': case 'G': case 'L': case 'l':
  case 'S':
    return shorthand_escape(in, escape);
  case '(':
    return named_spec_escape(in, at);
  case 'I': case 'D': case 'R': case 'M':
    return directory_escape(in, escape);
  case 'X': case 'Y': case 'Z': case 'x':
    return passthrough_escape(in, escape, at);
  case '{': case 'W': case '@': case '<': case '>': case ':': case '*': case '.':
    return group_escape(in, escape, at);
  case 'e': case 'n':
    return message_escape(escape, at);
  default:
    error_noloc("spec failure: unrecognized spec option %qc", escape);
    return go_on;
  }
}
