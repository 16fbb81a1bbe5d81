// Turns parsed option sources into table records: interprets properties,
// sorts byte-wise, and computes and checks what the table must never get
// wrong (unique texts and names, alias targets, rings, enumerated tables,
// variable types), so that a bad source fails the build.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "options/optgen/optgen.h"

namespace optgen {

// Must match the OPTL_ / OPTF_ / attr_ constants of options/option-table.h.
static const char *const languages[] = {
    "Ada", "AdaSCIL", "AdaWhy", "C", "C++", "D", "Fortran",
    "Go", "LTO", "LTODump", "Modula-2", "ObjC", "ObjC++", "Rust"};
const unsigned OPTF_PARAMS = 1u << 16, OPTF_WARNING = 1u << 17,
               OPTF_OPTIMIZATION = 1u << 18, OPTF_DRIVER = 1u << 19,
               OPTF_TARGET = 1u << 20, OPTF_COMMON = 1u << 21,
               OPTF_JOINED = 1u << 22, OPTF_SEPARATE = 1u << 23,
               OPTF_UNDOCUMENTED = 1u << 24, OPTF_CPP_EQUALS = 1u << 25;
const unsigned attr_unavailable = 1, attr_alias_if_separate = 1u << 3,
               attr_alias_negates = 1u << 4, attr_driver_no_arg = 1u << 5,
               attr_driver_rejects = 1u << 6, attr_no_negative = 1u << 7,
               attr_empty_arg_ok = 1u << 8, attr_unsigned_arg = 1u << 9,
               attr_wide_value = 1u << 10, attr_lowercase_arg = 1u << 11,
               attr_size_suffix = 1u << 12;
enum { VAR_INTEGER, VAR_EQUAL, VAR_BIT_CLEAR, VAR_BIT_SET, VAR_SIZE,
       VAR_STRING, VAR_ENUM, VAR_DEFERRED };

static bool parse_int(const std::string &s, std::int64_t *v) {
  if (s.empty()) return false;
  char *end;
  errno = 0;
  *v = std::strtoll(s.c_str(), &end, 0);
  if (errno == ERANGE && s.find_first_not_of("0123456789xXabcdefABCDEF") ==
                             std::string::npos) {
    // Full-width unsigned masks such as 0xFFFFFFFFFFFFFFFF.
    errno = 0;
    *v = std::int64_t(std::strtoull(s.c_str(), &end, 0));
  }
  return *end == 0 && errno == 0;
}

static std::string mangle(const std::string &text) {
  std::string code = "OPT_";
  for (size_t i = 1; i < text.size(); ++i) {
    unsigned char c = text[i];
    code += (std::isalnum(c) && c < 0x80) ? char(c) : '_';
  }
  return code;
}

static bool byte_less(const record &a, const record &b) {
  return std::strcmp(a.text.c_str(), b.text.c_str()) < 0;  // unsigned bytes
}

namespace {

// The properties of one source record, read one at a time into the record
// and the facts that decide its variable kind at the end.
struct property_reader {
  const option_src &o;
  record &r;
  std::string &init;
  bool &has_init;
  bool ok = true, has_var_value = false, has_defer = false;
  bool uinteger = false, wide = false, bytesize = false;
  bool enum_set = false, enum_bitset = false, bitset = false, bitclear = false;
  std::int64_t var_value = 0;

  void bad(const char *what, const property &p) {
    error_at(o.pos, "record '%s': %s '%s'", o.text.c_str(), what, p.name.c_str());
    ok = false;
  }

  // A language name; false when N is none.
  bool language(const property &p) {
    bool lang = false;
    for (unsigned i = 0; i < sizeof languages / sizeof *languages; ++i)
      if (p.name == languages[i]) {
        r.flags |= 1u << i;
        lang = true;
      }
    if (lang && p.has_arg)
      bad("language takes no argument:", p);
    return lang;
  }

  // A property that sets a flag or attribute bit; false when P is none.
  bool bit(const property &p) {
    static const std::map<std::string, unsigned> flag_props = {
        {"Params", OPTF_PARAMS},       {"Warning", OPTF_WARNING},
        {"Optimization", OPTF_OPTIMIZATION}, {"Driver", OPTF_DRIVER},
        {"Target", OPTF_TARGET},       {"Common", OPTF_COMMON},
        {"Joined", OPTF_JOINED},       {"Separate", OPTF_SEPARATE},
        {"Undocumented", OPTF_UNDOCUMENTED}, {"CppEquals", OPTF_CPP_EQUALS}};
    static const std::map<std::string, unsigned> attr_props = {
        {"Unavailable", attr_unavailable},
        {"AliasIfSeparate", attr_alias_if_separate},
        {"AliasNegates", attr_alias_negates},
        {"DriverNoArg", attr_driver_no_arg},
        {"RejectDriver", attr_driver_rejects},
        {"RejectNegative", attr_no_negative},
        {"ToLower", attr_lowercase_arg}};
    if (auto f = flag_props.find(p.name); f != flag_props.end()) {
      r.flags |= f->second;
    } else if (auto a = attr_props.find(p.name); a != attr_props.end()) {
      r.attrs |= a->second;
    } else if (p.name == "JoinedOrMissing") {
      r.flags |= OPTF_JOINED;
      r.attrs |= attr_empty_arg_ok;
    } else {
      return false;
    }
    return true;
  }

  // Arguments, aliases and messages; false when P is none of them.
  bool shape(const property &p) {
    const std::string &n = p.name;
    if (n == "Args") {
      std::int64_t k;
      if (!parse_int(p.arg, &k) || k < 1 || k > 4)
        bad("Args needs 1 to 4:", p);
      else
        r.attrs |= unsigned(k - 1) << 1;
    } else if (n == "Alias") {
      r.alias_text = p.arg;
    } else if (n == "AliasArg") {
      r.alias_arg = p.arg;
      r.has_alias_arg = true;
    } else if (n == "NegAliasArg") {
      r.neg_alias_arg = p.arg;
      r.has_neg_alias_arg = true;
    } else if (n == "Ignore") {
      r.alias_special = 1;
    } else if (n == "Removed") {
      r.alias_special = 2;
    } else if (n == "Negative") {
      r.negative_text = p.arg;
    } else if (n == "MissingArgError") {
      r.missing_arg_message = p.arg;
      r.has_missing = true;
    } else if (n == "Warn") {
      r.warning_message = p.arg;
      r.has_warning = true;
    } else {
      return false;
    }
    return true;
  }

  void var(const property &p) {
    size_t comma = p.arg.find(',');
    r.var = p.arg.substr(0, comma);
    while (!r.var.empty() && r.var.back() == ' ') r.var.pop_back();
    if (comma != std::string::npos) {
      std::string v = p.arg.substr(comma + 1);
      v.erase(0, v.find_first_not_of(' '));
      if (!parse_int(v, &var_value)) bad("bad value in", p);
      has_var_value = true;
    }
    for (char c : r.var)
      if (!std::isalnum((unsigned char)c) && c != '_')
        bad("bad variable name in", p);
  }

  void integer_range(const property &p) {
    std::int64_t lo = 0, hi = 0;
    size_t comma = p.arg.find(',');
    std::string a = p.arg.substr(0, comma), b;
    if (comma != std::string::npos) b = p.arg.substr(comma + 1);
    a.erase(0, a.find_first_not_of(' '));
    b.erase(0, b.find_first_not_of(' '));
    if (!parse_int(a, &lo) || !parse_int(b, &hi) || lo > hi ||
        lo < INT32_MIN || hi > INT32_MAX)
      bad("bad range in", p);
    r.range_min = std::int32_t(lo);
    r.range_max = std::int32_t(hi);
  }

  // The variable and how its value is stored; false when P is none.
  bool variable(const property &p) {
    const std::string &n = p.name;
    if (n == "Var") {
      var(p);
    } else if (n == "Init") {
      init = p.arg;
      has_init = true;
    } else if (n == "BitSet" || n == "BitClear") {
      if (!parse_int(p.arg, &var_value)) bad("bad mask in", p);
      (n == "BitSet" ? bitset : bitclear) = true;
    } else if (n == "Defer") {
      has_defer = true;
    } else if (n == "Enum") {
      r.enum_name = p.arg;
    } else if (n == "EnumSet") {
      enum_set = true;
    } else if (n == "EnumBitSet") {
      enum_bitset = true;
    } else if (n == "UInteger") {
      uinteger = true;
    } else if (n == "Host_Wide_Int") {
      wide = true;
    } else if (n == "ByteSize") {
      bytesize = true;
    } else if (n == "IntegerRange") {
      integer_range(p);
    } else {
      return false;
    }
    return true;
  }

  void read(const property &p) {
    if (language(p))
      return;
    static const std::set<std::string> with_arg = {
        "Args", "Alias", "AliasArg", "NegAliasArg", "Negative", "Var",
        "Init", "BitSet", "BitClear", "Enum", "IntegerRange",
        "MissingArgError", "Warn"};
    if (with_arg.count(p.name) != p.has_arg) {
      bad(p.has_arg ? "unexpected argument of property"
                    : "missing argument of property",
          p);
      return;
    }
    if (!bit(p) && !shape(p) && !variable(p))
      bad("unknown property", p);
  }

  // The variable kind from what was read, and the checks across
  // properties.
  bool finish() {
    r.reject_negative = r.attrs & attr_no_negative;
    if (uinteger) r.attrs |= attr_unsigned_arg;
    if (wide || bytesize) r.attrs |= attr_wide_value;
    if (bytesize) r.attrs |= attr_size_suffix;
    if (has_defer) {
      if (!r.var.empty()) {
        error_at(o.pos, "record '%s': Defer options share one variable; "
                 "drop Var", o.text.c_str());
        return false;
      }
      r.var = "deferred_options";
      r.var_kind = VAR_DEFERRED;
    } else if (!r.enum_name.empty()) {
      r.var_kind = VAR_ENUM;
      r.var_value = enum_bitset ? 2 : enum_set ? 1 : 0;
    } else if (enum_set || enum_bitset) {
      error_at(o.pos, "record '%s': EnumSet needs Enum", o.text.c_str());
      return false;
    } else if (bitset || bitclear) {
      r.var_kind = bitset ? VAR_BIT_SET : VAR_BIT_CLEAR;
      r.var_value = var_value;
    } else if (bytesize) {
      r.var_kind = VAR_SIZE;
    } else if (has_var_value) {
      r.var_kind = VAR_EQUAL;
      r.var_value = var_value;
    } else if (!r.var.empty() && (r.flags & (OPTF_JOINED | OPTF_SEPARATE)) &&
               !uinteger && !wide) {
      r.var_kind = VAR_STRING;
    } else {
      r.var_kind = VAR_INTEGER;
    }
    if ((bitset || bitclear || has_var_value || has_init) && r.var.empty()) {
      error_at(o.pos, "record '%s': a value or Init needs Var(name)",
               o.text.c_str());
      return false;
    }
    if ((r.flags & OPTF_PARAMS) &&
        (r.text.rfind("--param=", 0) != 0 || r.text.back() != '=')) {
      error_at(o.pos, "parameter '%s' must have the form --param=NAME=",
               o.text.c_str());
      return false;
    }
    return true;
  }
};

} // namespace

// Interprets the properties of one source record.
static bool interpret(const option_src &o, record &r, std::string &init,
                      bool &has_init) {
  r.text = o.text;
  r.pos = o.pos;
  r.help = o.help;
  r.has_help = o.has_help;
  property_reader reader{o, r, init, has_init};
  for (const property &p : o.props)
    reader.read(p);
  return reader.ok && reader.finish();
}

// Records the variable a record stores into, checking type agreement.
static void note_variable(table &t, std::map<std::string, size_t> &vars,
                          const record &r, const std::string &init,
                          bool has_init) {
  var_type type = var_type::int32;
  if (r.var_kind == VAR_STRING) type = var_type::string;
  else if (r.var_kind == VAR_DEFERRED) type = var_type::pointer;
  else if (r.attrs & attr_wide_value) type = var_type::int64;
  auto it = vars.find(r.var);
  if (it == vars.end()) {
    variable v;
    v.name = r.var;
    v.type = type;
    v.pos = r.pos;
    it = vars.emplace(r.var, t.variables.size()).first;
    t.variables.push_back(v);
  }
  variable &v = t.variables[it->second];
  if (v.type != type) {
    error_at(r.pos, "record '%s': variable '%s' has another type at %s:%d",
             r.text.c_str(), r.var.c_str(), v.pos.file.c_str(), v.pos.line);
    return;
  }
  if (!has_init) return;
  std::string value = init;
  std::int64_t n;
  if (type == var_type::string) {
    if (value != "nullptr" &&
        (value.size() < 2 || value.front() != '"' || value.back() != '"')) {
      error_at(r.pos, "record '%s': Init of a text needs \"quotes\"",
               r.text.c_str());
      return;
    }
  } else if (type == var_type::pointer || !parse_int(value, &n)) {
    error_at(r.pos, "record '%s': bad Init '%s'", r.text.c_str(),
             value.c_str());
    return;
  }
  if (!v.init.empty() && v.init != value)
    error_at(r.pos, "record '%s': variable '%s' initialised twice (%s, %s)",
             r.text.c_str(), r.var.c_str(), v.init.c_str(), value.c_str());
  v.init = value;
}

static bool check_enums(table &t) {
  std::set<std::string> names;
  for (enum_src &e : t.enums) {
    if (!names.insert(e.name).second)
      error_at(e.pos, "enumerated table '%s' defined twice", e.name.c_str());
    if (e.values.empty())
      error_at(e.pos, "enumerated table '%s' has no values", e.name.c_str());
    std::stable_sort(e.values.begin(), e.values.end(),
                     [](const enum_value_src &a, const enum_value_src &b) {
                       return std::strcmp(a.text.c_str(), b.text.c_str()) < 0;
                     });
    for (size_t i = 1; i < e.values.size(); ++i)
      if (e.values[i].text == e.values[i - 1].text)
        error_at(e.values[i].pos, "word '%s' appears twice in '%s'",
                 e.values[i].text.c_str(), e.name.c_str());
  }
  return error_count() == 0;
}

// The records and @var declarations of the source, with their variables.
static void read_records(table &t, std::map<std::string, size_t> &vars) {
  for (const option_src &o : t.options) {
    record r;
    std::string init;
    bool has_init = false;
    if (o.text.size() < 2 || o.text.size() > 256) {
      error_at(o.pos, "record '%s': bad option text length", o.text.c_str());
      continue;
    }
    if (!interpret(o, r, init, has_init)) continue;
    if (!r.var.empty()) note_variable(t, vars, r, init, has_init);
    t.records.push_back(r);
  }
  for (const var_decl &d : t.var_decls) {
    static const std::map<std::string, var_type> types = {
        {"int", var_type::int32}, {"int64", var_type::int64},
        {"string", var_type::string}, {"pointer", var_type::pointer}};
    auto ty = types.find(d.type);
    if (ty == types.end()) {
      error_at(d.pos, "@var %s: unknown type '%s'", d.name.c_str(),
               d.type.c_str());
      continue;
    }
    // Reuse the record path so that type and Init checks are the same.
    record r;
    r.text = "@var " + d.name;
    r.pos = d.pos;
    r.var = d.name;
    r.var_kind = ty->second == var_type::string    ? VAR_STRING
                 : ty->second == var_type::pointer ? VAR_DEFERRED
                                                   : VAR_INTEGER;
    if (ty->second == var_type::int64) r.attrs |= attr_wide_value;
    note_variable(t, vars, r, d.init, !d.init.empty());
  }
}

// Sorts the records by text and fills INDEX; duplicate texts and names are
// errors.
static void index_records(table &t, std::map<std::string, long> &index) {
  std::stable_sort(t.records.begin(), t.records.end(), byte_less);
  std::map<std::string, long> codes;
  for (size_t i = 0; i < t.records.size(); ++i) {
    record &r = t.records[i];
    auto [it, fresh] = index.emplace(r.text, long(i));
    if (!fresh) {
      const record &first = t.records[it->second];
      error_at(r.pos, "duplicate record '%s' (first at %s:%d)",
               r.text.c_str(), first.pos.file.c_str(), first.pos.line);
      continue;
    }
    r.code = mangle(r.text);
    auto [cit, cfresh] = codes.emplace(r.code, long(i));
    if (!cfresh)
      error_at(r.pos, "records '%s' and '%s' both give the name %s",
               t.records[cit->second].text.c_str(), r.text.c_str(),
               r.code.c_str());
  }
}

// Record I's alias target, enumerated table and back chain.
static void link_record(table &t, const std::map<std::string, long> &index,
                        const std::map<std::string, long> &enum_index, size_t i) {
  record &r = t.records[i];
  const char *text = r.text.c_str();
  // Alias target.
  if (r.alias_special && !r.alias_text.empty())
    error_at(r.pos, "record '%s': Ignore/Removed cannot have Alias", text);
  if (r.alias_special && (r.has_alias_arg || r.has_neg_alias_arg))
    error_at(r.pos, "record '%s': Ignore/Removed cannot have alias "
             "arguments", text);
  if (!r.alias_text.empty()) {
    auto it = index.find(r.alias_text);
    if (it == index.end()) {
      error_at(r.pos, "record '%s' is an alias of unknown option '%s'",
               text, r.alias_text.c_str());
    } else {
      const record &target = t.records[it->second];
      if (!target.alias_text.empty() &&
          !(target.attrs & attr_alias_if_separate))
        error_at(r.pos, "record '%s' is an alias of '%s', itself an alias",
                 text, target.text.c_str());
      if (target.alias_special)
        error_at(r.pos, "record '%s' is an alias of ignored or removed "
                 "'%s'", text, target.text.c_str());
      r.alias_target = it->second;
    }
  } else if (r.has_alias_arg || r.has_neg_alias_arg) {
    error_at(r.pos, "record '%s': alias arguments without Alias", text);
  }
  if (r.has_neg_alias_arg && !r.has_alias_arg)
    error_at(r.pos, "record '%s': NegAliasArg needs AliasArg", text);
  // Enumerated table.
  if (!r.enum_name.empty()) {
    auto it = enum_index.find(r.enum_name);
    if (it == enum_index.end())
      error_at(r.pos, "record '%s' uses unknown enumerated table '%s'",
               text, r.enum_name.c_str());
    else
      r.var_enum = it->second;
    if (!(r.flags & (OPTF_JOINED | OPTF_SEPARATE)))
      error_at(r.pos, "record '%s': Enum needs an argument", text);
  }
  // Back chain: nearest earlier joined record that is a proper prefix.
  for (long j = long(i) - 1; j >= 0; --j) {
    const record &p = t.records[j];
    if ((p.flags & OPTF_JOINED) && p.text.size() < r.text.size() &&
        r.text.compare(0, p.text.size(), p.text) == 0) {
      r.back_chain = j;
      break;
    }
  }
}

// Negative forms and the rings of Negative properties.
static void link_negatives(table &t, const std::map<std::string, long> &index) {
  for (size_t i = 0; i < t.records.size(); ++i) {
    record &r = t.records[i];
    if (!r.negative_text.empty()) {
      auto it = index.find(r.negative_text);
      if (it == index.end()) {
        error_at(r.pos, "record '%s': ring member '%s' is missing",
                 r.text.c_str(), r.negative_text.c_str());
        continue;
      }
      r.neg_index = it->second;
    } else if (!r.reject_negative && std::strchr("Wfgm", r.text[1])) {
      r.neg_index = long(i);
    }
  }
  if (error_count()) return;
  for (size_t i = 0; i < t.records.size(); ++i) {
    const record &r = t.records[i];
    if (r.negative_text.empty()) continue;
    // Follow the ring; it must come back to a record already met without
    // reaching a record that has no Negative of its own.
    std::set<long> seen{long(i)};
    long k = r.neg_index;
    while (!seen.count(k)) {
      const record &m = t.records[k];
      if (m.negative_text.empty()) {
        error_at(r.pos, "ring of '%s' is not closed: '%s' names no Negative",
                 r.text.c_str(), m.text.c_str());
        break;
      }
      seen.insert(k);
      k = m.neg_index;
    }
  }
}

bool build_records(table &t) {
  if (!check_enums(t)) return false;
  std::map<std::string, size_t> vars;
  read_records(t, vars);
  if (error_count()) return false;
  if (t.records.size() >= 0xFFFF - 8) {
    error_at(t.records.back().pos, "too many records for 16-bit indices");
    return false;
  }
  std::map<std::string, long> index;
  index_records(t, index);
  if (error_count()) return false;

  std::map<std::string, long> enum_index;
  for (size_t i = 0; i < t.enums.size(); ++i) enum_index[t.enums[i].name] = i;
  for (size_t i = 0; i < t.records.size(); ++i)
    link_record(t, index, enum_index, i);
  if (error_count()) return false;

  link_negatives(t, index);
  return error_count() == 0;
}

}  // namespace optgen
