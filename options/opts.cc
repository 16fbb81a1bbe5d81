// Applying decoded options: the generic store by variable kind, dispatch
// to the handlers by class, the common handler, the target handler and the
// target defaults of the option values.
#include "options/opts.h"

#include <climits>
#include <cstring>

#include "diagnostics/diagnostic-reporter.h"
#include "options/debug-args.h"
#include "options/sanitizer-args.h"

namespace {

// The mark written for a string option given explicitly.
const char explicit_string_mark[] = "";

void store_int(void *var, bool wide, std::int64_t value) {
  if (wide)
    *static_cast<std::int64_t *>(var) = value;
  else
    *static_cast<int *>(var) = int(value);
}

std::int64_t load_int(const void *var, bool wide) {
  return wide ? *static_cast<const std::int64_t *>(var) : *static_cast<const int *>(var);
}

// The values of VAR_BIT_SET and VAR_BIT_CLEAR words.
void change_bits(void *var, bool wide, std::int64_t bits, bool set) {
  std::int64_t old = load_int(var, wide);
  store_int(var, wide, set ? (old | bits) : (old & ~bits));
}

}  // namespace

void store_option_value(option_values *opts, option_values *opts_set, option_index opt_index,
                        std::int64_t value, const char *arg, location_t loc, std::int64_t mask) {
  const option_record &r = option_table[opt_index];
  void *var = option_variable(opt_index, opts);
  if (var == nullptr)
    return;
  void *mark = opts_set != nullptr ? option_variable(opt_index, opts_set) : nullptr;
  bool wide = (r.attrs & attr_wide_value) != 0;

  switch (r.var_kind) {
  case VAR_INTEGER:
    if (!wide) {
      // Integer arguments are unsigned: an all-ones value is huge, not -1.
      bool too_big = (r.attrs & attr_unsigned_arg) ? std::uint64_t(value) > INT_MAX
                                                   : value > INT_MAX;
      if (too_big) {
        error_at(loc, "argument to %qs is bigger than %d", r.text, INT_MAX);
        return;
      }
    }
    store_int(var, wide, value);
    if (mark)
      store_int(mark, wide, 1);
    break;

  case VAR_EQUAL:
    store_int(var, wide, value != 0 ? r.var_value : (r.var_value == 0 ? 1 : 0));
    if (mark)
      store_int(mark, wide, 1);
    break;

  case VAR_BIT_SET:
  case VAR_BIT_CLEAR: {
    bool set = (value != 0) == (r.var_kind == VAR_BIT_SET);
    change_bits(var, wide, r.var_value, set);
    if (mark)
      change_bits(mark, wide, r.var_value, true);
    break;
  }

  case VAR_SIZE:
    store_int(var, wide, value);
    if (mark)
      store_int(mark, wide, value);
    break;

  case VAR_STRING:
    *static_cast<const char **>(var) = arg;
    if (mark)
      *static_cast<const char **>(mark) = explicit_string_mark;
    break;

  case VAR_ENUM: {
    const option_enum &e = option_enums[r.var_enum];
    int stored = int(value);
    if (mask != 0)
      stored = int((e.get(var) & ~mask) | value);
    e.set(var, stored);
    if (mark)
      e.set(mark, 1);
    break;
  }

  case VAR_DEFERRED: {
    auto *&list = *reinterpret_cast<deferred_option_list **>(var);
    if (list == nullptr) {
      list = new deferred_option_list;
      list->reserve(4);
    }
    list->push_back({opt_index, arg, int(value)});
    if (mark)
      *static_cast<deferred_option_list **>(mark) = list;
    break;
  }
  }
}

bool dispatch_option(option_values *opts, option_values *opts_set, const decoded_option *decoded,
                     unsigned lang_mask, location_t loc, const option_handler_set *handlers,
                     diagnostic_reporter *dc) {
  option_index opt_index = decoded->opt_index;
  vrk_assert(opt_index < option_count);
  const option_record &r = option_table[opt_index];

  if (option_variable(opt_index, opts) != nullptr)
    store_option_value(opts, opts_set, opt_index, decoded->value, decoded->arg, loc,
                       decoded->mask);

  for (std::size_t i = 0; i < handlers->num_handlers; ++i) {
    const option_handler_param &h = handlers->handlers[i];
    if ((r.flags & h.mask) == 0)
      continue;
    if (!h.handler(opts, opts_set, decoded, lang_mask, kind_unspecified, loc, handlers, dc))
      return false;
  }
  return true;
}

bool common_handle_option(option_values *opts, option_values *opts_set,
                          const decoded_option *decoded, unsigned lang_mask, int kind,
                          location_t loc, const option_handler_set *handlers,
                          diagnostic_reporter *dc) {
  vrk_assert(decoded->canonical_count <= 2);
  option_index code = decoded->opt_index;
  const char *arg = decoded->arg != nullptr ? decoded->arg : "";
  std::int64_t value = decoded->value;
  if (dc == nullptr)
    dc = &global_reporter;

  switch (code) {
  case OPT__help:
  case OPT__target_help:
  case OPT__version:
  case OPT__help_:
  case OPT__completion_:
  case OPT_fmultiflags:
  case OPT_foffload_options_:
  case OPT_fuse_ld_tradl:
  case OPT_fuse_ld_quikl:
  case OPT_fuse_ld_mold:
  case OPT_fuse_ld_lld:
  case OPT_gz:
  case OPT_gz_:
    // The driver's own handler acts on those that matter to it.
    break;

  case OPT_fdiagnostics_plain_output:
    // Reached only through its long spelling; the parts of it that matter
    // to the driver's own messages are colour and hyperlinks.
    set_color_mode(dc, DIAGNOSTICS_COLOR_NEVER);
    set_url_mode(dc, DIAGNOSTICS_URLS_NEVER);
    break;

  case OPT_fdiagnostics_color_:
    set_color_mode(dc, int(value));
    break;

  case OPT_fdiagnostics_urls_:
    set_url_mode(dc, int(value));
    break;

  case OPT_freport_bug:
    diagnostic_set_bug_report_mode(value != 0);
    break;

  case OPT_fsanitize_:
    opts->x_flag_sanitize = int(parse_sanitizer_options(
        arg, loc, SANITIZE_OPTION_SANITIZE, std::uint32_t(opts->x_flag_sanitize), value != 0));
    break;

  case OPT_fsanitize_trap_:
    opts->x_flag_sanitize_trap = int(parse_sanitizer_options(
        arg, loc, SANITIZE_OPTION_TRAP, std::uint32_t(opts->x_flag_sanitize_trap), value != 0));
    break;

  case OPT_fsanitize_trap:
    if (value != 0)
      opts->x_flag_sanitize_trap = int(std::uint32_t(opts->x_flag_sanitize_trap) |
                                       SANITIZE_UNDEFINED_ALL);
    else
      opts->x_flag_sanitize_trap = int(std::uint32_t(opts->x_flag_sanitize_trap) &
                                       ~SANITIZE_UNDEFINED_ALL);
    break;

  case OPT_g:
  case OPT_ggdb:
    set_debug_level(NO_DEBUG, arg, opts, opts_set, loc);
    break;

  case OPT_gvms:
    set_debug_level(VMS_DEBUG, arg, opts, opts_set, loc);
    break;

  case OPT_gbtf:
    set_debug_level(BTF_DEBUG, arg, opts, opts_set, loc);
    if (opts->x_debug_info_level < 2)
      opts->x_debug_info_level = 2;
    break;

  case OPT_gctf:
    set_debug_level(CTF_DEBUG, arg, opts, opts_set, loc);
    if (opts->x_ctf_debug_info_level > 0 && opts->x_debug_info_level < 2)
      opts->x_debug_info_level = 2;
    break;

  case OPT_gdwarf:
    if (*arg != '\0') {
      error_at(loc,
               "%<-gdwarf%s%> is ambiguous; use %<-gdwarf-%s%> for DWARF version or "
               "%<-gdwarf%> %<-g%s%> for debug level",
               arg, arg, arg);
      break;
    }
    value = opts->x_dwarf_version;
    [[fallthrough]];
  case OPT_gdwarf_:
    if (value < 2 || value > 5)
      error_at(loc, "dwarf version %wu is not supported", (unsigned long long)value);
    set_debug_level(DWARF2_DEBUG, "", opts, opts_set, loc);
    break;

  default:
    // Everything else only sets its variable, which dispatch has done.
    vrk_assert(option_variable(code, opts) != nullptr);
    break;
  }
  return true;
}

bool aarch64_handle_option(option_values *opts, option_values *opts_set,
                           const decoded_option *decoded, location_t loc) {
  // The target options only set their variables (done by the generic
  // store); the driver has nothing further to do with them.
  return true;
}

bool target_handle_option(option_values *opts, option_values *opts_set,
                          const decoded_option *decoded, unsigned lang_mask, int kind,
                          location_t loc, const option_handler_set *handlers,
                          diagnostic_reporter *dc) {
  vrk_assert(dc == &global_reporter);
  vrk_assert(kind == kind_unspecified);
  if (handlers->target_option_override_hook == nullptr)
    return true;
  return handlers->target_option_override_hook(opts, opts_set, decoded, loc);
}

void init_options_struct(option_values *opts, option_values *opts_set) {
  vrk_assert(opts_pool_initialized());
  *opts = initial_option_values;
  if (opts_set)
    std::memset(opts_set, 0, sizeof *opts_set);
  opts->x_flag_short_enums = 2;
  opts->x_flag_signed_char = 0;
  opts->x_target_flags = aarch64_default_target_flags;
  opts->x_flag_unwind_tables = aarch64_unwind_tables_default;
}
