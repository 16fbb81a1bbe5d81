// The option table: one read-only record per command-line option that any
// program of the toolchain understands, the enumerated-argument tables, the
// language names and the size-unit suffixes, plus the lookups over them.
//
// The data is generated at build time by options/optgen from the option
// description sources options/*.opt; the generated pieces live under the
// build's generated/options/ directory:
//   option-index.inc   the OPT_* constants and N_OPTS / N_OPTION_ENUMS
//   option-values.inc  struct option_values (one field per option variable)
//   option-data.cc     option_table[], option_enums[], language_names[],
//                      initial_option_values, the enum accessors
//
// Naming of the OPT_* constants: take the option text, strip its first '-'
// and replace every character that is not an ASCII letter or digit by '_',
// then prefix "OPT_":
//   "-o" -> OPT_o                    "-Wall" -> OPT_Wall
//   "-fdiagnostics-color=" -> OPT_fdiagnostics_color_
//   "--help" -> OPT__help            "--help=" -> OPT__help_
//   "-###" -> OPT____                "-std=c++17" -> OPT_std_c__17
//   "--param=max-inline-insns-auto=" -> OPT__param_max_inline_insns_auto_
// The generator refuses a table in which two texts give the same name.
//
// Naming of the option_values fields: a record's Var(name) property names
// its variable; the field is "x_" followed by that name (Var(flag_pic) ->
// option_values::x_flag_pic).  Records that name the same variable share the
// field.  All VAR_DEFERRED records share x_deferred_options.  Fields that
// handlers maintain without a record of their own are declared with @var
// (x_write_symbols, x_debug_info_level, x_ctf_debug_info_level,
// x_btf_debug_info_level, x_flag_sanitize, x_flag_sanitize_trap,
// x_flag_sanitize_recover).  The names the driver reads are listed at the
// top of options/driver.opt, e.g. -v -> x_verbose_flag, -pipe ->
// x_use_pipes, -o -> x_output_file, -print-file-name= -> x_print_file_name,
// -gdwarf- -> x_dwarf_version, -gtoggle -> x_flag_gtoggle, the four target
// flag options -> x_target_flags.
//
// Field types: VAR_INTEGER / VAR_EQUAL / VAR_BIT_SET / VAR_BIT_CLEAR -> int
// (int64_t with attr_wide_value), VAR_SIZE -> int64_t, VAR_STRING ->
// const char *, VAR_ENUM -> int (every enum has value_size 4),
// VAR_DEFERRED -> void * (the deferred list, owned by the option handlers).
#ifndef VRK_OPTIONS_OPTION_TABLE_H
#define VRK_OPTIONS_OPTION_TABLE_H

#include <cstddef>
#include <cstdint>

// Position of a record in option_table; also the special values below.
typedef std::size_t option_index;

#include "options/option-index.inc"   // enum opt_code { OPT_... , N_OPTS }
#include "options/option-values.inc"  // struct option_values

// Number of records; as an alias target or back chain it means "none".
inline constexpr option_index option_count = N_OPTS;

// Values above the table that never index a record.
inline constexpr option_index OPTION_UNKNOWN = option_count + 1;
inline constexpr option_index OPTION_IGNORED = option_count + 2;
inline constexpr option_index OPTION_REMOVED = option_count + 3;
inline constexpr option_index OPTION_PROGRAM_NAME = option_count + 4;
inline constexpr option_index OPTION_INPUT_FILE = option_count + 5;

// flags: bits 0-13 are languages (position in language_names).
inline constexpr unsigned OPTL_ADA = 1u << 0;
inline constexpr unsigned OPTL_ADASCIL = 1u << 1;
inline constexpr unsigned OPTL_ADAWHY = 1u << 2;
inline constexpr unsigned OPTL_C = 1u << 3;
inline constexpr unsigned OPTL_CXX = 1u << 4;
inline constexpr unsigned OPTL_D = 1u << 5;
inline constexpr unsigned OPTL_FORTRAN = 1u << 6;
inline constexpr unsigned OPTL_GO = 1u << 7;
inline constexpr unsigned OPTL_LTO = 1u << 8;
inline constexpr unsigned OPTL_LTODUMP = 1u << 9;
inline constexpr unsigned OPTL_MODULA2 = 1u << 10;
inline constexpr unsigned OPTL_OBJC = 1u << 11;
inline constexpr unsigned OPTL_OBJCXX = 1u << 12;
inline constexpr unsigned OPTL_RUST = 1u << 13;
inline constexpr unsigned OPTL_ALL_LANGUAGES = (1u << 14) - 1;

// flags: classes (bits 16-21) and attributes (bits 22-24).
inline constexpr unsigned OPTF_PARAMS = 1u << 16;
inline constexpr unsigned OPTF_WARNING = 1u << 17;
inline constexpr unsigned OPTF_OPTIMIZATION = 1u << 18;
inline constexpr unsigned OPTF_DRIVER = 1u << 19;
inline constexpr unsigned OPTF_TARGET = 1u << 20;
inline constexpr unsigned OPTF_COMMON = 1u << 21;
inline constexpr unsigned OPTF_JOINED = 1u << 22;
inline constexpr unsigned OPTF_SEPARATE = 1u << 23;
inline constexpr unsigned OPTF_UNDOCUMENTED = 1u << 24;
// Set on the single record "-cpp="; nothing in the driver tests it.
inline constexpr unsigned OPTF_CPP_EQUALS = 1u << 25;

// attrs bits.
inline constexpr unsigned attr_unavailable = 1u << 0;
inline constexpr unsigned attr_extra_args_shift = 1;  // 2-bit field, bits 1-2
inline constexpr unsigned attr_extra_args_mask = 3u << attr_extra_args_shift;
inline constexpr unsigned attr_alias_if_separate = 1u << 3;
inline constexpr unsigned attr_alias_negates = 1u << 4;
inline constexpr unsigned attr_driver_no_arg = 1u << 5;
inline constexpr unsigned attr_driver_rejects = 1u << 6;
inline constexpr unsigned attr_no_negative = 1u << 7;
inline constexpr unsigned attr_empty_arg_ok = 1u << 8;
inline constexpr unsigned attr_unsigned_arg = 1u << 9;
inline constexpr unsigned attr_wide_value = 1u << 10;
inline constexpr unsigned attr_lowercase_arg = 1u << 11;
inline constexpr unsigned attr_size_suffix = 1u << 12;

// How a value is stored into an option's variable.
enum var_kind : unsigned char {
  VAR_INTEGER = 0,
  VAR_EQUAL = 1,
  VAR_BIT_CLEAR = 2,
  VAR_BIT_SET = 3,
  VAR_SIZE = 4,
  VAR_STRING = 5,
  VAR_ENUM = 6,
  VAR_DEFERRED = 7,
};

// Value of var_offset for an option without a variable.
inline constexpr std::uint16_t OPTION_NO_VARIABLE = 0xFFFF;

struct option_record {
  const char *text;                 // with the leading '-'
  const char *help;                 // "synopsis\thelp" or "help", or null
  const char *missing_arg_message;  // or null
  const char *warning_message;      // or null
  const char *alias_arg;            // or null
  const char *neg_alias_arg;        // or null
  std::uint16_t alias_target;       // option_count when no alias
  std::uint16_t back_chain;         // option_count when none
  std::uint8_t text_len;            // length of text without its '-'
  std::int32_t neg_index;           // -1, own index, or next ring member
  std::uint32_t flags;              // OPTL_* | OPTF_*
  std::uint16_t attrs;              // attr_*
  std::uint16_t var_offset;         // OPTION_NO_VARIABLE when none
  std::uint16_t var_enum;           // index into option_enums (VAR_ENUM)
  enum var_kind var_kind;
  std::int64_t var_value;           // VAR_EQUAL/BIT_*; VAR_ENUM: 0, 1 or 2
  std::int32_t range_min;           // -1 when none
  std::int32_t range_max;           // -1 when there is no range
};

// Number of extra separate words beyond the first (0 to 3).
inline unsigned option_extra_args(const option_record &r) {
  return (r.attrs & attr_extra_args_mask) >> attr_extra_args_shift;
}

// One accepted word of an enumerated argument.
inline constexpr unsigned ENUMV_CANONICAL = 1u << 0;
inline constexpr unsigned ENUMV_DRIVER_ONLY = 1u << 1;
inline constexpr unsigned ENUMV_GROUP_SHIFT = 2;  // flags >> 2 is the group

struct option_enum_value {
  const char *text;  // null in the terminating entry
  std::int32_t value;
  std::uint32_t flags;
};

struct option_enum {
  const char *help;             // heading before the list of words, or null
  const char *unknown_message;  // format taking the word, or null
  const option_enum_value *values;  // sorted, terminated by a null text
  std::size_t value_size;       // size of the variable in bytes
  void (*set)(void *var, int value);
  int (*get)(const void *var);
};

// Suffixes accepted after the integer argument of an attr_size_suffix
// option, tried in table order.
struct size_unit {
  const char *suffix;
  std::uint64_t multiplier;
  bool any_case;  // compared ignoring ASCII case
};

extern const option_record option_table[];
extern const option_enum option_enums[];
extern const std::size_t option_enum_count;
extern const char *const language_names[];
extern const unsigned language_count;
extern const size_unit size_units[];
extern const std::size_t size_unit_count;

// The compiled-in initial image of the option variables.
extern const option_values initial_option_values;

// Looks up an option given without its leading '-' ("O2", "-help", "Wall")
// for the language mask; returns an index (possibly one whose flags do not
// match the mask: a wrong-language match) or OPTION_UNKNOWN.
option_index find_option(const char *text, unsigned lang_mask);

// For a VAR_ENUM option: whether word is one of its accepted words (exact,
// case-sensitive); if so stores its value.  Internal error for any other
// kind of option.
bool opt_enum_arg_to_value(option_index opt, const char *word, int *value,
                           unsigned lang_mask);

// Position of the entry of values whose text equals word (the whole word
// when len is 0, else its first len characters); stores the entry's value.
// Driver-only entries count only when lang_mask has OPTF_DRIVER.  -1 when
// there is no such entry.
int enum_lookup(const option_enum_value *values, const char *word,
                std::size_t len, int *value, unsigned lang_mask);

// Text of an entry with the value, preferring a canonical one, stored in
// *text (null when no entry has the value).  Returns whether the entry is
// marked canonical.
bool enum_text_for_value(const option_enum_value *values, int value,
                         const char **text, unsigned lang_mask);

// Address of the option's field in opts, or null when it has no variable.
void *option_variable(option_index opt, option_values *opts);
const void *option_variable(option_index opt, const option_values *opts);

#endif
