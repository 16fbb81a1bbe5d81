// Reading specs files.  The file is read whole, its line ends normalised,
// then scanned item by item: directives, entries (a name line ending in
// ":" and a value that runs to the next blank line) and comments.  Offsets
// in messages count characters of the normalised text.
//
// The scan works on a NUL-terminated copy and never looks past the NUL:
// every lookahead is guarded by the character before it, which is never
// the terminator.
#include "spec/specs-file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "spec/spec-list.h"
#include "support/text.h"

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_alpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// "\n\r" and "\r\n" become "\n"; any other "\r" becomes "\n".
std::string normalise_line_ends(const char *data, std::size_t size) {
  std::string out;
  out.reserve(size);
  for (std::size_t i = 0; i < size; i++) {
    char c = data[i];
    if (c == '\r') {
      if (i > 0 && data[i - 1] == '\n')
        continue;
      if (i + 1 < size && data[i + 1] == '\n')
        continue;
      c = '\n';
    }
    out += c;
  }
  return out;
}

// Blanks, tabs, newlines and comment lines; a fully blank line pair (three
// newlines) is a delimiter, so the skip stops at its second newline.
const char *skip_whitespace(const char *p) {
  for (;;) {
    if (p[0] == '\n' && p[1] == '\n' && p[2] == '\n')
      return p + 1;
    if (*p == '\n' || is_blank(*p)) {
      p++;
    } else if (*p == '#') {
      while (*p && *p != '\n')
        p++;
      if (*p)
        p++;
    } else {
      return p;
    }
  }
}

bool begins_directive(const char *p, const char *word) {
  std::size_t length = std::strlen(word);
  return std::strncmp(p, word, length) == 0 && is_blank(p[length]);
}

// The value between BEGIN and END without backslash-newline pairs and
// without comments (from "#" to the end of its line).
char *strip_value(const char *begin, const char *end) {
  std::string out;
  out.reserve(static_cast<std::size_t>(end - begin));
  for (const char *q = begin; q < end;) {
    if (q[0] == '\\' && q + 1 < end && q[1] == '\n') {
      q += 2;
    } else if (q[0] == '#') {
      while (q < end && *q != '\n')
        q++;
    } else {
      out += *q++;
    }
  }
  return xstrdup(out.c_str());
}

// The files being read, outermost first.  A file that includes itself,
// directly or through other files, would otherwise be read again and again
// until the stack runs out; its identity (not its name, which may be
// spelled differently) tells that it is open already.
struct file_identity {
  dev_t device;
  ino_t inode;
};

void read_file(compilation &comp, const char *name, bool main, bool user,
               std::vector<file_identity> &open_files);

struct specs_reader {
  compilation &comp;
  std::vector<file_identity> &open_files;
  const char *file_name;
  const char *buffer;
  bool main;
  bool user;

  long offset(const char *p) const { return static_cast<long>(p - buffer); }
  // The line (from 1) of P; P never moves back between calls.
  const char *kept_name = nullptr;
  const char *counted_to = nullptr;
  int counted_lines = 1;
  int line_of(const char *p) {
    if (!counted_to)
      counted_to = buffer;
    for (; counted_to < p; ++counted_to)
      if (*counted_to == '\n')
        counted_lines++;
    return counted_lines;
  }

  // %include and %include_noerr: D is the directive, EOL the end of its
  // line, WORD_LENGTH the length of the directive word.
  void include(const char *d, const char *eol, std::size_t word_length, bool missing_ok) {
    const char *q = d + word_length + 1;
    while (is_blank(*q))
      q++;
    if (*q != '<' || eol[-1] != '>')
      fatal_error(UNKNOWN_LOCATION, "specs %%include syntax malformed after %ld characters",
                  offset(q) + 1);
    std::string name(q + 1, eol - 1);
    const search_paths &search = comp.search;
    char *found = search.find_file_on_prefixes(search.startfile_prefixes, name.c_str(), R_OK, true);
    if (found)
      read_file(comp, found, false, user, open_files);
    else if (!missing_ok)
      read_file(comp, name.c_str(), false, user, open_files);
    else if (comp.options.x_verbose_flag)
      notice_text(stderr, "could not find specs file %s\n", name.c_str());
    std::free(found);
  }

  void rename(const char *d, const char *eol) {
    const char *q = d + sizeof "%rename";
    while (is_blank(*q))
      q++;
    if (!is_alpha(*q))
      fatal_error(UNKNOWN_LOCATION, "specs %%rename syntax malformed after %ld characters",
                  offset(q));
    const char *old_end = q;
    while (*old_end && !is_space(*old_end))
      old_end++;
    if (!is_blank(*old_end))
      fatal_error(UNKNOWN_LOCATION, "specs %%rename syntax malformed after %ld characters",
                  offset(old_end));
    std::string old_name(q, old_end);

    const char *r = old_end + 1;
    while (is_blank(*r))
      r++;
    if (!is_alpha(*r))
      fatal_error(UNKNOWN_LOCATION, "specs %%rename syntax malformed after %ld characters",
                  offset(r));
    const char *new_end = r;
    while (*new_end && !is_space(*new_end))
      new_end++;
    if (new_end != eol)
      fatal_error(UNKNOWN_LOCATION, "specs %%rename syntax malformed after %ld characters",
                  offset(new_end));
    std::string new_name(r, new_end);

    named_spec *sl = lookup_spec(old_name.c_str());
    if (!sl)
      fatal_error(UNKNOWN_LOCATION, "specs %s spec was not found to be renamed",
                  old_name.c_str());
    if (old_name == new_name)
      return;
    if (lookup_spec(new_name.c_str()))
      fatal_error(UNKNOWN_LOCATION, "%s: attempt to rename spec %qs to already defined spec %qs",
                  file_name, old_name.c_str(), new_name.c_str());

    if (comp.options.x_verbose_flag)
      notice_text(stderr, "rename spec %s to %s\n", old_name.c_str(), new_name.c_str());
    const char *value = *sl->value_slot;
    define_spec(new_name.c_str(), value ? value : "", user);
    // The old value is not released: it may be the text being interpreted
    // (a file read by the include spec function), see define_spec.
    *sl->value_slot = "";
    sl->value_owned = false;
  }

  // The directive at D; returns where scanning goes on.
  const char *directive(const char *d) {
    const char *eol = d;
    while (*eol && *eol != '\n')
      eol++;
    if (begins_directive(d, "%include"))
      include(d, eol, sizeof "%include" - 1, false);
    else if (begins_directive(d, "%include_noerr"))
      include(d, eol, sizeof "%include_noerr" - 1, true);
    else if (begins_directive(d, "%rename"))
      rename(d, eol);
    else
      fatal_error(UNKNOWN_LOCATION, "specs unknown %% command after %ld characters", offset(d));
    return *eol ? eol + 1 : eol;
  }

  // The entry at P; returns the end of its value.
  const char *entry(const char *p) {
    const char *colon = p;
    while (*colon && *colon != ':' && *colon != '\n')
      colon++;
    if (*colon != ':')
      fatal_error(UNKNOWN_LOCATION, "specs file malformed after %ld characters", offset(colon));
    const char *name_end = colon;
    while (name_end > p && is_blank(name_end[-1]))
      name_end--;
    std::string name(p, name_end);

    // White space before a value is never part of it.  So a value that
    // -dumpspecs prints with leading blanks or tabs (cpp, lib,
    // asm_cpu_spec) reads back without them; that changes no command, as
    // the built-in specs insert those values where an argument begins.
    const char *value = skip_whitespace(colon + 1);
    if (value[0] == '\0' || value[1] == '\0')
      fatal_error(UNKNOWN_LOCATION, "specs file malformed after %ld characters", offset(value));

    // The value ends at the next blank line or at the end of the text.
    const char *end = value;
    while (*end && !(end[0] == '\n' && (end[1] == '\n' || end[1] == '\0')))
      end++;
    char *spec = strip_value(value, end);

    if (name[0] == '*') {
      if (name == "*link_command") {
        named_specs.link_command_spec = spec;
      } else {
        define_spec(name.c_str() + 1, spec, user);
        std::free(spec);
        if (named_spec *sl = lookup_spec(name.c_str() + 1)) {
          if (!kept_name)
            kept_name = xstrdup(file_name);  // the specs live longer than the reader
          sl->origin_file = kept_name;
          sl->origin_line = line_of(value);
        }
      }
    } else {
      comp.compilers.add(xstrdup(name.c_str()), spec);
      if (name.empty())
        named_specs.link_command_spec = spec;
    }
    return end;
  }

  void read() {
    const char *p = buffer;
    for (;;) {
      p = skip_whitespace(p);
      if (!*p)
        break;
      // Main specs files take no directives: a "%" there begins an entry
      // name like any other character.
      if (*p == '%' && !main)
        p = directive(p);
      else
        p = entry(p);
    }
    if (!named_specs.link_command_spec)
      fatal_error(UNKNOWN_LOCATION, "spec file has no spec for linking");
  }
};

[[noreturn]] void cannot_read(const char *name, int fd) {
  int saved = errno;
  if (fd >= 0)
    close(fd);
  errno = saved;
  fatal_error(UNKNOWN_LOCATION, "cannot read spec file %qs: %m", name);
}

void read_file(compilation &comp, const char *name, bool main, bool user,
               std::vector<file_identity> &open_files) {
  if (comp.options.x_verbose_flag)
    notice_text(stderr, "Reading specs from %s\n", name);

  int fd = open(name, O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    cannot_read(name, -1);
  struct stat st;
  if (fstat(fd, &st) != 0)
    cannot_read(name, fd);
  for (const file_identity &open : open_files)
    if (open.device == st.st_dev && open.inode == st.st_ino) {
      close(fd);
      fatal_error(UNKNOWN_LOCATION, "specs file %qs includes itself", name);
    }

  std::string data(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t got = 0;
  while (got < data.size()) {
    ssize_t n = ::read(fd, data.data() + got, data.size() - got);
    if (n < 0) {
      if (errno == EINTR)
        continue;
      cannot_read(name, fd);
    }
    if (n == 0)
      break;
    got += static_cast<std::size_t>(n);
  }
  close(fd);
  data.resize(got);

  // A NUL byte in the file ends the text, as it would for any spec string.
  std::string normalised = normalise_line_ends(data.data(), data.size());
  specs_reader reader{comp, open_files, name, normalised.c_str(), main, user};
  // Popped however reading ends, as the nesting of the reads.
  open_files.push_back({st.st_dev, st.st_ino});
  struct being_read {
    std::vector<file_identity> &files;
    ~being_read() { files.pop_back(); }
  } mark{open_files};
  reader.read();
}

} // namespace

// The list of open files is this call's own: a caller that survives a
// fatal error (a fuzz target) starts afresh with the next file.
void read_specs_file(compilation &comp, const char *name, bool main, bool user) {
  std::vector<file_identity> open_files;
  read_file(comp, name, main, user, open_files);
}
