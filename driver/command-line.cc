// process_command: the fixed order in which the decoded command line
// becomes the driver's run state.
#include "driver/command-line.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "diagnostics/diagnostic-reporter.h"
#include "diagnostics/diagnostic.h"
#include "driver/aux-names.h"
#include "driver/driver-options.h"
#include "driver/driver-state.h"
#include "driver/env-manager.h"
#include "driver/lang-hook.h"
#include "driver/switches.h"
#include "options/option-table.h"
#include "options/opts-common.h"
#include "options/opts.h"
#include "process/prefixes.h"
#include "process/relocate.h"
#include "spec/spec-list.h"
#include "support/configuration.h"
#include "support/path-list.h"
#include "support/text.h"

namespace {

bool any_option_after_first(const decoded_option *decoded, unsigned count,
                            std::initializer_list<option_index> wanted) {
  for (unsigned i = 1; i < count; i++)
    for (option_index w : wanted)
      if (decoded[i].opt_index == w)
        return true;
  return false;
}

// Step 3: where the installation really is, relative to the driver.
void locate_installation(const decoded_option *decoded, bool resolve_links) {
  if (install_exec_prefix) {
    char *name = concat(install_exec_prefix, "vrk", nullptr);
    char *libexec = relative_prefix(name, config::standard_exec_prefix,
                                    config::standard_libexec_prefix, resolve_links);
    if (libexec)
      libexec_prefix_dir = libexec;
    std::free(name);
    return;
  }
  const char *argv0 = decoded[0].arg;
  install_exec_prefix = relative_prefix(argv0, config::standard_bindir_prefix,
                                        config::standard_exec_prefix, resolve_links);
  char *libexec = relative_prefix(argv0, config::standard_bindir_prefix,
                                  config::standard_libexec_prefix, resolve_links);
  if (libexec)
    libexec_prefix_dir = libexec;
  if (install_exec_prefix)
    env.xput(concat("VRK_EXEC_PREFIX=", install_exec_prefix, nullptr));
}

// Step 5: "<root>/lib/vrk/" names the installation root "<root>".
void settle_standard_prefix() {
  std::size_t len = std::strlen(install_exec_prefix);
  const char *p = install_exec_prefix;
  if (len > 9 && p[len - 1] == '/' && std::strncmp(p + len - 9, "/lib/vrk/", 9) == 0)
    len -= 9;
  run_paths.set_standard_prefix(install_exec_prefix, len);
  run_paths.add_search_prefix(run_paths.exec_prefixes, libexec_prefix_dir, "VRK", PREFIX_PRIORITY_LAST, 0, 0);
  run_paths.add_search_prefix(run_paths.startfile_prefixes, install_exec_prefix, "VRK", PREFIX_PRIORITY_LAST, 0, 0);
}

// Call ADD for every element of the colon-separated VALUE as a directory
// ending in "/" (an empty element is the current directory).
template <typename F> void for_each_path_element(const char *value, F add) {
  if (!value)
    return;
  for (const char *p = value;;) {
    const char *colon = std::strchr(p, ':');
    std::size_t len = colon ? static_cast<std::size_t>(colon - p) : std::strlen(p);
    char *dir = path_list_dir(p, len);
    add(dir);
    std::free(dir);
    if (!colon)
      return;
    p = colon + 1;
  }
}

// Step 6.
void add_environment_prefixes() {
  for_each_path_element(env.getenv("COMPILER_PATH"), [](const char *dir) {
    run_paths.add_search_prefix(run_paths.exec_prefixes, dir, nullptr, PREFIX_PRIORITY_LAST, 0, 0);
    run_paths.add_search_prefix(run_paths.include_prefixes, dir, nullptr, PREFIX_PRIORITY_LAST, 0, 0);
  });
  if (!native_configuration())
    return;
  for (const char *var : {"LIBRARY_PATH", "LPATH"})
    for_each_path_element(env.getenv(var), [](const char *dir) {
      run_paths.add_search_prefix(run_paths.startfile_prefixes, dir, nullptr, PREFIX_PRIORITY_LAST, 0, 1);
    });
}

// Canonical absolute form of NAME, or NAME itself when it cannot be had.
char *canonical_name(const char *name) {
  char *resolved = realpath(name, nullptr);
  return resolved ? resolved : xstrdup(name);
}

// Step 11.
void check_output_name() {
  if (std::strcmp(output_name, "-") != 0 && std::strcmp(output_name, "/dev/null") != 0) {
    char *out = canonical_name(output_name);
    for (int i = 0; i < input_count; i++) {
      const char *language = input_entries[i].language;
      if (language && language[0] == '*')
        continue;
      char *in = canonical_name(input_entries[i].name);
      bool same = std::strcmp(in, out) == 0;
      std::free(in);
      if (same)
        fatal_error(UNKNOWN_LOCATION, "input file %qs is the same as output file", output_name);
    }
    std::free(out);
  }
  if (!*output_name)
    fatal_error(UNKNOWN_LOCATION, "output filename may not be empty");
}

// Step 14.
void compare_debug_from_environment() {
  if (compare_debug_mode == 0) {
    const char *value = env.getenv("VRK_COMPARE_DEBUG");
    if (value && value[0] == '-') {
      compare_debug_mode = 2;
      compare_debug_option = value;
    } else if (value && *value && std::strcmp(value, "0") != 0) {
      compare_debug_mode = 3;
      compare_debug_option = "-gtoggle";
    }
  }
  // A negated -fcompare-debug never leaves an option behind.
  if (compare_debug_mode < 0) {
    vrk_assert(!compare_debug_option);
    compare_debug_mode = 0;
  }
}

// Step 15: the configured directories, when the installation was not
// located relative to the driver.
void add_configured_prefixes() {
  run_paths.add_search_prefix(run_paths.exec_prefixes, config::standard_libexec_prefix, "VRK",
                    PREFIX_PRIORITY_LAST, 1, 0);
  run_paths.add_search_prefix(run_paths.exec_prefixes, config::standard_libexec_prefix, "OBJKIT",
                    PREFIX_PRIORITY_LAST, 2, 0);
  run_paths.add_search_prefix(run_paths.exec_prefixes, config::standard_exec_prefix, "OBJKIT",
                    PREFIX_PRIORITY_LAST, 2, 0);
  run_paths.add_search_prefix(run_paths.startfile_prefixes, config::standard_exec_prefix, "OBJKIT",
                    PREFIX_PRIORITY_LAST, 1, 0);
}

// Step 16: the tool directory <prefix>/<target>/ of the assembler and linker.
void add_tool_prefixes() {
  const char *p = install_exec_prefix ? install_exec_prefix : config::standard_exec_prefix;
  char *tool = concat(p, config::target_name, "/", config::version_number, "/",
                      "../../../../", config::target_name, "/", nullptr);
  char *bin = concat(tool, "bin/", nullptr);
  char *lib = concat(tool, "lib/", nullptr);
  run_paths.add_search_prefix(run_paths.exec_prefixes, bin, "OBJKIT", PREFIX_PRIORITY_LAST, 0, 0);
  run_paths.add_search_prefix(run_paths.startfile_prefixes, lib, "OBJKIT", PREFIX_PRIORITY_LAST, 0, 1);
  std::free(tool);
  std::free(bin);
  std::free(lib);
}

// Step 19: may the specs read undefined environment variables?  Only for
// runs that just print information (-v alone, --help/--version alone).
void settle_undefined_env_tolerated(unsigned user_option_count) {
  int n = 0;
  bool info = help_requested || version_requested || subprocess_help_level;
  if (input_count == 0 && info)
    add_input("help-dummy", "c");
  if (input_count > 0)
    n = (help_requested ? 1 : 0) + (version_requested ? 1 : 0);
  if ((global_options.x_verbose_flag && user_option_count == 2) ||
      user_option_count - 1 == static_cast<unsigned>(n))
    undefined_env_tolerated = true;
}

void settle_aux_names() {
  const auto *wpa = static_cast<const char *const *>(option_variable(OPT_fwpa_, &global_options));
  bool in_wpa = wpa && *wpa;
  std::vector<const char *> compilable;
  for (int i = 0; i < input_count; i++)
    if (input_is_compilable(input_entries[i].language, in_wpa))
      compilable.push_back(input_entries[i].name);

  aux_name_input in{};
  in.output_name = output_name;
  in.aux_dir = aux_dir;
  in.aux_base = aux_base;
  in.aux_base_ext = aux_base_ext;
  in.dumpdir_given = dumpdir_given;
  in.temps_option_overrides_dir = temps_option_overrides_dir;
  in.stops_before_link = stops_before_link;
  in.save_temps_mode = save_temps_mode;
  in.compilable_inputs = compilable.data();
  in.compilable_count = static_cast<int>(compilable.size());

  aux_name_result r = derive_aux_names(in);
  aux_dir = r.aux_dir;
  aux_base = r.aux_base;
  aux_base_ext = r.aux_base_ext;
  output_stem = r.output_stem;
  output_stem_length = r.output_stem_length;
  aux_dir_length = r.aux_dir_length;
  aux_dir_dash_added = r.aux_dir_dash_added;
  save_temps_mode = r.save_temps_mode;
}

} // namespace

bool driver_unknown_option_callback(const decoded_option *decoded) {
  const char *text = decoded->orig_text;
  bool wno_form = text && std::strncmp(text, "-Wno-", 5) == 0;
  bool recognised = wno_form && !(decoded->errors & OPTERR_NEGATIVE);
  save_switch(decoded->canonical[0], decoded->canonical_count - 1, decoded->canonical + 1,
              false, recognised);
  return false;
}

void driver_wrong_lang_callback(const decoded_option *decoded, unsigned lang_mask) {
  const option_record &record = option_table[decoded->opt_index];
  if (record.attrs & attr_driver_rejects)
    error_noloc("unrecognized command-line option %qs", decoded->orig_text);
  else
    save_switch(decoded->canonical[0], decoded->canonical_count - 1, decoded->canonical + 1,
                false, true);
}

bool resolves_prefix_links(const decoded_option *decoded, unsigned count) {
  return !any_option_after_first(decoded, count, {OPT_no_canonical_prefixes});
}

const option_handler_set &driver_option_handlers() {
  static const option_handler_set handlers = [] {
    option_handler_set h{};
    h.unknown_option_callback = driver_unknown_option_callback;
    h.wrong_lang_callback = driver_wrong_lang_callback;
    h.num_handlers = 3;
    h.handlers[0] = {driver_handle_option, OPTF_DRIVER};
    h.handlers[1] = {common_handle_option, OPTF_COMMON};
    h.handlers[2] = {target_handle_option, OPTF_TARGET};
    return h;
  }();
  return handlers;
}

void process_command(unsigned *decoded_options_count, decoded_option **decoded_options) {
  // 1.
  install_exec_prefix = env.getenv("VRK_EXEC_PREFIX");
  input_count = 0;
  saved_switch_count = 0;
  implicit_library_count = 0;
  {
    const char *v = config::version_string;
    version_number_text = xstrndup(v, std::strcspn(v, " "));
  }
  // Before any option is handled: -dumpspecs prints the version spec.
  version_spec = version_number_text;

  // 2, 3.
  bool resolve_links = resolves_prefix_links(*decoded_options, *decoded_options_count);
  libexec_prefix_dir = config::standard_libexec_prefix;
  locate_installation(*decoded_options, resolve_links);

  // 4. The counts below are of the command line as the user wrote it.
  const unsigned user_option_count = *decoded_options_count;
  lang_specific_driver(decoded_options, decoded_options_count, &implicit_library_count);
  decoded_option *decoded = *decoded_options;
  const unsigned count = *decoded_options_count;

  // 5, 6.
  if (install_exec_prefix)
    settle_standard_prefix();
  add_environment_prefixes();

  // 7.
  const option_handler_set &handlers = driver_option_handlers();
  language_override_input_count = -1;

  // 8.
  stops_before_link = any_option_after_first(decoded, count, {OPT_S, OPT_c, OPT_E});

  // 9.
  for (unsigned i = 1; i < count; i++) {
    if (decoded[i].opt_index == OPTION_INPUT_FILE) {
      add_input(decoded[i].arg, language_override);
      continue;
    }
    read_cmdline_option(&global_options, &global_options_set, &decoded[i], UNKNOWN_LOCATION,
                        OPTF_DRIVER, &handlers, &global_reporter);
  }

  // 10.
  if (*static_cast<const int *>(option_variable(OPT_gtoggle, &global_options)))
    global_options.x_debug_info_level = global_options.x_debug_info_level == 0 ? 2 : 0;

  // 11, 12, 13.
  if (output_given)
    check_output_name();
  settle_aux_names();
  if (save_temps_mode != keep_temps_off && global_options.x_use_pipes) {
    warning_noloc(0, "%<-pipe%> ignored because %<-save-temps%> specified");
    global_options.x_use_pipes = 0;
  }

  // 14, 15, 16.
  compare_debug_from_environment();
  if (!install_exec_prefix)
    add_configured_prefixes();
  add_tool_prefixes();

  // 17.
  if (input_count > 0 && input_count == language_override_input_count && language_override)
    warning_noloc(0, "%<-x %s%> after last input file has no effect", language_override);

  // 18.
  if (compare_debug_mode == 2 || compare_debug_mode == 3) {
    compare_debug_mode = 1;
    push_switch(concat("fcompare-debug=", compare_debug_option, nullptr));
  }

  // 19, 20.
  settle_undefined_env_tolerated(user_option_count);
  terminate_switches_and_inputs();
}
