// driver_handle_option: what the driver itself does with each option of
// the driver class, and which options are kept as switches for the specs.
#include "driver/driver-options.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <vector>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic-reporter.h"
#include "options/opt-suggestions.h"
#include "options/option-table.h"
#include "spec/spec-list.h"
#include "support/configuration.h"
#include "support/text.h"

namespace {

// Append the LENGTH bytes at TEXT to a passthrough list as a new text.
void add_passthrough(std::vector<const char *> &list, const char *text, std::size_t length) {
  list.push_back(xstrndup(text, length));
}

void add_passthrough(std::vector<const char *> &list, const char *text) {
  add_passthrough(list, text, std::strlen(text));
}

// Call ACTION (text, length) for every comma-separated piece of the text
// from BEGIN to END, empty ones included, until ACTION answers false.
template <typename F> void for_each_comma_piece(const char *begin, const char *end, F action) {
  for (;;) {
    const char *comma = static_cast<const char *>(std::memchr(begin, ',', end - begin));
    const char *stop = comma ? comma : end;
    if (!action(begin, static_cast<std::size_t>(stop - begin)) || !comma)
      return;
    begin = comma + 1;
  }
}

// The same over the whole of TEXT, every piece.
template <typename F> void for_each_comma_piece(const char *text, F action) {
  for_each_comma_piece(text, text + std::strlen(text), [&](const char *piece, std::size_t len) {
    action(piece, len);
    return true;
  });
}

bool is_directory(const char *path) {
  struct stat st;
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}


// Whether NAME (LENGTH characters) is an offload target this build
// supports.  The empty name is accepted; every other name is reported with
// a hint and rejected (this build has no offload targets).
bool check_offload_target_name(const char *name, std::size_t length) {
  if (length == 0)
    return true;
  char *target = xstrndup(name, length);
  error_noloc("VRK is not configured to support %qs as %<-foffload=%> argument", target);
  std::vector<const char *> candidates = {"default", "disable"};
  char *text = nullptr;
  const char *hint = candidates_list_and_hint(target, text, candidates);
  if (hint)
    inform(UNKNOWN_LOCATION, "valid %<-foffload=%> arguments are: %s; did you mean %qs?", text,
           hint);
  else
    inform(UNKNOWN_LOCATION, "valid %<-foffload=%> arguments are: %s", text);
  std::free(text);
  std::free(target);
  return false;
}

// Whether the colon-separated offload target list LIST already names NAME.
bool offload_list_has(const char *list, const char *name, std::size_t len) {
  for (const char *p = list; p && *p;) {
    const char *colon = std::strchr(p, ':');
    std::size_t n = colon ? static_cast<std::size_t>(colon - p) : std::strlen(p);
    if (n == len && std::strncmp(p, name, len) == 0)
      return true;
    if (!colon)
      break;
    p = colon + 1;
  }
  return false;
}

void set_offload_list(compilation &comp, const char *value) {
  std::free(const_cast<char *>(comp.offload_target_list));
  comp.offload_target_list = value;
}

void handle_foffload(compilation &comp, const char *arg) {
  if (arg[0] == '-') {
    comp.switches.push(concat("foffload-options=", arg, nullptr));
    return;
  }
  const char *end = std::strchr(arg, '=');
  if (!end)
    end = arg + std::strlen(arg);
  if (!*arg)
    return;
  if (end == arg) {
    comp.switches.push(concat("foffload-options=", arg, nullptr));
    return;
  }

  for_each_comma_piece(arg, end, [&comp](const char *name, std::size_t len) {
    if (len == 7 && std::strncmp(name, "default", 7) == 0) {
      set_offload_list(comp, nullptr);
    } else if ((len == 7 && std::strncmp(name, "disable", 7) == 0) ||
               !check_offload_target_name(name, len)) {
      set_offload_list(comp, xstrdup(""));
      return false;
    } else if (!offload_list_has(comp.offload_target_list, name, len)) {
      char *copy = xstrndup(name, len);
      const char *old = comp.offload_target_list;
      set_offload_list(comp, old && *old ? concat(old, ":", copy, nullptr) : xstrdup(copy));
      std::free(copy);
    }
    return true;
  });

  if (std::strchr(arg, '='))
    comp.switches.push(concat("foffload-options=", arg, nullptr));
}

void handle_foffload_options(const char *arg) {
  if (arg[0] == '-')
    return;
  const char *equals = std::strchr(arg, '=');
  if (!equals) {
    error_noloc("%<=%>options missing after %<-foffload-options=%>target");
    return;
  }
  for_each_comma_piece(arg, equals, [](const char *name, std::size_t len) {
    check_offload_target_name(name, len);
    return true;
  });
}

// Both compilations of -fcompare-debug must see the same date stamp.
void set_source_date_epoch() {
  errno = 0;
  std::time_t now = std::time(nullptr);
  unsigned long long stamp = (now < 0 || errno) ? 0 : static_cast<unsigned long long>(now);
  char text[21];
  std::snprintf(text, sizeof text, "%llu", stamp);
  setenv("SOURCE_DATE_EPOCH", text, 0);
}

void handle_compare_debug(compilation &comp, const decoded_option *decoded) {
  compare_debug_state &cd = comp.compare_debug;
  vrk_assert(decoded->canonical_count == 1);
  if (decoded->opt_index == OPT_fcompare_debug) {
    if (decoded->value) {
      cd.mode = 1;
      cd.option = "-gtoggle";
      comp.switches.push("fcompare-debug=-gtoggle");
    } else {
      cd.mode = -1;
      cd.option = nullptr;
      comp.switches.push("fcompare-debug=");
    }
  } else {
    vrk_assert(decoded->arg);
    if (*decoded->arg) {
      cd.mode = 1;
      cd.option = decoded->arg;
    } else {
      cd.mode = -1;
      cd.option = nullptr;
    }
    comp.switches.push(decoded->canonical[0] + 1);
  }
  set_source_date_epoch();
}

[[noreturn]] void print_and_exit(const char *text) {
  std::printf("%s\n", text);
  std::exit(0);
}

// "-static-lib<runtime>" options are claimed by the link specs as a family.
bool is_static_lib_option(option_index index) {
  return index < option_count && std::strncmp(option_table[index].text, "-static-lib", 11) == 0;
}

// What becomes of an option after the driver has acted on it.
enum class kept { as_switch, as_claimed_switch, not_at_all };
using handled = std::optional<kept>;

// Options the driver only answers or passes to its children: --help and
// friends, -###, --completion=, and the queries that print and exit.
handled information_option(compilation &comp, option_values *opts, const decoded_option *decoded) {
  switch (decoded->opt_index) {
  case OPT____:
    opts->x_verbose_flag = 1;
    comp.dry_run_count++;
    return kept::not_at_all;
  case OPT_plan_:
    // A dry run like -###, without its listing: the plan is printed at
    // the end of the run instead.
    comp.dry_run_count++;
    comp.plan_requested = true;
    return kept::not_at_all;
  case OPT__completion_:
    comp.completion_prefix = decoded->arg;
    return kept::as_claimed_switch;
  case OPT__help:
    comp.help_requested = true;
    add_passthrough(comp.assembler_passthrough, "--help");
    add_passthrough(comp.linker_passthrough, "--help");
    return kept::as_switch;
  case OPT__help_:
    comp.subprocess_help_level = 2;
    return kept::as_switch;
  case OPT__target_help:
    comp.subprocess_help_level = 1;
    add_passthrough(comp.assembler_passthrough, "--target-help");
    add_passthrough(comp.linker_passthrough, "--target-help");
    return kept::as_switch;
  case OPT__version:
    comp.version_requested = true;
    add_passthrough(comp.assembler_passthrough, "--version");
    add_passthrough(comp.linker_passthrough, "--version");
    return kept::as_switch;
  case OPT_dumpspecs:
    print_specs_and_exit(opts->x_verbose_flag != 0);
  case OPT_dumpversion:
  case OPT_dumpfullversion:
    print_and_exit(config::version_number);
  case OPT_dumpmachine:
    print_and_exit(config::target_name);
  case OPT_print_libvrk_file_name:
    *static_cast<const char **>(option_variable(OPT_print_file_name_, opts)) = "libvrk.a";
    return kept::not_at_all;
  default:
    return std::nullopt;
  }
}

// Options forwarded to one kind of child, and linker inputs.
handled passthrough_option(compilation &comp, const decoded_option *decoded) {
  const char *arg = decoded->arg;
  auto add_pieces = [](std::vector<const char *> &list, const char *text) {
    for_each_comma_piece(text, [&list](const char *piece, std::size_t len) {
      add_passthrough(list, piece, len);
    });
  };
  switch (decoded->opt_index) {
  case OPT_F:
    comp.switches.push(concat("F", arg, nullptr));
    break;
  case OPT_L:
    comp.switches.push(concat("L", arg, nullptr));
    break;
  case OPT_Wa_:
    add_pieces(comp.assembler_passthrough, arg);
    break;
  case OPT_Wp_:
    add_pieces(comp.preprocessor_passthrough, arg);
    break;
  case OPT_Wl_:
    for_each_comma_piece(arg, [&comp](const char *piece, std::size_t len) {
      comp.inputs.add(xstrndup(piece, len), "*");
    });
    break;
  case OPT_Xassembler:
    add_passthrough(comp.assembler_passthrough, arg);
    break;
  case OPT_Xpreprocessor:
    add_passthrough(comp.preprocessor_passthrough, arg);
    break;
  case OPT_Xlinker:
    comp.inputs.add(arg, "*");
    break;
  case OPT_l:
    comp.inputs.add(concat("-l", arg, nullptr), "*");
    break;
  default:
    return std::nullopt;
  }
  return kept::not_at_all;
}

// Options that name outputs, auxiliary outputs and the input language.
handled output_option(compilation &comp, const decoded_option *decoded) {
  const char *arg = decoded->arg;
  auto replace = [](const char *&field, const char *value) {
    std::free(const_cast<char *>(field));
    field = xstrdup(value);
  };
  switch (decoded->opt_index) {
  case OPT_o:
    comp.output_given = true;
    comp.output_name = arg;
    return kept::as_switch;
  case OPT_x:
    if (std::strcmp(arg, "none") == 0) {
      comp.language_override = nullptr;
    } else {
      comp.language_override = arg;
      comp.language_override_input_count = comp.inputs.count();
    }
    return kept::not_at_all;
  case OPT_dumpbase:
    replace(comp.aux_base, arg);
    return kept::as_switch;
  case OPT_dumpbase_ext:
    replace(comp.aux_base_ext, arg);
    return kept::as_switch;
  case OPT_dumpdir:
    replace(comp.aux_dir, arg);
    comp.dumpdir_given = true;
    comp.temps_option_overrides_dir = false;
    return kept::as_switch;
  case OPT_save_temps:
    if (comp.save_temps_mode == keep_temps_off)
      comp.save_temps_mode = keep_temps_auxdir;
    return kept::as_claimed_switch;
  case OPT_save_temps_:
    if (std::strcmp(arg, "cwd") == 0)
      comp.save_temps_mode = keep_temps_cwd;
    else if (std::strcmp(arg, "obj") == 0 || std::strcmp(arg, "object") == 0)
      comp.save_temps_mode = keep_temps_objdir;
    else
      fatal_error(UNKNOWN_LOCATION, "%qs is an unknown %<-save-temps%> option",
                  decoded->orig_text);
    comp.temps_option_overrides_dir = true;
    return kept::as_switch;
  default:
    return std::nullopt;
  }
}

// Where things are looked for: -B, --sysroot=, -specs=.
handled search_option(compilation &comp, const decoded_option *decoded) {
  const char *arg = decoded->arg;
  switch (decoded->opt_index) {
  case OPT__sysroot_:
    comp.sysroot_dir = arg;
    comp.sysroot_overridden = true;
    return kept::as_claimed_switch;
  case OPT__no_sysroot_suffix:
    return kept::not_at_all;
  case OPT_B: {
    std::size_t len = std::strlen(arg);
    char *dir = len && arg[len - 1] != '/' && is_directory(arg) ? concat(arg, "/", nullptr)
                                                                 : xstrdup(arg);
    search_paths &search = comp.search;
    for (prefix_list *list :
         {&search.exec_prefixes, &search.startfile_prefixes, &search.include_prefixes})
      search.add_search_prefix(*list, dir, nullptr, PREFIX_PRIORITY_B_OPT, 0, 0);
    std::free(dir);
    return kept::as_claimed_switch;
  }
  case OPT_specs_:
    comp.user_spec_files.push_back(arg);
    return kept::as_claimed_switch;
  default:
    return std::nullopt;
  }
}

// -fcompare-debug, -foffload, -fuse-ld= and the remaining options the
// driver looks at.
handled compile_option(compilation &comp, option_values *opts, const decoded_option *decoded,
                       diagnostic_reporter *dc) {
  switch (decoded->opt_index) {
  case OPT_E:
    comp.preprocess_only_given = true;
    return kept::as_switch;
  case OPT_fcompare_debug:
  case OPT_fcompare_debug_:
    handle_compare_debug(comp, decoded);
    return kept::not_at_all;
  case OPT_fcompare_debug_second:
    comp.compare_debug.second_pass = true;
    return kept::as_switch;
  case OPT_fdiagnostics_color_:
    set_color_mode(dc, static_cast<int>(decoded->value));
    return kept::as_switch;
  case OPT_fdiagnostics_urls_:
    set_url_mode(dc, static_cast<int>(decoded->value));
    return kept::as_switch;
  case OPT_foffload_:
    handle_foffload(comp, decoded->arg);
    return kept::not_at_all;
  case OPT_foffload_options_:
    handle_foffload_options(decoded->arg);
    return kept::as_switch;
  case OPT_fuse_ld_tradl:
    comp.linker_flavour_suffix = ".tradl";
    return kept::as_switch;
  case OPT_fuse_ld_quikl:
    comp.linker_flavour_suffix = ".quikl";
    return kept::as_switch;
  case OPT_fuse_ld_mold:
    comp.linker_flavour_suffix = ".mold";
    return kept::as_switch;
  case OPT_fwpa:
    *static_cast<const char **>(option_variable(OPT_fwpa_, opts)) = "";
    return kept::as_switch;
  case OPT_time_:
    if (comp.timing_report_file)
      std::fclose(comp.timing_report_file);
    comp.timing_report_file = std::fopen(decoded->arg, "a");
    return kept::not_at_all;
  default:
    return std::nullopt;
  }
}

// Options the driver reads from option_values later (or never), kept out
// of the switches; and options only claimed.
constexpr option_index options_not_kept[] = {
    OPT_no_canonical_prefixes, OPT_pass_exit_codes,        OPT_print_file_name_,
    OPT_print_multi_directory, OPT_print_multi_lib,         OPT_print_multi_os_directory,
    OPT_print_multiarch,       OPT_print_prog_name_,        OPT_print_search_dirs,
    OPT_print_sysroot,         OPT_print_sysroot_headers_suffix, OPT_time,
    OPT_wrapper,
};
constexpr option_index options_claimed[] = {OPT_pipe, OPT_shared_libvrk};

kept other_option(option_index index) {
  for (option_index o : options_not_kept)
    if (o == index)
      return kept::not_at_all;
  for (option_index o : options_claimed)
    if (o == index)
      return kept::as_claimed_switch;
  return is_static_lib_option(index) ? kept::as_claimed_switch : kept::as_switch;
}

} // namespace

bool driver_handle_option(option_values *opts, option_values *opts_set,
                          const decoded_option *decoded, unsigned lang_mask, int kind,
                          location_t loc, const option_handler_set *handlers,
                          diagnostic_reporter *dc) {
  vrk_assert(kind == kind_unspecified && loc == UNKNOWN_LOCATION);
  vrk_assert(handlers && handlers->context);
  compilation &comp = *static_cast<compilation *>(handlers->context);
  vrk_assert(opts == &comp.options && opts_set == &comp.options_set);
  vrk_assert(dc == &global_reporter);

  handled result = information_option(comp, opts, decoded);
  if (!result)
    result = passthrough_option(comp, decoded);
  if (!result)
    result = output_option(comp, decoded);
  if (!result)
    result = search_option(comp, decoded);
  if (!result)
    result = compile_option(comp, opts, decoded, dc);
  kept what = result ? *result : other_option(decoded->opt_index);

  if (what != kept::not_at_all)
    comp.switches.save(decoded->canonical[0], decoded->canonical_count - 1,
                       decoded->canonical + 1, what == kept::as_claimed_switch, true);
  return true;
}
