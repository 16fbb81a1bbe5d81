// process_command: the fixed order in which the decoded command line
// becomes the driver's run state.
#include "driver/command-line.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "compilation/compilation.h"
#include "compilation/env-manager.h"
#include "diagnostics/diagnostic-reporter.h"
#include "diagnostics/diagnostic.h"
#include "driver/aux-names.h"
#include "driver/driver-options.h"
#include "driver/lang-hook.h"
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
void locate_installation(compilation &comp, const decoded_option *decoded, bool resolve_links) {
  if (comp.install_exec_prefix) {
    char *name = concat(comp.install_exec_prefix, "vrk", nullptr);
    char *libexec = relative_prefix(name, config::standard_exec_prefix,
                                    config::standard_libexec_prefix, resolve_links);
    if (libexec)
      comp.libexec_prefix_dir = libexec;
    std::free(name);
    return;
  }
  const char *argv0 = decoded[0].arg;
  comp.install_exec_prefix = relative_prefix(argv0, config::standard_bindir_prefix,
                                             config::standard_exec_prefix, resolve_links);
  char *libexec = relative_prefix(argv0, config::standard_bindir_prefix,
                                  config::standard_libexec_prefix, resolve_links);
  if (libexec)
    comp.libexec_prefix_dir = libexec;
  if (comp.install_exec_prefix)
    env.xput(concat("VRK_EXEC_PREFIX=", comp.install_exec_prefix, nullptr));
}

// Step 5: "<root>/lib/vrk/" names the installation root "<root>".
void settle_standard_prefix(compilation &comp) {
  search_paths &search = comp.search;
  const char *p = comp.install_exec_prefix;
  std::size_t len = std::strlen(p);
  if (len > 9 && p[len - 1] == '/' && std::strncmp(p + len - 9, "/lib/vrk/", 9) == 0)
    len -= 9;
  search.set_standard_prefix(p, len);
  search.add_search_prefix(search.exec_prefixes, comp.libexec_prefix_dir, "VRK",
                           PREFIX_PRIORITY_LAST, 0, 0);
  search.add_search_prefix(search.startfile_prefixes, p, "VRK", PREFIX_PRIORITY_LAST, 0, 0);
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
void add_environment_prefixes(search_paths &search) {
  for_each_path_element(env.getenv("COMPILER_PATH"), [&search](const char *dir) {
    search.add_search_prefix(search.exec_prefixes, dir, nullptr, PREFIX_PRIORITY_LAST, 0, 0);
    search.add_search_prefix(search.include_prefixes, dir, nullptr, PREFIX_PRIORITY_LAST, 0, 0);
  });
  if (!native_configuration())
    return;
  for (const char *var : {"LIBRARY_PATH", "LPATH"})
    for_each_path_element(env.getenv(var), [&search](const char *dir) {
      search.add_search_prefix(search.startfile_prefixes, dir, nullptr, PREFIX_PRIORITY_LAST, 0,
                               1);
    });
}

// Canonical absolute form of NAME, or NAME itself when it cannot be had.
char *canonical_name(const char *name) {
  char *resolved = realpath(name, nullptr);
  return resolved ? resolved : xstrdup(name);
}

// Step 11.
void check_output_name(const compilation &comp) {
  const char *output_name = comp.output_name;
  if (std::strcmp(output_name, "-") != 0 && std::strcmp(output_name, "/dev/null") != 0) {
    char *out = canonical_name(output_name);
    for (int i = 0; i < comp.inputs.count(); i++) {
      const char *language = comp.inputs[i].language;
      if (language && language[0] == '*')
        continue;
      char *in = canonical_name(comp.inputs[i].name);
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
void compare_debug_from_environment(compare_debug_state &cd) {
  if (cd.mode == 0) {
    const char *value = env.getenv("VRK_COMPARE_DEBUG");
    if (value && value[0] == '-') {
      cd.mode = 2;
      cd.option = value;
    } else if (value && *value && std::strcmp(value, "0") != 0) {
      cd.mode = 3;
      cd.option = "-gtoggle";
    }
  }
  // A negated -fcompare-debug never leaves an option behind.
  if (cd.mode < 0) {
    vrk_assert(!cd.option);
    cd.mode = 0;
  }
}

// Step 15: the configured directories, when the installation was not
// located relative to the driver.
void add_configured_prefixes(search_paths &search) {
  search.add_search_prefix(search.exec_prefixes, config::standard_libexec_prefix, "VRK",
                           PREFIX_PRIORITY_LAST, 1, 0);
  search.add_search_prefix(search.exec_prefixes, config::standard_libexec_prefix, "OBJKIT",
                           PREFIX_PRIORITY_LAST, 2, 0);
  search.add_search_prefix(search.exec_prefixes, config::standard_exec_prefix, "OBJKIT",
                           PREFIX_PRIORITY_LAST, 2, 0);
  search.add_search_prefix(search.startfile_prefixes, config::standard_exec_prefix, "OBJKIT",
                           PREFIX_PRIORITY_LAST, 1, 0);
}

// Step 16: the tool directory <prefix>/<target>/ of the assembler and linker.
void add_tool_prefixes(compilation &comp) {
  search_paths &search = comp.search;
  const char *p =
      comp.install_exec_prefix ? comp.install_exec_prefix : config::standard_exec_prefix;
  char *tool = concat(p, config::target_name, "/", config::version_number, "/",
                      "../../../../", config::target_name, "/", nullptr);
  char *bin = concat(tool, "bin/", nullptr);
  char *lib = concat(tool, "lib/", nullptr);
  search.add_search_prefix(search.exec_prefixes, bin, "OBJKIT", PREFIX_PRIORITY_LAST, 0, 0);
  search.add_search_prefix(search.startfile_prefixes, lib, "OBJKIT", PREFIX_PRIORITY_LAST, 0, 1);
  std::free(tool);
  std::free(bin);
  std::free(lib);
}

// Step 19: may the specs read undefined environment variables?  Only for
// runs that just print information (-v alone, --help/--version alone).
void settle_undefined_env_tolerated(compilation &comp, unsigned user_option_count) {
  int n = 0;
  bool info = comp.help_requested || comp.version_requested || comp.subprocess_help_level;
  if (comp.inputs.count() == 0 && info)
    comp.inputs.add("help-dummy", "c");
  if (comp.inputs.count() > 0)
    n = (comp.help_requested ? 1 : 0) + (comp.version_requested ? 1 : 0);
  if ((comp.options.x_verbose_flag && user_option_count == 2) ||
      user_option_count - 1 == static_cast<unsigned>(n))
    comp.undefined_env_tolerated = true;
}

void settle_aux_names(compilation &comp) {
  const auto *wpa = static_cast<const char *const *>(option_variable(OPT_fwpa_, &comp.options));
  bool in_wpa = wpa && *wpa;
  std::vector<const char *> compilable;
  for (int i = 0; i < comp.inputs.count(); i++)
    if (input_is_compilable(comp.inputs[i].language, in_wpa))
      compilable.push_back(comp.inputs[i].name);

  aux_name_input in{};
  in.output_name = comp.output_name;
  in.aux_dir = comp.aux_dir;
  in.aux_base = comp.aux_base;
  in.aux_base_ext = comp.aux_base_ext;
  in.dumpdir_given = comp.dumpdir_given;
  in.temps_option_overrides_dir = comp.temps_option_overrides_dir;
  in.stops_before_link = comp.stops_before_link;
  in.save_temps_mode = comp.save_temps_mode;
  in.compilable_inputs = compilable.data();
  in.compilable_count = static_cast<int>(compilable.size());

  aux_name_result r = derive_aux_names(in);
  comp.aux_dir = r.aux_dir;
  comp.aux_base = r.aux_base;
  comp.aux_base_ext = r.aux_base_ext;
  comp.output_stem = r.output_stem;
  comp.output_stem_length = r.output_stem_length;
  comp.aux_dir_length = r.aux_dir_length;
  comp.aux_dir_dash_added = r.aux_dir_dash_added;
  comp.save_temps_mode = r.save_temps_mode;
}

} // namespace

bool driver_unknown_option_callback(const decoded_option *decoded, void *context) {
  compilation &comp = *static_cast<compilation *>(context);
  const char *text = decoded->orig_text;
  bool wno_form = text && std::strncmp(text, "-Wno-", 5) == 0;
  bool recognised = wno_form && !(decoded->errors & OPTERR_NEGATIVE);
  comp.switches.save(decoded->canonical[0], decoded->canonical_count - 1, decoded->canonical + 1,
                     false, recognised);
  return false;
}

void driver_wrong_lang_callback(const decoded_option *decoded, unsigned lang_mask,
                                void *context) {
  compilation &comp = *static_cast<compilation *>(context);
  const option_record &record = option_table[decoded->opt_index];
  if (record.attrs & attr_driver_rejects)
    error_noloc("unrecognized command-line option %qs", decoded->orig_text);
  else
    comp.switches.save(decoded->canonical[0], decoded->canonical_count - 1,
                       decoded->canonical + 1, false, true);
}

bool resolves_prefix_links(const decoded_option *decoded, unsigned count) {
  return !any_option_after_first(decoded, count, {OPT_no_canonical_prefixes});
}

option_handler_set driver_option_handlers(compilation &comp) {
  option_handler_set h{};
  h.unknown_option_callback = driver_unknown_option_callback;
  h.wrong_lang_callback = driver_wrong_lang_callback;
  h.num_handlers = 3;
  h.handlers[0] = {driver_handle_option, OPTF_DRIVER};
  h.handlers[1] = {common_handle_option, OPTF_COMMON};
  h.handlers[2] = {target_handle_option, OPTF_TARGET};
  h.context = &comp;
  return h;
}

void process_command(compilation &comp, unsigned *decoded_options_count,
                     decoded_option **decoded_options) {
  // 1.
  comp.install_exec_prefix = env.getenv("VRK_EXEC_PREFIX");
  comp.inputs.clear();
  comp.switches.clear();
  comp.implicit_library_count = 0;
  {
    const char *v = config::version_string;
    comp.version_number_text = xstrndup(v, std::strcspn(v, " "));
  }
  // Before any option is handled: -dumpspecs prints the version spec.
  named_specs.version_spec = comp.version_number_text;

  // 2, 3.
  bool resolve_links = resolves_prefix_links(*decoded_options, *decoded_options_count);
  comp.libexec_prefix_dir = config::standard_libexec_prefix;
  locate_installation(comp, *decoded_options, resolve_links);

  // 4. The counts below are of the command line as the user wrote it.
  const unsigned user_option_count = *decoded_options_count;
  lang_specific_driver(decoded_options, decoded_options_count, &comp.implicit_library_count);
  decoded_option *decoded = *decoded_options;
  const unsigned count = *decoded_options_count;

  // 5, 6.
  if (comp.install_exec_prefix)
    settle_standard_prefix(comp);
  add_environment_prefixes(comp.search);

  // 7.
  comp.option_handlers = driver_option_handlers(comp);
  comp.language_override_input_count = -1;

  // 8.
  comp.stops_before_link = any_option_after_first(decoded, count, {OPT_S, OPT_c, OPT_E});

  // 9.
  for (unsigned i = 1; i < count; i++) {
    if (decoded[i].opt_index == OPTION_INPUT_FILE) {
      comp.inputs.add(decoded[i].arg, comp.language_override);
      comp.inputs[comp.inputs.count() - 1].argv_index = decoded[i].argv_index;
      continue;
    }
    int saved_before = comp.switches.count();
    int inputs_before = comp.inputs.count();
    read_cmdline_option(&comp.options, &comp.options_set, &decoded[i], UNKNOWN_LOCATION,
                        OPTF_DRIVER, &comp.option_handlers, &global_reporter);
    for (int k = saved_before; k < comp.switches.count(); k++)
      comp.switches[k].argv_index = decoded[i].argv_index;
    for (int k = inputs_before; k < comp.inputs.count(); k++)
      comp.inputs[k].argv_index = decoded[i].argv_index;
  }

  // 10.
  if (*static_cast<const int *>(option_variable(OPT_gtoggle, &comp.options)))
    comp.options.x_debug_info_level = comp.options.x_debug_info_level == 0 ? 2 : 0;

  // 11, 12, 13.
  if (comp.output_given)
    check_output_name(comp);
  settle_aux_names(comp);
  if (comp.save_temps_mode != keep_temps_off && comp.options.x_use_pipes) {
    warning_noloc(0, "%<-pipe%> ignored because %<-save-temps%> specified");
    comp.options.x_use_pipes = 0;
  }

  // 14, 15, 16.
  compare_debug_state &cd = comp.compare_debug;
  compare_debug_from_environment(cd);
  if (!comp.install_exec_prefix)
    add_configured_prefixes(comp.search);
  add_tool_prefixes(comp);

  // 17.
  int inputs = comp.inputs.count();
  if (inputs > 0 && inputs == comp.language_override_input_count && comp.language_override)
    warning_noloc(0, "%<-x %s%> after last input file has no effect", comp.language_override);

  // 18.
  if (cd.mode == 2 || cd.mode == 3) {
    cd.mode = 1;
    comp.switches.push(concat("fcompare-debug=", cd.option, nullptr));
  }

  // 19, 20.
  settle_undefined_env_tolerated(comp, user_option_count);
}
