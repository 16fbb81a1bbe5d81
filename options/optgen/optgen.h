// Shared declarations of the option-table generator: the parsed form of
// the option description sources and the three stages (read, check,
// write).  See optgen.cc for the source format.
#ifndef VRK_OPTGEN_OPTGEN_H
#define VRK_OPTGEN_OPTGEN_H

#include <cstdint>
#include <string>
#include <vector>

namespace optgen {

// Where something was written, for messages.
struct source_pos {
  std::string file;
  int line = 0;
};

// One property of a record as written: Name or Name(argument).
struct property {
  std::string name;
  std::string arg;
  bool has_arg = false;
};

struct enum_value_src {
  std::string text;
  std::int64_t value = 0;
  unsigned flags = 0;  // ENUMV_* and group << 2
  source_pos pos;
};

struct enum_src {
  std::string name;
  std::string help;
  std::string unknown_message;
  bool has_help = false, has_unknown = false;
  std::vector<enum_value_src> values;
  source_pos pos;
};

struct option_src {
  std::string text;
  std::vector<property> props;
  std::string help;
  bool has_help = false;
  source_pos pos;
};

// A variable of struct option_values.
enum class var_type { int32, int64, string, pointer };

struct variable {
  std::string name;  // without the x_ prefix
  var_type type = var_type::int32;
  std::string init;  // C++ initializer text, empty for zero
  source_pos pos;    // first record that named it
};

// A record after checking, ready to be written.
struct record {
  std::string text;
  std::string help, missing_arg_message, warning_message;
  std::string alias_arg, neg_alias_arg;
  bool has_help = false, has_missing = false, has_warning = false;
  bool has_alias_arg = false, has_neg_alias_arg = false;
  std::string alias_text;        // target text, or empty
  int alias_special = 0;         // 1 ignored, 2 removed
  std::string negative_text;     // ring successor, or empty
  bool reject_negative = false;
  std::uint32_t flags = 0;
  std::uint16_t attrs = 0;
  std::string var;               // variable name, or empty
  int var_kind = 0;
  std::int64_t var_value = 0;
  std::string enum_name;
  std::int32_t range_min = -1, range_max = -1;
  source_pos pos;
  // Computed after sorting.
  long alias_target = -1, back_chain = -1, neg_index = -1, var_enum = 0;
  std::string code;              // OPT_ constant name
};

// A variable declared with @var (set by handlers, not by a record).
struct var_decl {
  std::string name, type, init;
  source_pos pos;
};

struct table {
  std::vector<option_src> options;
  std::vector<var_decl> var_decls;
  std::vector<enum_src> enums;
  std::vector<record> records;      // sorted
  std::vector<variable> variables;  // in field order
  std::vector<std::string> inputs;
};

// Reports an error at pos and counts it.
void error_at(const source_pos &pos, const char *fmt, ...)
    __attribute__((format(printf, 2, 3)));
int error_count();

// Stage 1: parse one source file into t.options and t.enums.
bool read_source(const std::string &file, table &t);
// Stage 2: build, sort and cross-check the records.
bool build_records(table &t);
// Stage 3: write option-index.inc, option-values.inc and option-data.cc.
bool write_outputs(const table &t, const std::string &dir);

}  // namespace optgen

#endif
