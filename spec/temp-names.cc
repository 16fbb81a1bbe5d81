// Temporary and output names: %g, %u, %U, %j, %m and %|.  Generated names
// are remembered by suffix and family for the whole run, so that every use
// of one suffix yields the same file for all inputs; under -save-temps the
// names are kept names made from the auxiliary directory and the input.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "options/option-table.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"
#include "support/text.h"
#include "support/xmalloc.h"

struct temp_name_entry {
  const char *suffix;
  int suffix_length;
  bool unique;
  const char *filename;
  int filename_length;
  temp_name_entry *next;
};

namespace {

bool is_suffix_char(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.';
}

// "/dev/null" can take output: it exists, is no directory and is writable.
bool dev_null_usable(temp_name_state &temps) {
  if (temps.dev_null_usable < 0) {
    struct stat st;
    temps.dev_null_usable =
        stat("/dev/null", &st) == 0 && !S_ISDIR(st.st_mode) && access("/dev/null", W_OK) == 0;
  }
  return temps.dev_null_usable != 0;
}

// Whether NAME denotes the current input file itself.
bool names_the_input(spec_interpreter &in, const std::string &name) {
  const char *input_name = in.input.name;
  temp_name_state &temps = in.temps;
  using identity = temp_name_state::identity;
  if (input_name && name == input_name)
    return true;
  if (temps.input_identity == identity::not_taken) {
    struct stat st;
    if (input_name && stat(input_name, &st) == 0) {
      temps.input_identity = identity::taken;
      temps.input_device = st.st_dev;
      temps.input_inode = st.st_ino;
    } else {
      temps.input_identity = identity::failed;
    }
  }
  if (temps.input_identity != identity::taken)
    return false;
  struct stat st;
  return stat(name.c_str(), &st) == 0 && st.st_dev == temps.input_device &&
         st.st_ino == temps.input_inode;
}

// The name kept under -save-temps for SUFFIX.
std::string kept_name(const spec_interpreter &in, const std::string &suffix) {
  const compilation &comp = in.comp;
  const input_state &input = in.input;
  std::string name;
  if (comp.aux_dir && comp.aux_dir_length)
    name.append(comp.aux_dir, static_cast<std::size_t>(comp.aux_dir_length));
  if (comp.output_stem_length)
    name.append(comp.output_stem, static_cast<std::size_t>(comp.output_stem_length));
  else if (input.base && input.stem_length)
    name.append(input.base, static_cast<std::size_t>(input.stem_length));
  std::size_t skip = 0;
  if (!comp.output_stem_length && !input.stem_length && !suffix.empty() &&
      !comp.aux_dir_dash_added)
    skip = 1;
  name.append(suffix, skip, std::string::npos);
  return name;
}

temp_name_entry *find_memo(const temp_name_state &temps, const std::string &suffix, bool unique) {
  for (temp_name_entry *t = temps.memo; t; t = t->next)
    if (t->unique == unique && t->suffix_length == static_cast<int>(suffix.size()) &&
        suffix.compare(0, suffix.size(), t->suffix,
                       static_cast<std::size_t>(t->suffix_length)) == 0)
      return t;
  return nullptr;
}

} // namespace

const char *spec_interpreter::do_temp_name_escape(char letter, const char *p, const char *spec) {
  if (letter == 'j' && !comp.save_temps_mode && dev_null_usable(temps)) {
    args.text.append("/dev/null");
    args.delete_mode = 0;
    args.pending = true;
    return p;
  }

  if ((letter == 'm' || letter == '|') && comp.options.x_use_pipes) {
    while (is_suffix_char(*p))
      p++;
    if (p[0] == '%' && p[1] == 'O')
      p += 2;
    if (letter == '|') {
      args.text.append("-");
      args.delete_mode = 0;
      args.pending = true;
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

  if (comp.compare_debug.mode < 0)
    suffix = ".gk" + suffix;

  bool unique = letter == 'u' || letter == 'U' || letter == 'j';

  if (comp.save_temps_mode) {
    std::string name = kept_name(*this, suffix);
    if (!names_the_input(*this, name)) {
      // The NUL ends the argument here: text that follows in the same
      // word is not part of the kept name's argument.
      args.text.append(name.c_str(), name.size() + 1);
      args.delete_mode = 0;
      args.pending = true;
      return p;
    }
  }

  temp_name_entry *t = find_memo(temps, suffix, unique);
  bool make = !t || letter == 'u' || letter == 'j';
  if (!t) {
    t = static_cast<temp_name_entry *>(xcalloc(1, sizeof(temp_name_entry)));
    t->next = temps.memo;
    temps.memo = t;
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

  args.text.append(t->filename, static_cast<std::size_t>(t->filename_length));
  temps.last_generated = t->filename;
  args.delete_mode = 1;
  args.pending = true;
  return p;
}
