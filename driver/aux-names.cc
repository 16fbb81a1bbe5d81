// Auxiliary-output names: which directory prefix (aux_dir) and stem
// (output_stem) the spec interpreter uses for dump files and kept
// temporaries, derived from -o, -dumpdir, -dumpbase, -dumpbase-ext,
// -save-temps and the kind of run.
#include "driver/aux-names.h"

#include <cstdlib>
#include <cstring>

#include "diagnostics/diagnostic.h"
#include "compilation/compilation.h"
#include "support/text.h"

namespace {

bool is_null_output(const char *name) {
  return std::strcmp(name, "-") == 0 || std::strcmp(name, "/dev/null") == 0;
}

const char *last_component(const char *name) {
  const char *slash = std::strrchr(name, '/');
  return slash ? slash + 1 : name;
}

bool ends_with(const char *text, const char *suffix) {
  std::size_t n = std::strlen(text), m = std::strlen(suffix);
  return n >= m && std::strcmp(text + n - m, suffix) == 0;
}

// The "." that starts NAME's suffix, or null; a leading dot is no suffix.
const char *suffix_dot(const char *name) {
  const char *dot = std::strrchr(name, '.');
  return dot && dot != name ? dot : nullptr;
}

struct state {
  const aux_name_input &in;
  aux_name_result r;
  bool stem_counts = false;  // stem set by rule S or by a non-empty base

  void set_stem(const char *stem, bool counts) {
    vrk_assert(!r.output_stem);
    r.output_stem = stem;
    stem_counts = counts;
  }

  // Rule S: the stem of the output name.
  void stem_from_output() {
    const char *o = in.output_name;
    if (!o || is_null_output(o))
      return;
    const char *base = last_component(o);
    const char *dot = suffix_dot(base);
    set_stem(dot ? xstrndup(base, static_cast<std::size_t>(dot - base)) : xstrdup(base), true);
  }

  void add_dash_dir(const char *name) {
    r.aux_dir = concat(r.aux_dir ? r.aux_dir : "", name, "-", nullptr);
    r.aux_dir_dash_added = true;
  }

  // Base name in the directory: dump files become "<dir><base>-<input>...".
  void append_base() {
    const char *b = r.aux_base;
    char *trimmed = r.aux_base_ext
                        ? xstrndup(b, std::strlen(b) - std::strlen(r.aux_base_ext))
                        : xstrdup(b);
    add_dash_dir(trimmed);
    std::free(trimmed);
    r.aux_base = nullptr;
    r.aux_base_ext = nullptr;
    if (in.stops_before_link)
      stem_from_output();
  }

  // Rule L: name auxiliary outputs after the executable being linked.
  void link_rule() {
    char *n;
    const char *o = in.output_name;
    if (!o || is_null_output(o)) {
      n = xstrdup("a");
    } else {
      const char *base = last_component(o);
      std::size_t len = std::strlen(base);
      const char *x = r.aux_base_ext;
      if (x && len > std::strlen(x) && ends_with(base, x)) {
        n = xstrndup(base, len - std::strlen(x));
      } else if (!x && ((suffix_dot(base) && std::strcmp(suffix_dot(base), ".exe") == 0) ||
                        std::strcmp(base, "a.out") == 0)) {
        n = xstrndup(base, static_cast<std::size_t>(suffix_dot(base) - base));
      } else {
        n = xstrdup(base);
      }
    }

    if (r.aux_base) {
      set_stem(n, false);
    } else if (in.compilable_count == 1 && single_input_named_after(n)) {
      set_stem(n, false);
    } else {
      add_dash_dir(n);
      std::free(n);
    }
    r.aux_base_ext = nullptr;
  }

  // The only compilable input is "<n>.<suffix>" with no further dot.
  bool single_input_named_after(const char *n) const {
    const char *base = last_component(in.compilable_inputs[0]);
    std::size_t len = std::strlen(n);
    return std::strncmp(base, n, len) == 0 && base[len] == '.' &&
           !std::strchr(base + len + 1, '.');
  }
};

} // namespace

bool input_is_compilable(const char *language, bool wpa) {
  if (!language)
    return true;
  return language[0] != '*' && (!wpa || std::strcmp(language, "lto") != 0);
}

aux_name_result derive_aux_names(const aux_name_input &in) {
  state s{in, {}};
  aux_name_result &r = s.r;
  r.aux_dir = in.aux_dir;
  r.aux_base = in.aux_base;
  r.aux_base_ext = in.aux_base_ext;
  const char *o = in.output_name;
  const bool keep = in.stops_before_link;

  // 1. Directory.
  if (o) {
    if (in.dumpdir_given && !in.temps_option_overrides_dir) {
      // -dumpdir prevails.
    } else if (is_null_output(o)) {
      // Nothing to take a directory from.
    } else if (in.save_temps_mode == keep_temps_cwd) {
      r.aux_dir = nullptr;
    } else {
      const char *slash = std::strrchr(o, '/');
      r.aux_dir = slash ? xstrndup(o, static_cast<std::size_t>(slash - o + 1)) : nullptr;
    }
  } else if (in.temps_option_overrides_dir) {
    r.aux_dir = nullptr;
  }
  r.save_temps_mode = in.save_temps_mode ? keep_temps_auxdir : keep_temps_off;

  // 2. A base with its own directory part makes the directory moot.
  if (r.aux_dir && r.aux_base && last_component(r.aux_base) != r.aux_base)
    r.aux_dir = nullptr;

  // 3. The extension counts only as a proper suffix of the base.
  if (r.aux_base_ext && r.aux_base && *r.aux_base) {
    std::size_t b = std::strlen(r.aux_base), x = std::strlen(r.aux_base_ext);
    if (!(b > x && ends_with(r.aux_base, r.aux_base_ext)))
      r.aux_base_ext = nullptr;
  }

  // 4. By the base.
  if (!r.aux_base) {
    if (keep)
      s.stem_from_output();
    else if (!in.dumpdir_given)
      s.link_rule();
  } else if (!*r.aux_base) {
    if (!keep)
      s.link_rule();
  } else if (in.compilable_count >= 2) {
    s.append_base();
  } else if (keep || in.dumpdir_given) {
    const char *b = r.aux_base;
    s.set_stem(r.aux_base_ext ? xstrndup(b, std::strlen(b) - std::strlen(r.aux_base_ext))
                              : xstrdup(b),
               true);
  } else {
    s.append_base();
  }

  // 7. Finish.
  r.output_stem_length =
      r.output_stem && s.stem_counts ? static_cast<int>(std::strlen(r.output_stem)) : 0;
  r.aux_dir_length = r.aux_dir ? static_cast<int>(std::strlen(r.aux_dir)) : 0;
  if (!(r.aux_base && *r.aux_base))
    r.aux_base_ext = nullptr;
  return r;
}
