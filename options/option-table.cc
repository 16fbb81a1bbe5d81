// Lookups over the generated option table: finding an option by its text,
// enumerated-argument words and values, and an option's variable.  The
// table data itself is generated (option-data.cc); the size units and the
// option-value instances live here.
#include "options/option-table.h"

#include <cstring>

#include "diagnostics/diagnostic.h"

const size_unit size_units[] = {
    {"kB", 1000ULL, false},
    {"KiB", 1024ULL, true},
    {"KB", 1024ULL, false},
    {"MB", 1000000ULL, false},
    {"MiB", 1048576ULL, true},
    {"GB", 1000000000ULL, true},
    {"GiB", 1ULL << 30, true},
    {"TB", 1000000000000ULL, true},
    {"TiB", 1ULL << 40, true},
    {"PB", 1000000000000000ULL, true},
    {"PiB", 1ULL << 50, true},
    {"EB", 1000000000000000000ULL, true},
    {"EiB", 1ULL << 60, true},
};
const std::size_t size_unit_count = sizeof size_units / sizeof *size_units;

// The class and attribute bits that, set alone among the language, driver,
// target, common, joined and undocumented bits, mark a catch-all record
// that stops a lookup ("-gno-").
static const unsigned catch_all_bits =
    OPTL_ALL_LANGUAGES | OPTF_DRIVER | OPTF_TARGET | OPTF_COMMON |
    OPTF_JOINED | OPTF_UNDOCUMENTED;

option_index find_option(const char *text, unsigned lang_mask) {
  std::size_t lo = 0, hi = option_count;
  while (hi - lo > 1) {
    std::size_t mid = (lo + hi) / 2;
    const option_record &r = option_table[mid];
    if (std::strncmp(text, r.text + 1, r.text_len) < 0)
      hi = mid;
    else
      lo = mid;
  }

  // lo is the last record whose text, cut to its own length, is not
  // greater than the argument; any other match is a joined prefix of it.
  std::size_t len = std::strlen(text);
  option_index wrong_lang = OPTION_UNKNOWN;
  for (std::size_t i = lo; i != option_count; i = option_table[i].back_chain) {
    const option_record &r = option_table[i];
    if (std::strncmp(text, r.text + 1, r.text_len) != 0) continue;
    if (text[r.text_len] != '\0' && !(r.flags & OPTF_JOINED)) continue;
    if (r.flags & lang_mask) return i;
    if ((r.flags & catch_all_bits) == (OPTF_JOINED | OPTF_UNDOCUMENTED))
      return OPTION_UNKNOWN;
    if (wrong_lang == OPTION_UNKNOWN) wrong_lang = i;
  }
  if (wrong_lang != OPTION_UNKNOWN) return wrong_lang;

  // A long option ("--...") may be abbreviated to any unambiguous prefix;
  // an option and its joined "=" form count as one.
  if (text[0] != '-') return OPTION_UNKNOWN;
  option_index candidate = OPTION_UNKNOWN;
  for (std::size_t i = lo + 1; i < option_count; ++i) {
    const option_record &r = option_table[i];
    if (std::strncmp(text, r.text + 1, len) != 0) break;
    if (i == lo + 1) {
      if (r.flags & OPTF_JOINED) return OPTION_UNKNOWN;
      candidate = i;
    } else if (i == lo + 2 && candidate == lo + 1 && (r.flags & OPTF_JOINED) &&
               r.text_len == option_table[candidate].text_len + 1 &&
               std::strncmp(r.text, option_table[candidate].text,
                            option_table[candidate].text_len + 1) == 0) {
      continue;
    } else {
      return OPTION_UNKNOWN;
    }
  }
  return candidate;
}

static bool entry_visible(const option_enum_value &v, unsigned lang_mask) {
  return !(v.flags & ENUMV_DRIVER_ONLY) || (lang_mask & OPTF_DRIVER);
}

int enum_lookup(const option_enum_value *values, const char *word,
                std::size_t len, int *value, unsigned lang_mask) {
  for (int i = 0; values[i].text; ++i) {
    const option_enum_value &v = values[i];
    if (!entry_visible(v, lang_mask)) continue;
    bool same = len == 0 ? std::strcmp(v.text, word) == 0
                         : std::strncmp(v.text, word, len) == 0 &&
                               v.text[len] == '\0';
    if (same) {
      *value = v.value;
      return i;
    }
  }
  return -1;
}

bool opt_enum_arg_to_value(option_index opt, const char *word, int *value,
                           unsigned lang_mask) {
  vrk_assert(opt < option_count && option_table[opt].var_kind == VAR_ENUM);
  const option_enum &e = option_enums[option_table[opt].var_enum];
  return enum_lookup(e.values, word, 0, value, lang_mask) >= 0;
}

bool enum_text_for_value(const option_enum_value *values, int value,
                         const char **text, unsigned lang_mask) {
  for (int i = 0; values[i].text; ++i)
    if ((values[i].flags & ENUMV_CANONICAL) && values[i].value == value &&
        entry_visible(values[i], lang_mask)) {
      *text = values[i].text;
      return true;
    }
  for (int i = 0; values[i].text; ++i)
    if (values[i].value == value && entry_visible(values[i], lang_mask)) {
      *text = values[i].text;
      return false;
    }
  *text = nullptr;
  return false;
}

void *option_variable(option_index opt, option_values *opts) {
  if (opt >= option_count || option_table[opt].var_offset == OPTION_NO_VARIABLE)
    return nullptr;
  return reinterpret_cast<char *>(opts) + option_table[opt].var_offset;
}

const void *option_variable(option_index opt, const option_values *opts) {
  return option_variable(opt, const_cast<option_values *>(opts));
}
