// Classifying the inputs through the compilers table and running the spec
// of every input.
#include "driver/compilers.h"

#include <cstring>

#include "diagnostics/diagnostic.h"
#include "driver/compare-debug.h"
#include "driver/driver-state.h"
#include "driver/switches.h"
#include "options/option-table.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"

std::deque<compiler_entry> compilers_table;
std::vector<char> explicit_link_files;

void init_compilers_table() {
  compilers_table.assign(default_compilers, default_compilers + default_compilers_count);
}

void add_compiler(const char *key, const char *spec) {
  compilers_table.push_back({key, spec, nullptr, 0, 0});
}

namespace {

// The row whose key is "@" followed by LANGUAGE, searching from the end.
compiler_entry *find_language_row(const char *language, std::size_t language_length) {
  for (auto row = compilers_table.rbegin(); row != compilers_table.rend(); ++row)
    if (row->key[0] == '@' && std::strlen(row->key + 1) == language_length &&
        std::memcmp(row->key + 1, language, language_length) == 0)
      return &*row;
  return nullptr;
}

compiler_entry *lookup_language(const char *language) {
  compiler_entry *row = find_language_row(language, std::strlen(language));
  if (!row)
    error_noloc("language %s not recognized", language);
  return row;
}

bool is_standard_input(const char *name, std::size_t length) {
  return length == 1 && name[0] == '-';
}

// A suffix key matches a name that is longer than the key and ends with it.
bool key_ends_name(const char *key, const char *name, std::size_t length) {
  std::size_t key_length = std::strlen(key);
  return key_length < length && std::memcmp(key, name + length - key_length, key_length) == 0;
}

} // namespace

compiler_entry *lookup_compiler(const char *name, std::size_t length, const char *language) {
  if (language) {
    if (language[0] == '*')
      return nullptr;
    compiler_entry *row = lookup_language(language);
    // A header from standard input can only be preprocessed.
    if (row && is_standard_input(name, length) && !preprocess_only_given &&
        (std::strcmp(row->key, "@c-header") == 0 || std::strcmp(row->key, "@c++-header") == 0))
      fatal_error(UNKNOWN_LOCATION, "cannot use %<-%> as input filename for a precompiled header");
    return row;
  }

  compiler_entry *found = nullptr;
  for (auto row = compilers_table.rbegin(); row != compilers_table.rend() && !found; ++row)
    if (is_standard_input(name, length) ? std::strcmp(row->key, "-") == 0
                                        : key_ends_name(row->key, name, length))
      found = &*row;
  if (!found || found->spec[0] != '@')
    return found;
  if (std::strcmp(found->spec, "@*") == 0)
    return nullptr;
  return lookup_language(found->spec + 1);
}

bool check_inputs() {
  if (input_count == implicit_library_count)
    fatal_error(UNKNOWN_LOCATION, "no input files");
  if (seen_error())
    return true;

  output_files.assign(static_cast<std::size_t>(input_count), nullptr);
  explicit_link_files.assign(static_cast<std::size_t>(input_count), 0);

  bool combine = output_given || global_options.x_flag_wpa;
  int compiled_count = 0;
  compiler_entry *remembered = nullptr;
  for (int i = 0; i < input_count; i++) {
    input_entry &in = input_entries[i];
    compiler_entry *row = lookup_compiler(in.name, std::strlen(in.name), in.language);
    if (row) {
      if (!row->combinable)
        combine = false;
      if (compiled_count == 0 || row == remembered || !in.language ||
          std::strcmp(in.language, "*") == 0) {
        compiled_count++;
        remembered = row;
      }
      in.compiler = row;
    } else {
      if (!(compiled_count != 0 && remembered && in.language && std::strcmp(in.language, "*") != 0))
        explicit_link_files[static_cast<std::size_t>(i)] = 1;
      in.compiler = nullptr;
    }
    in.compiled = false;
    in.preprocessed = false;
  }

  if (!combine && stops_before_link && output_given && compiled_count > 1)
    fatal_error(UNKNOWN_LOCATION,
                "cannot specify %<-o%> with %<-c%>, %<-S%> or %<-E%> with multiple files");
  return false;
}

namespace {

void fail_input() {
  delete_failure_files();
  diagnostic_count(kind_error)++;
  forget_failure_files();
}

// Run the spec of input I; true when it succeeded.
bool compile_input(int i) {
  input_entry &in = input_entries[i];
  if (current_compiler->spec[0] == '#') {
    error_noloc("%s: %s compiler not installed on this system", in.name,
                current_compiler->spec + 1);
    return false;
  }

  if (compare_debug_mode)
    release_compare_debug_dumps();
  int value = run_spec(current_compiler->spec);
  in.compiled = true;
  if (value < 0) {
    if (compare_debug_mode)
      release_compare_debug_dumps();
    return false;
  }
  if (!compare_debug_mode || !compare_debug_dumps[0]) {
    release_compare_debug_dumps();
    return true;
  }
  return compare_debug_second_compilation(in.name, current_compiler->spec);
}

} // namespace

void do_spec_on_infiles() {
  for (int i = 0; i < input_count; i++) {
    input_entry &in = input_entries[i];
    input_number = i;
    set_current_input(in.name);
    if (in.compiled)
      continue;
    output_files[static_cast<std::size_t>(i)] = in.name;
    // Looked up again rather than taken from in.compiler so that an
    // unknown language is reported by this pass too; the row found is
    // otherwise the same.
    current_compiler = lookup_compiler(in.name, std::strlen(in.name), in.language);
    if (!current_compiler) {
      explicit_link_files[static_cast<std::size_t>(i)] = 1;
      forget_failure_files();
      continue;
    }
    if (compile_input(i))
      forget_failure_files();
    else
      fail_input();
  }

  if (input_count) {
    for (int i = 0; i < input_count; i++) {
      const input_entry &in = input_entries[i];
      if (in.compiler || (in.language && in.language[0] != '*')) {
        set_current_input(in.name);
        break;
      }
    }
  }

  if (seen_error())
    return;
  input_number = input_count;
}
