// Lookups in the compilers table.
#include "compilation/compilers.h"

#include <cstring>

#include "diagnostics/diagnostic.h"

namespace {

bool is_standard_input(const char *name, std::size_t length) {
  return length == 1 && name[0] == '-';
}

// A suffix key matches a name that is longer than the key and ends with it.
bool key_ends_name(const char *key, const char *name, std::size_t length) {
  std::size_t key_length = std::strlen(key);
  return key_length < length && std::memcmp(key, name + length - key_length, key_length) == 0;
}

} // namespace

// The row whose key is "@" followed by LANGUAGE, searching from the end.
compiler_entry *compilers_table::find_language_row(const char *language,
                                                   std::size_t language_length) {
  for (auto row = rows.rbegin(); row != rows.rend(); ++row)
    if (row->key[0] == '@' && std::strlen(row->key + 1) == language_length &&
        std::memcmp(row->key + 1, language, language_length) == 0)
      return &*row;
  return nullptr;
}

compiler_entry *compilers_table::lookup_language(const char *language) {
  compiler_entry *row = find_language_row(language, std::strlen(language));
  if (!row)
    error_noloc("language %s not recognized", language);
  return row;
}

compiler_entry *compilers_table::lookup(const char *name, std::size_t length,
                                        const char *language, bool preprocess_only) {
  if (language) {
    if (language[0] == '*')
      return nullptr;
    compiler_entry *row = lookup_language(language);
    // A header from standard input can only be preprocessed.
    if (row && is_standard_input(name, length) && !preprocess_only &&
        (std::strcmp(row->key, "@c-header") == 0 || std::strcmp(row->key, "@c++-header") == 0))
      fatal_error(UNKNOWN_LOCATION, "cannot use %<-%> as input filename for a precompiled header");
    return row;
  }

  compiler_entry *found = nullptr;
  for (auto row = rows.rbegin(); row != rows.rend() && !found; ++row)
    if (is_standard_input(name, length) ? std::strcmp(row->key, "-") == 0
                                        : key_ends_name(row->key, name, length))
      found = &*row;
  if (!found || found->spec[0] != '@')
    return found;
  if (std::strcmp(found->spec, "@*") == 0)
    return nullptr;
  return lookup_language(found->spec + 1);
}
