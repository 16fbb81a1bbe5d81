// driver_handle_option: what the driver itself does with each option of
// the driver class, and which options are kept as switches for the specs.
#include "driver/driver-options.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "diagnostics/diagnostic-reporter.h"
#include "driver/driver-state.h"
#include "driver/switches.h"
#include "options/opt-suggestions.h"
#include "options/option-table.h"
#include "process/prefixes.h"
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

void save_decoded(const decoded_option *decoded, bool claimed) {
  save_switch(decoded->canonical[0], decoded->canonical_count - 1, decoded->canonical + 1,
              claimed, true);
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

// Whether the colon-separated offload_target_list already names NAME.
bool offload_list_has(const char *name, std::size_t len) {
  for (const char *p = offload_target_list; p && *p;) {
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

void set_offload_list(const char *value) {
  std::free(const_cast<char *>(offload_target_list));
  offload_target_list = value;
}

void handle_foffload(const char *arg) {
  if (arg[0] == '-') {
    push_switch(concat("foffload-options=", arg, nullptr));
    return;
  }
  const char *end = std::strchr(arg, '=');
  if (!end)
    end = arg + std::strlen(arg);
  if (!*arg)
    return;
  if (end == arg) {
    push_switch(concat("foffload-options=", arg, nullptr));
    return;
  }

  for_each_comma_piece(arg, end, [](const char *name, std::size_t len) {
    if (len == 7 && std::strncmp(name, "default", 7) == 0) {
      set_offload_list(nullptr);
    } else if ((len == 7 && std::strncmp(name, "disable", 7) == 0) ||
               !check_offload_target_name(name, len)) {
      set_offload_list(xstrdup(""));
      return false;
    } else if (!offload_list_has(name, len)) {
      char *copy = xstrndup(name, len);
      const char *old = offload_target_list;
      set_offload_list(old && *old ? concat(old, ":", copy, nullptr) : xstrdup(copy));
      std::free(copy);
    }
    return true;
  });

  if (std::strchr(arg, '='))
    push_switch(concat("foffload-options=", arg, nullptr));
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

void handle_compare_debug(const decoded_option *decoded) {
  vrk_assert(decoded->canonical_count == 1);
  if (decoded->opt_index == OPT_fcompare_debug) {
    if (decoded->value) {
      compare_debug_mode = 1;
      compare_debug_option = "-gtoggle";
      push_switch("fcompare-debug=-gtoggle");
    } else {
      compare_debug_mode = -1;
      compare_debug_option = nullptr;
      push_switch("fcompare-debug=");
    }
  } else {
    vrk_assert(decoded->arg);
    if (*decoded->arg) {
      compare_debug_mode = 1;
      compare_debug_option = decoded->arg;
    } else {
      compare_debug_mode = -1;
      compare_debug_option = nullptr;
    }
    push_switch(decoded->canonical[0] + 1);
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

} // namespace

bool driver_handle_option(option_values *opts, option_values *opts_set,
                          const decoded_option *decoded, unsigned lang_mask, int kind,
                          location_t loc, const option_handler_set *handlers,
                          diagnostic_reporter *dc) {
  vrk_assert(kind == kind_unspecified && loc == UNKNOWN_LOCATION);
  vrk_assert(opts == &global_options && opts_set == &global_options_set);
  vrk_assert(dc == &global_reporter);

  const char *arg = decoded->arg;
  const option_index index = decoded->opt_index;
  bool save = true;
  bool claimed = false;

  switch (index) {
  case OPT____:
    opts->x_verbose_flag = 1;
    dry_run_count++;
    save = false;
    break;
  case OPT__completion_:
    completion_prefix = arg;
    claimed = true;
    break;
  case OPT__help:
    help_requested = true;
    add_passthrough(assembler_passthrough, "--help");
    add_passthrough(linker_passthrough, "--help");
    break;
  case OPT__help_:
    subprocess_help_level = 2;
    break;
  case OPT__target_help:
    subprocess_help_level = 1;
    add_passthrough(assembler_passthrough, "--target-help");
    add_passthrough(linker_passthrough, "--target-help");
    break;
  case OPT__version:
    version_requested = true;
    add_passthrough(assembler_passthrough, "--version");
    add_passthrough(linker_passthrough, "--version");
    break;
  case OPT__no_sysroot_suffix:
    save = false;
    break;
  case OPT__sysroot_:
    sysroot_dir = arg;
    sysroot_overridden = true;
    claimed = true;
    break;
  case OPT_B: {
    std::size_t len = std::strlen(arg);
    char *dir = len && arg[len - 1] != '/' && is_directory(arg) ? concat(arg, "/", nullptr)
                                                                 : xstrdup(arg);
    run_paths.add_search_prefix(run_paths.exec_prefixes, dir, nullptr, PREFIX_PRIORITY_B_OPT, 0, 0);
    run_paths.add_search_prefix(run_paths.startfile_prefixes, dir, nullptr, PREFIX_PRIORITY_B_OPT, 0, 0);
    run_paths.add_search_prefix(run_paths.include_prefixes, dir, nullptr, PREFIX_PRIORITY_B_OPT, 0, 0);
    std::free(dir);
    claimed = true;
    break;
  }
  case OPT_E:
    preprocess_only_given = true;
    break;
  case OPT_F:
    push_switch(concat("F", arg, nullptr));
    save = false;
    break;
  case OPT_L:
    push_switch(concat("L", arg, nullptr));
    save = false;
    break;
  case OPT_Wa_:
    for_each_comma_piece(arg, [](const char *piece, std::size_t len) {
      add_passthrough(assembler_passthrough, piece, len);
    });
    save = false;
    break;
  case OPT_Wp_:
    for_each_comma_piece(arg, [](const char *piece, std::size_t len) {
      add_passthrough(preprocessor_passthrough, piece, len);
    });
    save = false;
    break;
  case OPT_Wl_:
    for_each_comma_piece(arg, [](const char *piece, std::size_t len) {
      add_input(xstrndup(piece, len), "*");
    });
    save = false;
    break;
  case OPT_Xassembler:
    add_passthrough(assembler_passthrough, arg);
    save = false;
    break;
  case OPT_Xpreprocessor:
    add_passthrough(preprocessor_passthrough, arg);
    save = false;
    break;
  case OPT_Xlinker:
    add_input(arg, "*");
    save = false;
    break;
  case OPT_l:
    add_input(concat("-l", arg, nullptr), "*");
    save = false;
    break;
  case OPT_o:
    output_given = true;
    output_name = arg;
    break;
  case OPT_x:
    if (std::strcmp(arg, "none") == 0) {
      language_override = nullptr;
    } else {
      language_override = arg;
      language_override_input_count = input_count;
    }
    save = false;
    break;
  case OPT_dumpbase:
    std::free(const_cast<char *>(aux_base));
    aux_base = xstrdup(arg);
    break;
  case OPT_dumpbase_ext:
    std::free(const_cast<char *>(aux_base_ext));
    aux_base_ext = xstrdup(arg);
    break;
  case OPT_dumpdir:
    std::free(const_cast<char *>(aux_dir));
    aux_dir = xstrdup(arg);
    dumpdir_given = true;
    temps_option_overrides_dir = false;
    break;
  case OPT_dumpspecs:
    print_specs_and_exit();
  case OPT_dumpversion:
  case OPT_dumpfullversion:
    print_and_exit(config::version_number);
  case OPT_dumpmachine:
    print_and_exit(config::target_name);
  case OPT_fcompare_debug:
  case OPT_fcompare_debug_:
    handle_compare_debug(decoded);
    save = false;
    break;
  case OPT_fcompare_debug_second:
    compare_debug_second_pass = true;
    break;
  case OPT_fdiagnostics_color_:
    set_color_mode(dc, static_cast<int>(decoded->value));
    break;
  case OPT_fdiagnostics_urls_:
    set_url_mode(dc, static_cast<int>(decoded->value));
    break;
  case OPT_foffload_:
    handle_foffload(arg);
    save = false;
    break;
  case OPT_foffload_options_:
    handle_foffload_options(arg);
    break;
  case OPT_fuse_ld_tradl:
    linker_flavour_suffix = ".tradl";
    break;
  case OPT_fuse_ld_quikl:
    linker_flavour_suffix = ".quikl";
    break;
  case OPT_fuse_ld_mold:
    linker_flavour_suffix = ".mold";
    break;
  case OPT_fwpa:
    *static_cast<const char **>(option_variable(OPT_fwpa_, opts)) = "";
    break;
  case OPT_pipe:
  case OPT_shared_libvrk:
    claimed = true;
    break;
  case OPT_print_libvrk_file_name:
    *static_cast<const char **>(option_variable(OPT_print_file_name_, opts)) = "libvrk.a";
    save = false;
    break;
  case OPT_save_temps:
    if (save_temps_mode == keep_temps_off)
      save_temps_mode = keep_temps_auxdir;
    claimed = true;
    break;
  case OPT_save_temps_:
    if (std::strcmp(arg, "cwd") == 0)
      save_temps_mode = keep_temps_cwd;
    else if (std::strcmp(arg, "obj") == 0 || std::strcmp(arg, "object") == 0)
      save_temps_mode = keep_temps_objdir;
    else
      fatal_error(UNKNOWN_LOCATION, "%qs is an unknown %<-save-temps%> option",
                  decoded->orig_text);
    temps_option_overrides_dir = true;
    break;
  case OPT_specs_:
    user_spec_files.push_back(arg);
    claimed = true;
    break;
  case OPT_time_:
    if (timing_report_file)
      std::fclose(timing_report_file);
    timing_report_file = std::fopen(arg, "a");
    save = false;
    break;
  case OPT_no_canonical_prefixes:
  case OPT_pass_exit_codes:
  case OPT_print_file_name_:
  case OPT_print_multi_directory:
  case OPT_print_multi_lib:
  case OPT_print_multi_os_directory:
  case OPT_print_multiarch:
  case OPT_print_prog_name_:
  case OPT_print_search_dirs:
  case OPT_print_sysroot:
  case OPT_print_sysroot_headers_suffix:
  case OPT_time:
  case OPT_wrapper:
    save = false;
    break;
  default:
    if (is_static_lib_option(index))
      claimed = true;
    break;
  }

  if (save)
    save_decoded(decoded, claimed);
  return true;
}
