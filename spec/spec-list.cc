// The named-spec list: building it from the built-in tables, definitions
// from specs files, replacement of static values, lookup, reset, and the
// -dumpspecs text.
#include "spec/spec-list.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "diagnostics/diagnostic.h"
#include "support/text.h"
#include "support/xmalloc.h"

namespace {

// Chain the static entries in table order; the last one points at TAIL.
void link_static_table(named_spec *tail) {
  for (int i = 0; i + 1 < static_spec_count; i++)
    named_specs.static_spec_table[i].next = &named_specs.static_spec_table[i + 1];
  named_specs.static_spec_table[static_spec_count - 1].next = tail;
  named_specs.spec_list = &named_specs.static_spec_table[0];
}

// The text that replaces one library word W (with exception-handling
// library E) in the libvrk spec: static links take both archives, shared
// links take the shared library only where it is needed.
void append_libvrk_expansion(std::string &out, const char *w, const char *e) {
  out += "%{static|static-libvrk|static-pie:";
  out += w;
  out += " ";
  out += e;
  out += "}%{!static:%{!static-libvrk:%{!static-pie:%{!shared-libvrk:";
  out += w;
  out += " --push-state --as-needed ";
  out += "-lvrk_s";
  out += " --pop-state}%{shared-libvrk:";
  out += "-lvrk_s";
  out += "%{!shared: ";
  out += w;
  out += "}}}}}";
}

char *rewrite_libvrk(const char *value) {
  std::string out;
  const char *p = value;
  bool word_start = true;
  while (*p) {
    if (word_start) {
      std::size_t skip = 0;
      if (std::strncmp(p, "-lvrk", 5) == 0) {
        append_libvrk_expansion(out, "-lvrk", "-lvrk_eh");
        skip = 5;
      } else if (std::strncmp(p, "libvrk.a%s", 10) == 0) {
        append_libvrk_expansion(out, "libvrk.a%s", "libvrk_eh.a%s");
        skip = 10;
      }
      if (skip) {
        p += skip;
        if (!*p)
          break;
        // The character after a replaced word is copied as it is.
        word_start = *p == ' ' || *p == '\t';
        out += *p++;
        continue;
      }
    }
    word_start = *p == ' ' || *p == '\t';
    out += *p++;
  }
  return xstrdup(out.c_str());
}

bool is_white(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

bool native_configuration() {
  const char *cross_compile = named_specs.cross_compile_spec;
  return cross_compile && cross_compile[0] == '0';
}

void install_builtin_specs(bool verbose) {
  if (verbose)
    notice_text(stderr, "Using built-in specs.\n");

  named_spec *extra = static_cast<named_spec *>(xcalloc(1, sizeof(named_spec)));
  extra->name = extra_spec_table[0].name;
  extra->value = extra_spec_table[0].value;
  extra->value_slot = &extra->value;
  extra->next = nullptr;
  extra->name_length = static_cast<int>(std::strlen(extra->name));
  extra->user_set = false;
  extra->value_owned = false;
  extra->default_value = extra_spec_table[0].value;

  link_static_table(extra);

  const char *&libvrk = named_specs.libvrk_spec;
  libvrk = rewrite_libvrk(libvrk ? libvrk : "");
  const char *&link = named_specs.link_spec;
  link = concat("%{!static|static-pie:--eh-frame-hdr} ", link ? link : "", nullptr);

  named_specs.spec_list = &named_specs.static_spec_table[0];
}

named_spec *lookup_spec(const char *name, int length) {
  for (named_spec *sl = named_specs.spec_list; sl; sl = sl->next)
    if (sl->name_length == length && std::strncmp(sl->name, name, length) == 0)
      return sl;
  return nullptr;
}

named_spec *lookup_spec(const char *name) {
  return lookup_spec(name, static_cast<int>(std::strlen(name)));
}

void define_spec(const char *name, const char *value, bool user_set) {
  if (!named_specs.spec_list)
    link_static_table(nullptr);

  named_spec *sl = lookup_spec(name);
  if (!sl) {
    sl = static_cast<named_spec *>(xcalloc(1, sizeof(named_spec)));
    sl->name = xstrdup(name);
    sl->name_length = static_cast<int>(std::strlen(name));
    sl->value = "";
    sl->value_slot = &sl->value;
    sl->value_owned = false;
    sl->default_value = nullptr;
    sl->next = named_specs.spec_list;
    named_specs.spec_list = sl;
  }

  const char *old = *sl->value_slot;
  char *new_value;
  if (value[0] == '+' && is_white(value[1]))
    new_value = concat(old ? old : "", value + 1, nullptr);
  else
    new_value = xstrdup(value);

  // The old value is kept: a specs file read while specs are interpreted
  // (the include spec function) may redefine a spec whose text is being
  // interpreted at that moment.  Texts of a run live until it ends.
  *sl->value_slot = new_value;
  sl->user_set = user_set;
  sl->value_owned = true;
  sl->origin_file = nullptr;
  sl->origin_line = 0;
}

void set_static_spec(const char **slot, const char *value, bool owned) {
  for (named_spec &sl : named_specs.static_spec_table) {
    if (sl.value_slot != slot)
      continue;
    if (sl.value_owned)
      std::free(const_cast<char *>(*slot));
    *slot = value;
    sl.value_owned = owned;
    return;
  }
  vrk_unreachable();
}

void reset_specs() {
  named_spec *first_static = &named_specs.static_spec_table[0];
  for (named_spec *sl = named_specs.spec_list; sl && sl != first_static;) {
    named_spec *next = sl->next;
    if (sl->value_owned)
      std::free(const_cast<char *>(sl->value));
    std::free(const_cast<char *>(sl->name));
    std::free(sl);
    sl = next;
  }
  named_specs.spec_list = nullptr;

  for (named_spec &sl : named_specs.static_spec_table) {
    if (sl.value_owned) {
      std::free(const_cast<char *>(*sl.value_slot));
      sl.value_owned = false;
    }
    *sl.value_slot = sl.default_value;
    sl.user_set = false;
  }
  named_specs.link_command_spec = default_link_command_spec;
}

void print_specs(std::FILE *stream) {
  for (named_spec *sl = named_specs.spec_list; sl; sl = sl->next)
    std::fprintf(stream, "*%s:\n%s\n\n", sl->name, *sl->value_slot ? *sl->value_slot : "");
  if (named_specs.link_command_spec)
    std::fprintf(stream, "*link_command:\n%s\n\n", named_specs.link_command_spec);
}

void print_specs_and_exit(bool verbose) {
  if (!named_specs.spec_list)
    install_builtin_specs(verbose);
  print_specs(stdout);
  std::fflush(stdout);
  std::exit(0);
}
