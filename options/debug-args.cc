// Debug-format selection and debug levels, with their diagnostics.
#include "options/debug-args.h"

#include "options/opts-common.h"

const char *debug_format_name(std::uint32_t format) {
  switch (format) {
  case DWARF2_DEBUG: return "dwarf-2";
  case VMS_DEBUG: return "vms";
  case CTF_DEBUG: return "ctf";
  case BTF_DEBUG: return "btf";
  default: return "none";
  }
}

namespace {

// The word holds only bits of ALLOWED, and at least one.
bool only_of(int word, std::uint32_t allowed) {
  return word != 0 && (std::uint32_t(word) & ~allowed) == 0;
}

}  // namespace

void set_debug_level(std::uint32_t format, const char *level, option_values *opts,
                     option_values *opts_set, location_t loc) {
  if (level == nullptr)
    level = "";
  int &word = opts->x_write_symbols;
  int &mark = opts_set->x_write_symbols;
  bool level_step;

  if (format == NO_DEBUG) {
    if (word == 0) {
      word = DWARF2_DEBUG;
    } else if (word & (CTF_DEBUG | BTF_DEBUG)) {
      word |= DWARF2_DEBUG;
      mark |= DWARF2_DEBUG;
    }
    level_step = true;
  } else if ((format == DWARF2_DEBUG || format == CTF_DEBUG) &&
             only_of(word, DWARF2_DEBUG | CTF_DEBUG)) {
    word |= int(format);
    mark |= int(format);
    level_step = true;
  } else if ((format == DWARF2_DEBUG || format == BTF_DEBUG) &&
             only_of(word, DWARF2_DEBUG | BTF_DEBUG)) {
    word |= int(format);
    mark |= int(format);
    level_step = false;
  } else {
    if (mark != 0 && word != 0 && std::uint32_t(word) != format)
      error_at(loc, "debug format %qs conflicts with prior selection",
               debug_format_name(format));
    word = int(format);
    mark = int(format);
    level_step = false;
  }

  if (!level_step) {
    if (format == BTF_DEBUG) {
      if (*level != '\0')
        error_at(loc, "unrecognized btf debug output level %qs", level);
      return;
    }
  }

  if (*level == '\0') {
    if (format == CTF_DEBUG)
      opts->x_ctf_debug_info_level = 2;
    else if (opts->x_debug_info_level < 2)
      opts->x_debug_info_level = 2;
    return;
  }
  int err = 0;
  std::uint64_t value = parse_integral_argument(level, &err, false);
  if (err != 0)
    error_at(loc, "unrecognized debug output level %qs", level);
  else if (value > 3)
    error_at(loc, "debug output level %qs is too high", level);
  else if (format == CTF_DEBUG)
    opts->x_ctf_debug_info_level = int(value);
  else
    opts->x_debug_info_level = int(value);
}
