// The linking step: auxiliary names for the link, the job server, linker
// and plugin choice and search paths handed to the linker wrapper, the link
// command spec itself, and the warnings about unused linker inputs.
#include "driver/link.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "diagnostics/intl.h"
#include "driver/child-env.h"
#include "options/jobserver.h"
#include "spec/braces.h"
#include "spec/interpreter.h"
#include "spec/spec-list.h"
#include "support/text.h"

namespace {

int count_linker_inputs(const compilation &comp) {
  int count = 0;
  for (int i = 0; i < comp.inputs.count(); i++) {
    auto slot = static_cast<std::size_t>(i);
    if ((slot < comp.explicit_link_files.size() && comp.explicit_link_files[slot]) ||
        (slot < comp.output_files.size() && comp.output_files[slot]))
      count++;
  }
  return count;
}

// Auxiliary outputs of the link are named from aux_dir and their own
// suffix: "out/prog-" becomes "out/prog.", a stem "prog" becomes "prog.".
void prepare_link_aux_names(spec_interpreter &in) {
  compilation &comp = in.comp;
  if (comp.output_stem && *comp.output_stem) {
    char *dir = concat(comp.aux_dir ? comp.aux_dir : "", comp.output_stem, ".", nullptr);
    comp.aux_dir = dir;
    comp.aux_dir_dash_added = true;
    std::size_t length = std::strlen(dir);
    vrk_assert(length > 0 && dir[length - 1] == '.');
    comp.aux_dir_length = static_cast<int>(length - 1);
  } else if (comp.aux_dir_dash_added) {
    char *dir = xstrdup(comp.aux_dir);
    std::size_t length = std::strlen(dir);
    vrk_assert(length > 0 && dir[length - 1] == '-');
    dir[length - 1] = '.';
    comp.aux_dir = dir;
    comp.aux_dir_length = static_cast<int>(length - 1);
  }
  comp.output_stem = nullptr;
  in.input.base = nullptr;
  in.input.stem_length = 0;
  in.input.base_length = 0;
  comp.output_stem_length = 0;
}

bool linker_plugin_disabled(switch_list &switches) {
  static const char name[] = "fno-use-linker-plugin";
  for (int i : switches.named(name, sizeof name - 1, true))
    if (switch_is_live(switches, i, -1))
      return true;
  return false;
}

void choose_linker_and_plugin(compilation &comp, const char *driver_name) {
  search_paths &search = comp.search;
  if (std::strcmp(named_specs.linker_name_spec, "ldwrap") == 0) {
    char *found = search.find_program("ldwrap");
    if (!found)
      set_static_spec(&named_specs.linker_name_spec, "ld", false);
    std::free(found);
  }
  if (!linker_plugin_disabled(comp.switches)) {
    char *plugin =
        search.find_file_on_prefixes(search.exec_prefixes, "libltohook.so", R_OK, false);
    if (!plugin)
      fatal_error(UNKNOWN_LOCATION, "%<-fuse-linker-plugin%>, but %s not found", "libltohook.so");
    set_static_spec(&named_specs.linker_plugin_file_spec, escape_white_space(plugin), true);
    std::free(plugin);
    // The plugin hands the link-time code to the LTO wrapper; without one
    // (none was found, or a specs file emptied the spec) it would be given
    // an empty "-plugin-opt=", which linkers reject.  The link then runs
    // as under -fno-use-linker-plugin, and says so to the children.
    if (!*named_specs.lto_wrapper_spec)
      comp.switches.save("-fno-use-linker-plugin", 0, nullptr, true, true);
  }
  set_static_spec(&named_specs.lto_vrk_spec, driver_name, false);
}

void report_unused_linker_inputs(const compilation &comp) {
  for (int i = 0; i < comp.inputs.count(); i++) {
    auto slot = static_cast<std::size_t>(i);
    const input_entry &in = comp.inputs[i];
    if (slot >= comp.explicit_link_files.size() || !comp.explicit_link_files[slot])
      continue;
    if (in.language && std::strcmp(in.language, "*") == 0)
      continue;
    const char *file = comp.output_files[slot];
    warning_noloc(0, "%s: linker input file unused because linking not done", file);
    if (access(file, F_OK) < 0)
      error_noloc("%s: linker input file not found: %m", file);
  }
}

} // namespace

void maybe_run_linker(spec_interpreter &in, const char *driver_name) {
  compilation &comp = in.comp;
  int linker_inputs = count_linker_inputs(comp);
  prepare_link_aux_names(in);

  if (linker_inputs > 0 && !seen_error() && comp.subprocess_help_level <= 1) {
    int groups_before = comp.executed_group_count;

    export_makeflags(jobserver_state(std::getenv("MAKEFLAGS")));

    if (!comp.stops_before_link)
      choose_linker_and_plugin(comp, driver_name);

    export_compiler_path(comp.search);
    export_library_path(comp.search);

    if (comp.subprocess_help_level == 1) {
      std::fputs(translate("\nLinker options\n==============\n\n"), stdout);
      std::fputs(translate("Use \"-Wl,OPTION\" to pass \"OPTION\" to the linker.\n\n"), stdout);
      std::fflush(stdout);
    }

    provenance_scope from(in.trace, spec_origin::link_command, "link_command",
                          named_specs.link_command_spec);
    if (in.run_spec(named_specs.link_command_spec) < 0)
      diagnostic_count(kind_error) = 1;

    if (comp.executed_group_count != groups_before)
      return;
  }

  if (seen_error())
    return;
  report_unused_linker_inputs(comp);
}
