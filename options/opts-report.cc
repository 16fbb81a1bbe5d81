// Reporting and dispatch of one decoded option: the warning an option
// carries, unknown, ignored and removed options, the decoding errors with
// their notes and suggestions, and the hand-over to the handlers.
#include <cstring>
#include <string>
#include <vector>

#include "diagnostics/diagnostic-reporter.h"
#include "options/opts-common.h"
#include "options/opts.h"
#include "options/spellcheck.h"

namespace {

// The error for an enumerated word that is not accepted, then the note
// listing the accepted words with a suggestion when one is close.
void report_bad_enum(location_t loc, const option_record &r, const char *opt, const char *arg,
                     unsigned lang_mask) {
  const option_enum &e = option_enums[r.var_enum];
  if (e.unknown_message != nullptr)
    error_at(loc, e.unknown_message, arg);
  else
    error_at(loc, "unrecognized argument in option %qs", opt);

  std::vector<const char *> candidates;
  std::string words;
  for (const option_enum_value *v = e.values; v->text != nullptr; ++v) {
    if ((v->flags & ENUMV_DRIVER_ONLY) && !(lang_mask & OPTF_DRIVER))
      continue;
    if (!words.empty())
      words += ' ';
    words += v->text;
    candidates.push_back(v->text);
  }
  const char *hint = find_closest_string(arg, &candidates);
  if (hint != nullptr)
    inform(loc, "valid arguments to %qs are: %s; did you mean %qs?", r.text, words.c_str(),
           hint);
  else
    inform(loc, "valid arguments to %qs are: %s", r.text, words.c_str());
}

struct enum_item {
  const char *start;
  std::size_t len;
};

// Finds what is wrong with a set-valued argument and reports it; false
// when the argument turns out to be fine.
bool report_bad_enum_set(location_t loc, const option_record &r, const char *opt,
                         const char *arg, unsigned lang_mask) {
  const option_enum_value *values = option_enums[r.var_enum].values;
  std::vector<enum_item> items;
  for (const char *p = arg;;) {
    const char *comma = std::strchr(p, ',');
    std::size_t len = comma ? std::size_t(comma - p) : std::strlen(p);
    items.push_back({p, len});
    if (comma == nullptr)
      break;
    p = comma + 1;
  }

  std::vector<unsigned> used_groups;
  auto group_used = [&](unsigned g) {
    for (unsigned u : used_groups)
      if (u == g)
        return true;
    return false;
  };
  for (std::size_t i = 0; i < items.size(); ++i) {
    const enum_item &item = items[i];
    std::string text(item.start, item.len);
    int value = 0;
    int pos = item.len == 0 ? -1 : enum_lookup(values, item.start, item.len, &value, lang_mask);
    if (pos < 0) {
      report_bad_enum(loc, r, opt, text.c_str(), lang_mask);
      return true;
    }
    unsigned group = values[pos].flags >> ENUMV_GROUP_SHIFT;
    if (r.var_value == 1) {
      if (group_used(group)) {
        // Pair the offending item with the first item of its group.
        for (std::size_t j = 0; j < i; ++j) {
          int other_value = 0;
          int other = enum_lookup(values, items[j].start, items[j].len, &other_value, lang_mask);
          if (other < 0 || (values[other].flags >> ENUMV_GROUP_SHIFT) != group)
            continue;
          std::string first(items[j].start, items[j].len);
          error_at(loc, "invalid argument in option %qs", opt);
          if (first != text)
            inform(loc, "%qs is mutually exclusive with %qs and cannot be specified together",
                   first.c_str(), text.c_str());
          else
            inform(loc, "%qs specified multiple times in the same option", text.c_str());
          return true;
        }
      }
      used_groups.push_back(group);
    } else if (group != 0) {
      report_bad_enum(loc, r, opt, text.c_str(), lang_mask);
      return true;
    }
  }
  return false;
}

}  // namespace

bool report_decode_errors(location_t loc, option_index opt_index, const char *opt,
                          const char *arg, std::uint32_t errors, unsigned lang_mask) {
  const option_record &r = option_table[opt_index];
  if (errors & OPTERR_DISABLED) {
    error_at(loc, "command-line option %qs is not supported by this configuration", opt);
    return true;
  }
  if (errors & OPTERR_MISSING_ARG) {
    if (r.missing_arg_message != nullptr)
      error_at(loc, r.missing_arg_message, opt);
    else
      error_at(loc, "missing argument to %qs", opt);
    return true;
  }
  if (errors & OPTERR_BAD_UINT) {
    if (r.attrs & attr_size_suffix)
      error_at(loc,
               "argument to %qs should be a non-negative integer optionally followed by a "
               "size unit",
               r.text);
    else
      error_at(loc, "argument to %qs should be a non-negative integer", r.text);
    return true;
  }
  if (errors & OPTERR_RANGE) {
    error_at(loc, "argument to %qs is not between %d and %d", r.text, int(r.range_min),
             int(r.range_max));
    return true;
  }
  if ((errors & OPTERR_BAD_ENUM_SET) && arg != nullptr &&
      report_bad_enum_set(loc, r, opt, arg, lang_mask))
    return true;
  if ((errors & OPTERR_BAD_ENUM) && arg != nullptr) {
    report_bad_enum(loc, r, opt, arg, lang_mask);
    return true;
  }
  return false;
}

void read_cmdline_option(option_values *opts, option_values *opts_set, decoded_option *decoded,
                         location_t loc, unsigned lang_mask, const option_handler_set *handlers,
                         diagnostic_reporter *dc) {
  if (decoded->warning_message != nullptr)
    warning_at(loc, 0, decoded->warning_message, decoded->orig_text);

  option_index opt_index = decoded->opt_index;
  if (opt_index == OPTION_UNKNOWN) {
    if (handlers->unknown_option_callback == nullptr ||
        handlers->unknown_option_callback(decoded, handlers->context))
      error_at(loc, "unrecognized command-line option %qs", decoded->arg);
    return;
  }
  if (opt_index == OPTION_IGNORED)
    return;
  if (opt_index == OPTION_REMOVED) {
    if (decoded->value != 0)
      warning_at(loc, 0, "switch %qs is no longer supported", decoded->orig_text);
    return;
  }
  vrk_assert(opt_index < option_count);

  if (decoded->errors != 0) {
    if (report_decode_errors(loc, opt_index, decoded->orig_text, decoded->arg, decoded->errors,
                             lang_mask))
      return;
    if (decoded->errors & OPTERR_WRONG_LANG) {
      if (handlers->wrong_lang_callback != nullptr)
        handlers->wrong_lang_callback(decoded, lang_mask, handlers->context);
      return;
    }
    vrk_unreachable();
  }

  if (!dispatch_option(opts, opts_set, decoded, lang_mask, loc, handlers, dc))
    error_at(loc, "unrecognized command-line option %qs", decoded->orig_text);
}
