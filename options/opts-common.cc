// Decoding of command-line words into decoded_option records against the
// option table: lookup with the prefix rewrites, negative forms, joined and
// separate arguments, aliases, language and availability checks, argument
// conversion (lower case, integers with size units, enumerated words and
// sets), canonical spellings and original texts.  Decoding reports nothing;
// it records OPTERR_* bits for read_cmdline_option.
#include "options/opts-common.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "support/xmalloc.h"

// Tried in order when a word is not found as written.
const prefix_rewrite prefix_rewrites[] = {
    {"-Wno-", nullptr, "-W", false, true},
    {"-fno-", nullptr, "-f", false, true},
    {"-gno-", nullptr, "-g", false, true},
    {"-mno-", nullptr, "-m", false, true},
    {"--debug=", nullptr, "-g", false, false},
    {"--machine-", nullptr, "-m", true, false},
    {"--machine-no-", nullptr, "-m", false, true},
    {"--machine=", nullptr, "-m", false, false},
    {"--machine=no-", nullptr, "-m", false, true},
    {"--machine", "", "-m", false, false},
    {"--machine", "no-", "-m", false, true},
    {"--optimize=", nullptr, "-O", false, false},
    {"--std=", nullptr, "-std=", false, false},
    {"--std", "", "-std=", false, false},
    {"--warn-", nullptr, "-W", true, false},
    {"--warn-no-", nullptr, "-W", false, true},
    {"--", nullptr, "-f", true, false},
    {"--no-", nullptr, "-f", false, true},
};
const std::size_t prefix_rewrite_count = sizeof prefix_rewrites / sizeof prefix_rewrites[0];

namespace {

// The most words one option can consume: a two-word long spelling followed
// by up to four separate arguments.
constexpr unsigned max_option_words = 6;

bool is_digit(char c) { return c >= '0' && c <= '9'; }
char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool equal_ignoring_case(const char *a, const char *b) {
  for (; *a && *b; ++a, ++b)
    if (ascii_lower(*a) != ascii_lower(*b))
      return false;
  return *a == *b;
}

bool starts_with(const char *text, const char *prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// Whether record R takes a separate argument under LANG_MASK: the driver
// does not give one to options marked attr_driver_no_arg.
bool takes_separate_arg(const option_record &r, unsigned lang_mask) {
  if (!(r.flags & OPTF_SEPARATE))
    return false;
  return !((r.attrs & attr_driver_no_arg) && (lang_mask & OPTF_DRIVER));
}

bool is_integer_option(const option_record &r) {
  return (r.attrs & (attr_unsigned_arg | attr_wide_value)) != 0;
}

// The words joined by blanks, an empty word written as "".
const char *join_orig_text(const char *const *argv, unsigned count) {
  if (count == 1 && argv[0][0] != '\0')
    return argv[0];
  std::string text;
  for (unsigned i = 0; i < count; ++i) {
    if (i > 0)
      text += ' ';
    text += argv[i][0] != '\0' ? argv[i] : "\"\"";
  }
  return opts_pool_strndup(text.data(), text.size());
}

const char *lowercase_copy(const char *arg) {
  std::size_t len = std::strlen(arg);
  char *copy = opts_pool_alloc(len + 1);
  for (std::size_t i = 0; i <= len; ++i)
    copy[i] = ascii_lower(arg[i]);
  return copy;
}

// Set-valued enumerated argument: fills VALUE (when positive) and MASK;
// false when an item is empty, unknown or repeats a group.
bool decode_enum_set(const option_record &r, const char *arg, unsigned lang_mask,
                     std::int64_t *value, std::int64_t *mask) {
  const option_enum_value *values = option_enums[r.var_enum].values;
  std::uint64_t used_groups = 0;  // groups beyond 63 share the top bit
  std::int64_t accumulated = 0;
  const char *p = arg;
  while (true) {
    const char *comma = std::strchr(p, ',');
    std::size_t len = comma ? std::size_t(comma - p) : std::strlen(p);
    if (len == 0)
      return false;
    int item_value = 0;
    int pos = enum_lookup(values, p, len, &item_value, lang_mask);
    if (pos < 0)
      return false;
    unsigned group = values[pos].flags >> ENUMV_GROUP_SHIFT;
    if (r.var_value == 1) {
      std::uint64_t bit = std::uint64_t(1) << (group < 63 ? group : 63);
      if (used_groups & bit)
        return false;
      used_groups |= bit;
      for (const option_enum_value *v = values; v->text; ++v)
        if ((v->flags >> ENUMV_GROUP_SHIFT) == group)
          *mask |= v->value;
    } else {
      if (group != 0)
        return false;
      *mask |= item_value;
    }
    accumulated |= item_value;
    if (comma == nullptr)
      break;
    p = comma + 1;
  }
  if (*value == 1)
    *value = accumulated;
  return true;
}

// An unknown word stands for itself, like an input file name.
void fill_unknown(const char *word, std::int64_t value, std::uint32_t errors,
                  decoded_option *decoded) {
  make_input_file_option(word, decoded);
  decoded->opt_index = OPTION_UNKNOWN;
  decoded->value = value;
  decoded->errors = errors;
}

}  // namespace

std::uint64_t parse_integral_argument(const char *arg, int *err, bool allow_size_suffix) {
  *err = 0;
  if (!is_digit(arg[0])) {
    *err = EINVAL;
    return ~std::uint64_t(0);
  }
  char *end;
  errno = 0;
  std::uint64_t number = std::strtoull(arg, &end, 10);
  if (*end == '\0')
    return number;

  if (allow_size_suffix) {
    for (std::size_t i = 0; i < size_unit_count; ++i) {
      const size_unit &unit = size_units[i];
      bool match = unit.any_case ? equal_ignoring_case(end, unit.suffix)
                                 : std::strcmp(end, unit.suffix) == 0;
      if (match) {
        std::uint64_t product;
        if (__builtin_mul_overflow(number, unit.multiplier, &product))
          return ~std::uint64_t(0);  // too large: the largest size, no error
        return product;
      }
    }
    *err = EINVAL;
    return ~std::uint64_t(0);
  }

  errno = 0;
  number = std::strtoull(arg, &end, 0);
  if (*end == '\0' && errno == 0)
    return number;
  *err = errno != 0 ? errno : EINVAL;
  return ~std::uint64_t(0);
}

void generate_canonical_option(option_index opt_index, const char *arg, std::int64_t value,
                               decoded_option *decoded) {
  const option_record &r = option_table[opt_index];
  const char *name = r.text;
  char kind = r.text[1];
  if (value == 0 && !(r.attrs & attr_no_negative) &&
      (kind == 'W' || kind == 'f' || kind == 'g' || kind == 'm')) {
    std::size_t rest = std::strlen(r.text + 2);
    char *neg = opts_pool_alloc(rest + 6);
    neg[0] = '-';
    neg[1] = kind;
    std::memcpy(neg + 2, "no-", 3);
    std::memcpy(neg + 5, r.text + 2, rest + 1);
    name = neg;
  }

  decoded->canonical[1] = decoded->canonical[2] = decoded->canonical[3] = nullptr;
  if (arg != nullptr) {
    if ((r.flags & OPTF_SEPARATE) && !(r.attrs & attr_alias_if_separate)) {
      decoded->canonical[0] = name;
      decoded->canonical[1] = arg;
      decoded->canonical_count = 2;
    } else {
      vrk_assert(r.flags & OPTF_JOINED);
      std::size_t name_len = std::strlen(name), arg_len = std::strlen(arg);
      char *joined = opts_pool_alloc(name_len + arg_len + 1);
      std::memcpy(joined, name, name_len);
      std::memcpy(joined + name_len, arg, arg_len + 1);
      decoded->canonical[0] = joined;
      decoded->canonical_count = 1;
    }
  } else {
    decoded->canonical[0] = name;
    decoded->canonical_count = 1;
  }
}

void generate_option(option_index opt_index, const char *arg, std::int64_t value,
                     unsigned lang_mask, decoded_option *decoded) {
  const option_record &r = option_table[opt_index];
  decoded->opt_index = opt_index;
  decoded->warning_message = nullptr;
  decoded->arg = arg;
  decoded->value = value;
  decoded->mask = 0;
  decoded->errors = (r.flags & lang_mask) ? 0 : OPTERR_WRONG_LANG;
  decoded->argv_index = -1;
  generate_canonical_option(opt_index, arg, value, decoded);
  if (decoded->canonical_count == 1) {
    decoded->orig_text = decoded->canonical[0];
  } else {
    std::string text = decoded->canonical[0];
    text += ' ';
    text += decoded->canonical[1];
    decoded->orig_text = opts_pool_strndup(text.data(), text.size());
  }
}

void make_input_file_option(const char *file, decoded_option *decoded) {
  decoded->opt_index = OPTION_INPUT_FILE;
  decoded->warning_message = nullptr;
  decoded->arg = file;
  decoded->orig_text = file;
  decoded->canonical[0] = file;
  decoded->canonical[1] = decoded->canonical[2] = decoded->canonical[3] = nullptr;
  decoded->canonical_count = 1;
  decoded->value = 1;
  decoded->mask = 0;
  decoded->errors = 0;
  decoded->argv_index = -1;
}

namespace {

// The decoding of one option, step by step: the record (after prefix
// rewrites), its argument, its alias, the argument's value, the result.
struct option_decoder {
  const char *const *argv;
  unsigned available;
  unsigned lang_mask;

  const char *opt = argv[0];
  option_index opt_index = OPTION_UNKNOWN;
  std::int64_t value = 1;
  unsigned result = 1;  // words consumed
  // Where the joined argument of the found record starts: the text that
  // stands for the record's own text (as typed or rewritten), and how many
  // of the record's characters the rewrite supplied.
  const char *found_text = opt;
  std::string candidate;            // the looked-up text after a rewrite
  std::size_t replaced_len = 0;     // length of the replacement prefix
  const char *remainder = nullptr;  // the typed text after the prefix

  const char *arg = nullptr;
  const char *warning_message = nullptr;
  std::uint32_t errors = 0;
  bool have_separate_arg = false;
  unsigned separate_words = 0;
  std::int64_t mask = 0;

  // The first prefix rewrite whose result names an option, or null.
  const prefix_rewrite *find_rewrite() {
    for (std::size_t i = 0; i < prefix_rewrite_count; ++i) {
      const prefix_rewrite &row = prefix_rewrites[i];
      const char *rest;
      if (row.second_word != nullptr) {
        // A two-word row applies to the prefix alone, followed by a word.
        if (std::strcmp(opt, row.prefix) != 0 || available < 2 ||
            !starts_with(argv[1], row.second_word))
          continue;
        rest = argv[1] + std::strlen(row.second_word);
      } else {
        if (!starts_with(opt, row.prefix))
          continue;
        rest = opt + std::strlen(row.prefix);
      }
      if (row.needs_remainder && *rest == '\0')
        continue;
      candidate = row.replacement;
      candidate += rest;
      option_index found = find_option(candidate.c_str() + 1, lang_mask);
      if (found == OPTION_UNKNOWN)
        continue;
      opt_index = found;
      remainder = rest;
      replaced_len = std::strlen(row.replacement);
      return &row;
    }
    return nullptr;
  }

  // An option not found as written: false when it stays unknown (DECODED
  // is then filled).
  bool rewrite(decoded_option *decoded) {
    const prefix_rewrite *row = find_rewrite();
    if (row == nullptr) {
      fill_unknown(opt, 1, 0, decoded);
      return false;
    }
    if (row->negative) {
      if (option_table[opt_index].attrs & attr_no_negative) {
        fill_unknown(opt, 0, OPTERR_NEGATIVE, decoded);
        return false;
      }
      value = 0;
    }
    if (row->second_word != nullptr)
      result = 2;
    found_text = nullptr;
    return true;
  }

  // The joined argument, else the separate words the record takes.
  void read_argument(const option_record &found) {
    bool separate = takes_separate_arg(found, lang_mask);
    bool try_separate = separate;
    if (found.flags & OPTF_JOINED) {
      std::size_t own_len = std::size_t(found.text_len) + 1;
      const char *joined;
      if (found_text != nullptr)
        joined = found_text + own_len;
      else if (own_len >= replaced_len)
        joined = remainder + (own_len - replaced_len);
      else
        joined = opts_pool_strdup(candidate.c_str() + own_len);
      try_separate = false;
      if (*joined != '\0' || (found.attrs & attr_empty_arg_ok))
        arg = joined;
      else if (separate)
        try_separate = true;
      else
        errors |= OPTERR_MISSING_ARG;
    }
    if (!try_separate)
      return;
    unsigned needed = option_extra_args(found) + 1;
    unsigned remaining = available - result;
    if (remaining < needed) {
      errors |= OPTERR_MISSING_ARG;
      if (remaining > 0)
        arg = argv[result];
      separate_words = remaining;
      result += remaining;
    } else {
      arg = argv[result];
      separate_words = needed;
      result += needed;
    }
    have_separate_arg = arg != nullptr;
  }

  // An alias record stands for its target (with the alias's argument or
  // negation).
  void follow_alias(const option_record &found) {
    if (found.alias_target == option_count ||
        ((found.attrs & attr_alias_if_separate) && !have_separate_arg))
      return;
    option_index target = found.alias_target;
    if (target == OPTION_IGNORED || target == OPTION_REMOVED) {
      vrk_assert(found.alias_arg == nullptr && found.neg_alias_arg == nullptr);
      opt_index = target;
      return;
    }
    const option_record &t = option_table[target];
    vrk_assert(t.alias_target == option_count || (t.attrs & attr_alias_if_separate));
    vrk_assert(!((found.attrs & attr_alias_negates) &&
                 (found.alias_arg != nullptr || found.neg_alias_arg != nullptr)));
    if (found.alias_arg != nullptr && found.neg_alias_arg != nullptr) {
      arg = value != 0 ? found.alias_arg : found.neg_alias_arg;
      value = 1;
    } else if (found.alias_arg != nullptr) {
      arg = found.alias_arg;
    } else if (found.attrs & attr_alias_negates) {
      value = !value;
    }
    opt_index = target;
    if (!(errors & OPTERR_MISSING_ARG) && arg == nullptr && (t.attrs & attr_empty_arg_ok) &&
        ((t.flags & OPTF_JOINED) || takes_separate_arg(t, lang_mask)))
      arg = "";
    if (t.warning_message != nullptr)
      warning_message = t.warning_message;
    if (t.attrs & attr_unavailable)
      errors |= OPTERR_DISABLED;
  }

  // The value of the final record's argument: lower-cased, an integer, an
  // enumerated word or a set of them.
  void interpret_argument() {
    if (opt_index >= option_count)
      return;
    const option_record &final_rec = option_table[opt_index];
    if (!(final_rec.flags & lang_mask))
      errors |= OPTERR_WRONG_LANG;
    if (arg == nullptr)
      return;
    if (final_rec.attrs & attr_lowercase_arg)
      arg = lowercase_copy(arg);
    if (is_integer_option(final_rec)) {
      int err = 0;
      value = *arg == '\0' ? 0
                           : std::int64_t(parse_integral_argument(
                                 arg, &err, (final_rec.attrs & attr_size_suffix) != 0));
      if (err != 0)
        errors |= OPTERR_BAD_UINT;
      if (final_rec.range_max != -1 &&
          (value < final_rec.range_min || value > final_rec.range_max))
        errors |= OPTERR_RANGE;
    }
    if (final_rec.var_kind == VAR_ENUM && final_rec.var_value == 0) {
      vrk_assert(value == 1);
      int enum_value = 0;
      if (opt_enum_arg_to_value(opt_index, arg, &enum_value, lang_mask)) {
        value = enum_value;
        const char *canonical_text = nullptr;
        if (enum_text_for_value(option_enums[final_rec.var_enum].values, enum_value,
                                &canonical_text, lang_mask))
          arg = canonical_text;
      } else {
        errors |= OPTERR_BAD_ENUM;
      }
    } else if (final_rec.var_kind == VAR_ENUM) {
      if (!decode_enum_set(final_rec, arg, lang_mask, &value, &mask))
        errors |= OPTERR_BAD_ENUM_SET;
    }
  }

  unsigned finish(decoded_option *decoded) const {
    decoded->opt_index = opt_index;
    decoded->warning_message = warning_message;
    decoded->arg = arg;
    decoded->value = value;
    decoded->mask = mask;
    decoded->errors = errors;
    decoded->argv_index = -1;

    if (opt_index == OPTION_IGNORED || opt_index == OPTION_REMOVED) {
      decoded->canonical[0] = decoded->canonical[1] = nullptr;
      decoded->canonical[2] = decoded->canonical[3] = nullptr;
      decoded->canonical_count = result;
    } else {
      vrk_assert(result >= 1 && result <= 4);
      generate_canonical_option(opt_index, arg, value, decoded);
      if (separate_words > 1) {
        // The extra separate words follow the first one, as typed.
        for (unsigned i = 1; i < separate_words && 1 + i < 4; ++i)
          decoded->canonical[1 + i] = argv[result - separate_words + i];
        decoded->canonical_count = result;
      }
    }
    decoded->orig_text = join_orig_text(argv, result);
    return result;
  }
};

} // namespace

unsigned decode_cmdline_option_n(const char *const *argv, unsigned available, unsigned lang_mask,
                                 decoded_option *decoded) {
  vrk_assert(available >= 1);
  // One option consumes at most a few words: look no further (the rest of
  // a long command line is not this option's business), and never past a
  // null word, whatever the caller's count says.
  if (available > max_option_words)
    available = max_option_words;
  for (unsigned i = 1; i < available; ++i)
    if (argv[i] == nullptr) {
      available = i;
      break;
    }

  option_decoder d{argv, available, lang_mask};
  d.opt_index = find_option(d.opt + 1, lang_mask);
  if (d.opt_index == OPTION_UNKNOWN && !d.rewrite(decoded))
    return 1;

  const option_record &found = option_table[d.opt_index];
  d.warning_message = found.warning_message;
  d.read_argument(found);
  d.follow_alias(found);
  if (found.attrs & attr_unavailable)
    d.errors |= OPTERR_DISABLED;
  d.interpret_argument();
  return d.finish(decoded);
}

unsigned decode_cmdline_option(const char *const *argv, unsigned lang_mask,
                               decoded_option *decoded) {
  unsigned available = 1;
  while (available < max_option_words && argv[available] != nullptr)
    ++available;
  return decode_cmdline_option_n(argv, available, lang_mask, decoded);
}

namespace {

// "-fdiagnostics-plain-output" stands for these words.
const char *const plain_output_words[] = {
    "-fno-diagnostics-show-caret",
    "-fno-diagnostics-show-line-numbers",
    "-fdiagnostics-color=never",
    "-fdiagnostics-urls=never",
    "-fdiagnostics-path-format=separate-events",
};
constexpr unsigned plain_output_count = sizeof plain_output_words / sizeof plain_output_words[0];

}  // namespace

void decode_command_line(unsigned argc, const char **argv, unsigned lang_mask,
                         decoded_option **out, unsigned *out_count) {
  unsigned capacity = argc > 0 ? argc : 1;
  auto *decoded = static_cast<decoded_option *>(xmalloc(capacity * sizeof(decoded_option)));
  unsigned count = 0;

  if (argc > 0) {
    decoded_option &prog = decoded[count++];
    make_input_file_option(argv[0], &prog);
    prog.opt_index = OPTION_PROGRAM_NAME;
  }

  for (unsigned i = 1; i < argc;) {
    const char *word = argv[i];
    if (word[0] != '-' || word[1] == '\0') {
      make_input_file_option(word, &decoded[count]);
      decoded[count++].argv_index = static_cast<int>(i);
      ++i;
      continue;
    }
    if (std::strcmp(word, "--param") == 0 && i + 1 < argc) {
      std::size_t len = std::strlen(argv[i + 1]);
      char *joined = opts_pool_alloc(len + 9);
      std::memcpy(joined, "--param=", 8);
      std::memcpy(joined + 8, argv[i + 1], len + 1);
      argv[i + 1] = joined;
      ++i;
      continue;
    }
    if (std::strcmp(word, "-fdiagnostics-plain-output") == 0) {
      capacity += plain_output_count - 1;
      decoded = static_cast<decoded_option *>(
          xrealloc(decoded, capacity * sizeof(decoded_option)));
      for (unsigned j = 0; j < plain_output_count; ++j) {
        decode_cmdline_option_n(&plain_output_words[j], 1, lang_mask, &decoded[count]);
        decoded[count++].argv_index = static_cast<int>(i);
      }
      ++i;
      continue;
    }
    unsigned used = decode_cmdline_option_n(argv + i, argc - i, lang_mask, &decoded[count]);
    decoded[count++].argv_index = static_cast<int>(i);
    i += used;
  }

  prune_options(&decoded, &count);
  *out = decoded;
  *out_count = count;
}
