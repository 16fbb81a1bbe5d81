// The C++ language driver hook of vrk++: decides whether the C++ run-time
// library is needed and appends it (with the math library) at the end of
// the command line, compiles ".c", ".h" and ".i" files as C++, and removes
// the options only this hook understands.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "driver/lang-hook.h"
#include "options/option-table.h"
#include "options/opts-common.h"
#include "support/xmalloc.h"

namespace {

// Per-option marks.
enum : std::uint32_t {
  LANGSPEC = 1u << 1,  // wrap the input in "-x c++..." / "-x none"
  MATHLIB = 1u << 2,   // the user's "-l m"
  WITHLIBC = 1u << 3,  // the user's "-l c"
  SKIPOPT = 1u << 4,   // not passed on
};

// library_need values.
enum { LIB_NOT_NEEDED = -1, LIB_UNKNOWN = 0, LIB_NEEDED = 1, LIB_STATIC = 2 };

bool has_suffix(const char *name, std::size_t len, const char *suffix) {
  std::size_t n = std::strlen(suffix);
  return len >= n && std::memcmp(name + len - n, suffix, n) == 0;
}

bool is_header_name(const char *name, std::size_t len) {
  if (len > 2 && (has_suffix(name, len, ".H") || has_suffix(name, len, ".h")))
    return true;
  if (len > 4)
    for (const char *s : {".hpp", ".hxx", ".h++", ".HPP", ".tcc"})
      if (has_suffix(name, len, s))
        return true;
  if (len > 3 && (has_suffix(name, len, ".hp") || has_suffix(name, len, ".hh")))
    return true;
  return false;
}

bool is_cxx_language(const char *lang) {
  for (const char *l : {"c++", "c++-cpp-output", "objective-c++", "objective-c++-cpp-output"})
    if (lang && std::strcmp(lang, l) == 0)
      return true;
  return false;
}

const char *wrap_language(const char *name) {
  switch (name[std::strlen(name) - 1]) {
  case 'h':
    return "c++-header";
  case 'i':
    return "c++-cpp-output";
  default:
    return "c++";
  }
}

// What the command line says about the C++ library: the marks of each
// option, whether the library is needed, and the facts that decide how it
// is linked.
struct cxx_scan {
  explicit cxx_scan(unsigned count) : marks(count, 0) {}

  std::vector<std::uint32_t> marks;
  int library_need = LIB_UNKNOWN;
  bool skip_next_file = false;
  bool math_wanted = true;
  int profile_count = 0;
  bool link_static = false;
  bool shared_runtime = true;
  bool contracts_seen = false;
  unsigned extra_slots = 0;  // words added around wrapped inputs

  void need_library() {
    if (library_need == LIB_UNKNOWN)
      library_need = LIB_NEEDED;
  }

  // The input file ARG at position I.
  void note_input(unsigned i, const char *arg) {
    std::size_t len = std::strlen(arg);
    if (len <= 1)
      return;
    if (skip_next_file) {
      skip_next_file = false;
      return;
    }
    if (len > 2 && arg[len - 2] == '.' &&
        (arg[len - 1] == 'c' || arg[len - 1] == 'h' || arg[len - 1] == 'i')) {
      marks[i] |= LANGSPEC;
      extra_slots += 2;
    }
    if (!is_header_name(arg, len))
      need_library();
  }

  void note(unsigned i, const decoded_option &d) {
    const char *arg = d.arg;
    switch (d.opt_index) {
    case OPT_nostdlib:
    case OPT_nodefaultlibs:
    case OPT_r:
    case OPT_c:
    case OPT_S:
    case OPT_E:
    case OPT_M:
    case OPT_MM:
    case OPT_fsyntax_only:
      library_need = LIB_NOT_NEEDED;
      break;
    case OPT_nostdlib__:
      library_need = LIB_NOT_NEEDED;
      marks[i] |= SKIPOPT;
      break;
    case OPT_static_libstdc__:
      if (library_need != LIB_NOT_NEEDED)
        library_need = LIB_STATIC;
      marks[i] |= SKIPOPT;
      break;
    case OPT_Wl_:
    case OPT_Xlinker:
      need_library();
      break;
    case OPT_l:
      if (std::strcmp(arg, "m") == 0) {
        marks[i] |= MATHLIB;
        math_wanted = false;
      } else if (std::strcmp(arg, "c") == 0) {
        marks[i] |= WITHLIBC;
      } else {
        need_library();
      }
      break;
    case OPT_x:
      skip_next_file = true;
      if (is_cxx_language(arg))
        need_library();
      break;
    case OPT_static:
      link_static = true;
      break;
    case OPT_static_libvrk:
      shared_runtime = false;
      break;
    case OPT_fcontracts:
      if (d.value)
        contracts_seen = true;
      break;
    case OPT_p:
    case OPT_pg:
      profile_count++;
      break;
    default:
      if (d.opt_index == OPTION_INPUT_FILE)
        note_input(i, arg);
      break;
    }
  }
};

// The libraries appended at the end: the C++ library (bracketed for a
// static one), the math library and the C library the user named.  Returns
// the number of libraries added.
int append_libraries(const cxx_scan &scan, const decoded_option *held_math,
                     const decoded_option *held_libc, decoded_option *out, unsigned &n) {
  int added = 0;
  const bool bracket = scan.library_need == LIB_STATIC && !scan.link_static;
  if (scan.contracts_seen) {
    generate_option(OPT_l, "stdc++exp", 1, OPTF_DRIVER, &out[n++]);
    added++;
  }
  if (bracket)
    generate_option(OPT_Wl_, "-Bstatic", 1, OPTF_DRIVER, &out[n++]);
  generate_option(OPT_l, "stdc++", 1, OPTF_DRIVER, &out[n++]);
  added++;
  if (bracket)
    generate_option(OPT_Wl_, "-Bdynamic", 1, OPTF_DRIVER, &out[n++]);
  if (held_math) {
    out[n++] = *held_math;
  } else if (scan.math_wanted) {
    generate_option(OPT_l, scan.profile_count ? "m_p" : "m", 1, OPTF_DRIVER, &out[n++]);
    added++;
  }
  if (held_libc)
    out[n++] = *held_libc;
  return added;
}

} // namespace

void lang_specific_driver(decoded_option **in_decoded, unsigned *in_count,
                          int *added_libraries) {
  decoded_option *decoded = *in_decoded;
  const unsigned count = *in_count;

  cxx_scan scan(count);
  for (unsigned i = 1; i < count; i++)
    if (!(decoded[i].errors & OPTERR_MISSING_ARG))
      scan.note(i, decoded[i]);

  // Room for the wrapped inputs and, at most: -lstdc++exp, -Wl,-Bstatic,
  // -lstdc++, -Wl,-Bdynamic, the math library, -lc, -shared-libvrk.
  const unsigned room = count + scan.extra_slots + 7;
  auto *out = static_cast<decoded_option *>(xmalloc(sizeof(decoded_option) * room));
  unsigned n = 0;
  const bool want_libs = scan.library_need > 0;
  const decoded_option *held_math = nullptr;
  const decoded_option *held_libc = nullptr;

  out[n++] = decoded[0];
  for (unsigned i = 1; i < count; i++) {
    std::uint32_t marks = scan.marks[i];
    if (marks & SKIPOPT)
      continue;
    if ((marks & MATHLIB) && want_libs && !held_math) {
      held_math = &decoded[i];
      continue;
    }
    if ((marks & WITHLIBC) && want_libs && !held_libc) {
      held_libc = &decoded[i];
      continue;
    }
    if (marks & LANGSPEC) {
      generate_option(OPT_x, wrap_language(decoded[i].arg), 1, OPTF_DRIVER, &out[n++]);
      out[n++] = decoded[i];
      generate_option(OPT_x, "none", 1, OPTF_DRIVER, &out[n++]);
      continue;
    }
    out[n++] = decoded[i];
  }

  int added = want_libs ? append_libraries(scan, held_math, held_libc, out, n) : 0;
  if (scan.shared_runtime && !scan.link_static)
    generate_option(OPT_shared_libvrk, nullptr, 1, OPTF_DRIVER, &out[n++]);

  *in_decoded = out;
  *in_count = n;
  *added_libraries += added;
}
