// Temporary and output names: %g, %u, %U, %j, %m and %|.  Generated names
// are remembered by suffix and family for the whole run, so that every use
// of one suffix yields the same file for all inputs; under -save-temps the
// names are kept names made from the auxiliary directory and the input.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "diagnostics/diagnostic.h"
#include "driver/driver-state.h"
#include "options/option-table.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"
#include "support/text.h"
#include "support/xmalloc.h"

namespace {

struct temp_name_entry {
  const char *suffix;
  int suffix_length;
  bool unique;
  const char *filename;
  int filename_length;
  temp_name_entry *next;
};

// Newest first.
temp_name_entry *temp_name_memo;

// The generated name that the last escape appended.
const char *last_generated_name;

// Device and inode of the current input, taken once per input.
enum class identity_state { not_taken, taken, failed };
identity_state input_identity = identity_state::not_taken;
dev_t input_device;
ino_t input_inode;

bool is_suffix_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.';
}

// "/dev/null" can take output: it exists, is no directory and is writable.
bool dev_null_usable() {
  static int usable = -1;
  if (usable < 0) {
    struct stat st;
    usable = stat("/dev/null", &st) == 0 && !S_ISDIR(st.st_mode) && access("/dev/null", W_OK) == 0;
  }
  return usable != 0;
}

// Whether NAME denotes the current input file itself.
bool names_the_input(const std::string &name) {
  if (input_name && name == input_name)
    return true;
  if (input_identity == identity_state::not_taken) {
    struct stat st;
    if (input_name && stat(input_name, &st) == 0) {
      input_identity = identity_state::taken;
      input_device = st.st_dev;
      input_inode = st.st_ino;
    } else {
      input_identity = identity_state::failed;
    }
  }
  if (input_identity != identity_state::taken)
    return false;
  struct stat st;
  return stat(name.c_str(), &st) == 0 && st.st_dev == input_device && st.st_ino == input_inode;
}

// The name kept under -save-temps for SUFFIX.
std::string kept_name(const std::string &suffix) {
  std::string name;
  if (aux_dir && aux_dir_length)
    name.append(aux_dir, static_cast<std::size_t>(aux_dir_length));
  if (output_stem_length)
    name.append(output_stem, static_cast<std::size_t>(output_stem_length));
  else if (input_base && input_stem_length)
    name.append(input_base, static_cast<std::size_t>(input_stem_length));
  std::size_t skip = 0;
  if (!output_stem_length && !input_stem_length && !suffix.empty() && !aux_dir_dash_added)
    skip = 1;
  name.append(suffix, skip, std::string::npos);
  return name;
}

temp_name_entry *find_memo(const std::string &suffix, bool unique) {
  for (temp_name_entry *t = temp_name_memo; t; t = t->next)
    if (t->unique == unique && t->suffix_length == static_cast<int>(suffix.size()) &&
        suffix.compare(0, suffix.size(), t->suffix, static_cast<std::size_t>(t->suffix_length)) == 0)
      return t;
  return nullptr;
}

} // namespace

void forget_input_identity() { input_identity = identity_state::not_taken; }

void reset_temp_name_memo() {
  temp_name_memo = nullptr;
  last_generated_name = nullptr;
}

const char *last_temp_base() { return last_generated_name; }

const char *do_temp_name_escape(char letter, const char *p, const char *spec) {
  if (letter == 'j' && !save_temps_mode && dev_null_usable()) {
    arg_text.append("/dev/null");
    arg_delete_mode = 0;
    arg_pending = true;
    return p;
  }

  if ((letter == 'm' || letter == '|') && global_options.x_use_pipes) {
    while (is_suffix_char(*p))
      p++;
    if (p[0] == '%' && p[1] == 'O')
      p += 2;
    if (letter == '|') {
      arg_text.append("-");
      arg_delete_mode = 0;
      arg_pending = true;
    }
    return p;
  }

  const char *start = p;
  while (is_suffix_char(*p))
    p++;
  std::string suffix(start, static_cast<std::size_t>(p - start));
  if (p[0] == '%' && p[1] == 'O') {
    p += 2;
    suffix += ".o";
    if (is_suffix_char(*p))
      fatal_error(UNKNOWN_LOCATION, "spec %qs has invalid %<%%0%c%>", spec, *p);
  }

  if (compare_debug_mode < 0)
    suffix = ".gk" + suffix;

  bool unique = letter == 'u' || letter == 'U' || letter == 'j';

  if (save_temps_mode) {
    std::string name = kept_name(suffix);
    if (!names_the_input(name)) {
      // The NUL ends the argument here: text that follows in the same
      // word is not part of the kept name's argument.
      arg_text.append(name.c_str(), name.size() + 1);
      arg_delete_mode = 0;
      arg_pending = true;
      return p;
    }
  }

  temp_name_entry *t = find_memo(suffix, unique);
  bool make = !t || letter == 'u' || letter == 'j';
  if (!t) {
    t = static_cast<temp_name_entry *>(xcalloc(1, sizeof(temp_name_entry)));
    t->next = temp_name_memo;
    temp_name_memo = t;
  }
  if (make) {
    t->suffix = xstrdup(suffix.c_str());
    t->suffix_length = static_cast<int>(suffix.size());
    t->unique = unique;
    // Registered at once: the argument the name goes into may never be
    // finished (a fatal error), or may not be the file's name ("-%g.s").
    t->filename = create_registered_temp_file(suffix.c_str(), false);
    t->filename_length = static_cast<int>(std::strlen(t->filename));
  }

  arg_text.append(t->filename, static_cast<std::size_t>(t->filename_length));
  last_generated_name = t->filename;
  arg_delete_mode = 1;
  arg_pending = true;
  return p;
}
