// optgen: builds the option table from the option description sources.
//
//   optgen OUTPUT-DIR SOURCE.opt...
//
// writes OUTPUT-DIR/option-index.inc, option-values.inc and option-data.cc
// and exits with status 1 (writing nothing) when a source is malformed.
//
// Source format
// -------------
// A source is a text file read line by line.  A line whose first non-blank
// character is '#' is a comment; blank lines are ignored.
//
// An option record starts on a line beginning with '-':
//
//   -TEXT  Property Property(argument) ...  | help text
//
// TEXT is the option exactly as typed (with its leading '-'; a joined option
// ends where its argument begins).  The properties follow, separated by
// blanks; an argument is everything up to the matching ')' and may contain
// blanks and balanced parentheses.  The help text starts after the first '|'
// that is not inside an argument; lines that follow and begin with a blank
// continue it (joined with one blank).  "\t" in a help text stands for a tab:
// the part before it is the argument synopsis ("-o <file>\tPlace ...").
//
//   @defaults Property ...   properties added to every following record of
//                            the file (a bare "@defaults" clears them)
//
// An enumerated-argument table:
//
//   @enum NAME [Unknown(format)] [| heading]
//     word value [Group(n)] [Canonical] [DriverOnly]
//     ...
//   @end
//
// Values are sorted by word in the generated table.
//
//   @var NAME TYPE [Init(value)]
//
// declares a field of option_values that option handlers maintain without
// a record of their own; TYPE is int, int64, string or pointer.
//
// Record properties:
//   Languages    Ada AdaSCIL AdaWhy C C++ D Fortran Go LTO LTODump Modula-2
//                ObjC ObjC++ Rust
//   Classes      Common Driver Target Warning Optimization Params
//   Shape        Joined, Separate, JoinedOrMissing (joined, may be empty),
//                Args(n) (a separate option takes n words, 1 to 4),
//                Undocumented, CppEquals (flag bit 25)
//   Aliases      Alias(-target) AliasArg(arg) NegAliasArg(arg)
//                AliasIfSeparate AliasNegates; Ignore, Removed (accepted and
//                ignored / no longer supported)
//   Negation     RejectNegative (no "no-" form); Negative(-next) makes the
//                record a member of a ring of mutually cancelling options
//                (every member names the next; the ring must close)
//   Variable     Var(name) stores the value into option_values::x_name;
//                Var(name, value) stores value (VAR_EQUAL); BitSet(mask) and
//                BitClear(mask) set/clear bits; Defer appends to the shared
//                deferred list; Init(value) is the initial value (an integer
//                or a "quoted text")
//   Arguments    UInteger, Host_Wide_Int (64-bit), ByteSize (64-bit size with
//                a unit suffix), IntegerRange(min, max), ToLower,
//                Enum(table), EnumSet (words of disjoint groups),
//                EnumBitSet (bit values)
//   Driver       RejectDriver, DriverNoArg, Unavailable
//   Messages     MissingArgError(format), Warn(format)
//
// A joined or separate option with a variable and neither an integer nor
// an enumerated argument stores its argument text (VAR_STRING).
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "options/optgen/optgen.h"

namespace optgen {

static int errors;

void error_at(const source_pos &pos, const char *fmt, ...) {
  std::fprintf(stderr, "%s:%d: error: ", pos.file.c_str(), pos.line);
  va_list ap;
  va_start(ap, fmt);
  std::vfprintf(stderr, fmt, ap);
  va_end(ap);
  std::fputc('\n', stderr);
  ++errors;
}

int error_count() { return errors; }

static bool is_blank(char c) { return c == ' ' || c == '\t'; }

static std::string trim(const std::string &s) {
  size_t b = 0, e = s.size();
  while (b < e && is_blank(s[b])) ++b;
  while (e > b && (is_blank(s[e - 1]) || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

// Turns the two-character escape \t into a tab.
static std::string unescape_help(const std::string &s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 't') {
      out += '\t';
      ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

// Splits "Prop Prop(arg) ... | help" into properties and help.  Returns
// false (after reporting) on an unbalanced argument.
static bool split_properties(const std::string &s, const source_pos &pos,
                             std::vector<property> &props, std::string *help,
                             bool *has_help) {
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && is_blank(s[i])) ++i;
    if (i >= s.size()) break;
    if (s[i] == '|') {
      if (!help) {
        error_at(pos, "unexpected '|'");
        return false;
      }
      *help = unescape_help(trim(s.substr(i + 1)));
      *has_help = true;
      return true;
    }
    property p;
    while (i < s.size() && !is_blank(s[i]) && s[i] != '(' && s[i] != '|')
      p.name += s[i++];
    if (i < s.size() && s[i] == '(') {
      int depth = 1;
      size_t start = ++i;
      while (i < s.size() && depth > 0) {
        if (s[i] == '(') ++depth;
        else if (s[i] == ')') --depth;
        ++i;
      }
      if (depth != 0) {
        error_at(pos, "unclosed argument of property '%s'", p.name.c_str());
        return false;
      }
      p.arg = s.substr(start, i - 1 - start);
      p.has_arg = true;
    }
    if (p.name.empty()) {
      error_at(pos, "property without a name");
      return false;
    }
    props.push_back(p);
  }
  return true;
}

static bool parse_enum_value(const std::string &line, const source_pos &pos,
                             enum_src &e) {
  enum_value_src v;
  v.pos = pos;
  std::vector<property> props;
  if (!split_properties(line, pos, props, nullptr, nullptr)) return false;
  if (props.size() < 2 || props[0].has_arg || props[1].has_arg) {
    error_at(pos, "enumerated value of '%s' needs a word and a value",
             e.name.c_str());
    return false;
  }
  v.text = props[0].name;
  char *end;
  v.value = std::strtoll(props[1].name.c_str(), &end, 0);
  if (*end || v.value < INT32_MIN || v.value > INT32_MAX) {
    error_at(pos, "bad value '%s' for word '%s' of '%s'",
             props[1].name.c_str(), v.text.c_str(), e.name.c_str());
    return false;
  }
  for (size_t k = 2; k < props.size(); ++k) {
    const property &p = props[k];
    if (p.name == "Canonical" && !p.has_arg) {
      v.flags |= 1;
    } else if (p.name == "DriverOnly" && !p.has_arg) {
      v.flags |= 2;
    } else if (p.name == "Group" && p.has_arg) {
      long g = std::strtol(p.arg.c_str(), &end, 0);
      if (*end || g < 0 || g > 1000) {
        error_at(pos, "bad group '%s'", p.arg.c_str());
        return false;
      }
      v.flags |= unsigned(g) << 2;
    } else {
      error_at(pos, "unknown property '%s' of an enumerated value",
               p.name.c_str());
      return false;
    }
  }
  e.values.push_back(v);
  return true;
}

bool read_source(const std::string &file, table &t) {
  std::ifstream in(file);
  if (!in) {
    std::fprintf(stderr, "optgen: cannot open %s\n", file.c_str());
    ++errors;
    return false;
  }
  t.inputs.push_back(file);
  std::vector<property> defaults;
  enum { none, in_option, in_enum } state = none;
  std::string raw;
  source_pos pos{file, 0};
  int start_errors = errors;
  while (std::getline(in, raw)) {
    ++pos.line;
    std::string line = trim(raw);
    if (line.empty() || line[0] == '#') continue;
    bool continuation = is_blank(raw[0]);
    if (state == in_enum) {
      if (line == "@end") {
        state = none;
      } else if (!continuation) {
        error_at(pos, "enumerated table '%s' is not closed by @end",
                 t.enums.back().name.c_str());
        state = none;
      } else {
        parse_enum_value(line, pos, t.enums.back());
      }
      if (state == in_enum || line == "@end") continue;
    }
    if (continuation) {
      if (state != in_option) {
        error_at(pos, "indented line outside a record");
        continue;
      }
      option_src &o = t.options.back();
      std::string more = unescape_help(line);
      if (o.has_help && !o.help.empty()) o.help += ' ';
      o.help += more;
      o.has_help = true;
      continue;
    }
    state = none;
    if (line[0] == '-') {
      option_src o;
      o.pos = pos;
      size_t sp = 0;
      while (sp < line.size() && !is_blank(line[sp])) ++sp;
      o.text = line.substr(0, sp);
      o.props = defaults;
      if (split_properties(line.substr(sp), pos, o.props, &o.help,
                           &o.has_help)) {
        t.options.push_back(o);
        state = in_option;
      }
    } else if (line.rfind("@defaults", 0) == 0 &&
               (line.size() == 9 || is_blank(line[9]))) {
      defaults.clear();
      split_properties(line.substr(9), pos, defaults, nullptr, nullptr);
    } else if (line.rfind("@var", 0) == 0 && line.size() > 4 &&
               is_blank(line[4])) {
      std::vector<property> props;
      if (!split_properties(line.substr(5), pos, props, nullptr, nullptr))
        continue;
      var_decl d;
      d.pos = pos;
      if (props.size() < 2 || props[0].has_arg || props[1].has_arg) {
        error_at(pos, "@var needs a name and a type");
        continue;
      }
      d.name = props[0].name;
      d.type = props[1].name;
      for (size_t k = 2; k < props.size(); ++k) {
        if (props[k].name == "Init" && props[k].has_arg)
          d.init = props[k].arg;
        else
          error_at(pos, "unknown property '%s' of @var",
                   props[k].name.c_str());
      }
      t.var_decls.push_back(d);
    } else if (line.rfind("@enum", 0) == 0 && line.size() > 5 &&
               is_blank(line[5])) {
      enum_src e;
      e.pos = pos;
      std::vector<property> props;
      if (!split_properties(line.substr(6), pos, props, &e.help, &e.has_help))
        continue;
      if (props.empty() || props[0].has_arg) {
        error_at(pos, "@enum needs a table name");
        continue;
      }
      e.name = props[0].name;
      for (size_t k = 1; k < props.size(); ++k) {
        if (props[k].name == "Unknown" && props[k].has_arg) {
          e.unknown_message = props[k].arg;
          e.has_unknown = true;
        } else {
          error_at(pos, "unknown property '%s' of enumerated table '%s'",
                   props[k].name.c_str(), e.name.c_str());
        }
      }
      t.enums.push_back(e);
      state = in_enum;
    } else {
      error_at(pos, "line is neither a record, a directive nor a comment");
    }
  }
  if (state == in_enum)
    error_at(pos, "enumerated table '%s' is not closed by @end",
             t.enums.back().name.c_str());
  return errors == start_errors;
}

}  // namespace optgen

int main(int argc, char **argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: optgen OUTPUT-DIR SOURCE.opt...\n");
    return 2;
  }
  optgen::table t;
  for (int i = 2; i < argc; ++i) optgen::read_source(argv[i], t);
  if (optgen::error_count() == 0) optgen::build_records(t);
  if (optgen::error_count() == 0 && !optgen::write_outputs(t, argv[1]))
    return 1;
  if (optgen::error_count() != 0) {
    std::fprintf(stderr, "optgen: %d error%s; option table not written\n",
                 optgen::error_count(), optgen::error_count() == 1 ? "" : "s");
    return 1;
  }
  return 0;
}
