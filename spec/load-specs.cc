// The spec loading sequence that follows command-line processing.  The
// order matters: self specs see the specs files' definitions, the library
// directories see the sysroot suffix, claiming sees every spec that will
// ever be interpreted, and the multilib choice sees the final switches.
#include "spec/load-specs.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "compilation/compilation.h"
#include "spec/braces.h"
#include "spec/interpreter.h"
#include "spec/multilib.h"
#include "spec/spec-list.h"
#include "spec/specs-file.h"
#include "support/configuration.h"
#include "support/text.h"

namespace {

bool spec_set(const char *spec) { return spec && *spec; }

void read_main_specs_files(compilation &comp) {
  const search_paths &search = comp.search;
  char *found = search.find_file_on_prefixes(search.startfile_prefixes, "specs", R_OK, true);
  if (found && std::strcmp(found, "specs") != 0)
    read_specs_file(comp, found, true, false);
  else if (!named_specs.spec_list)
    install_builtin_specs(comp.options.x_verbose_flag != 0);
  std::free(found);

  char *machine_specs =
      concat(config::standard_exec_prefix, search.machine_only_suffix, "specs", nullptr);
  if (access(machine_specs, R_OK) == 0)
    read_specs_file(comp, machine_specs, true, false);
  std::free(machine_specs);
}

void add_sysroot_prefix(compilation &comp, const char *directory, const char *component) {
  comp.search.add_sysroot_prefix(directory, component, comp.sysroot_dir, comp.sysroot_suffix);
}

void add_standard_directories(spec_interpreter &in) {
  compilation &comp = in.comp;
  search_paths &search = comp.search;
  if (native_configuration() && spec_set(named_specs.md_exec_prefix_spec))
    search.add_search_prefix(search.exec_prefixes, named_specs.md_exec_prefix_spec, "VRK",
                             PREFIX_PRIORITY_LAST, 0, 0);

  settle_sysroot_suffixes(in);

  const char *startfile_prefix = named_specs.startfile_prefix_spec;
  if (spec_set(startfile_prefix) && in.expand_spec(startfile_prefix) == 0 &&
      in.do_spec_1(" ", false, nullptr) == 0) {
    // The words are kept for the walk below: add_sysroot_prefix copies them.
    std::vector<const char *> words = in.args.buffer;
    for (const char *word : words)
      add_sysroot_prefix(comp, word, "OBJKIT");
    return;
  }
  if (!native_configuration() && !comp.sysroot_dir)
    return;
  if (spec_set(named_specs.md_startfile_prefix_spec))
    add_sysroot_prefix(comp, named_specs.md_startfile_prefix_spec, "VRK");
  if (spec_set(named_specs.md_startfile_prefix_1_spec))
    add_sysroot_prefix(comp, named_specs.md_startfile_prefix_1_spec, "VRK");
  if (native_configuration()) {
    const char *base =
        comp.install_exec_prefix ? comp.install_exec_prefix : config::standard_exec_prefix;
    char *dir = concat(base, search.machine_suffix, "../../../", nullptr);
    search.add_search_prefix(search.startfile_prefixes, dir, nullptr, PREFIX_PRIORITY_LAST, 0, 1);
    std::free(dir);
  }
  add_sysroot_prefix(comp, "/lib/", "OBJKIT");
  add_sysroot_prefix(comp, "/usr/lib/", "OBJKIT");
}

void read_user_specs_files(compilation &comp) {
  const search_paths &search = comp.search;
  for (const char *name : comp.user_spec_files) {
    char *found = search.find_file_on_prefixes(search.startfile_prefixes, name, R_OK, true);
    read_specs_file(comp, found ? found : name, false, true);
    std::free(found);
  }
}

// Names are unique in the list, so there is at most one; the built-in
// value is empty.
void apply_specs_file_self_spec(spec_interpreter &in) {
  named_spec *sl = lookup_spec("self_spec");
  if (sl && spec_set(*sl->value_slot))
    in.apply_self_spec(*sl->value_slot);
}

// -fcompare-debug: the self spec that turns the switches of the first
// compilation into those of the second.  The first compilation keeps the
// switches as they are (with the removal marks of the self spec); the
// second gets a list of its own, made from the switches before the marks.
// A run that is itself a second compilation only adjusts its switches.
void prepare_compare_debug(spec_interpreter &in) {
  constexpr const char *self_opt_spec = "%:compare-debug-self-opt()";
  compilation &comp = in.comp;
  compare_debug_state &cd = comp.compare_debug;
  if (!cd.mode)
    return;
  switch_list first;
  if (!cd.second_pass) {
    switch_list untouched = comp.switches;
    in.apply_self_spec(self_opt_spec);
    first = std::exchange(comp.switches, std::move(untouched));
  }

  cd.mode = -cd.mode;
  int saved_mode = comp.save_temps_mode;
  comp.save_temps_mode = 0;
  in.apply_self_spec(self_opt_spec);
  comp.save_temps_mode = saved_mode;

  if (!cd.second_pass) {
    cd.mode = -cd.mode;
    cd.second_switches = std::exchange(comp.switches, std::move(first));
  }
}

void claim_switches_of_all_specs(compilation &comp) {
  // The scan stops when every switch is claimed (most command lines claim
  // theirs in the first few specs, or before).
  int unclaimed = 0;
  for (const saved_switch &sw : comp.switches)
    unclaimed += !sw.claimed;
  auto claim = [&](const char *spec, bool user_set) {
    if (unclaimed > 0)
      unclaimed -= claim_spec_switches(comp.switches, spec, user_set);
  };
  for (const compiler_entry &row : comp.compilers.rows)
    if (row.spec)
      claim(row.spec, false);
  for (named_spec *sl = named_specs.spec_list; sl; sl = sl->next)
    if (*sl->value_slot)
      claim(*sl->value_slot, sl->user_set);
  if (named_specs.link_command_spec)
    claim(named_specs.link_command_spec, false);
}

} // namespace

void load_specs_after_command_line(spec_interpreter &in) {
  compilation &comp = in.comp;
  comp.compilers.init();

  comp.search.machine_suffix =
      concat(config::target_name, "/", config::version_number, "/", nullptr);
  comp.search.machine_only_suffix = concat(config::target_name, "/", nullptr);

  read_main_specs_files(comp);

  for (const char *spec : driver_self_specs)
    in.apply_self_spec(spec);

  add_standard_directories(in);
  read_user_specs_files(comp);
  apply_specs_file_self_spec(in);
  prepare_compare_debug(in);

  if (comp.install_exec_prefix)
    comp.install_exec_prefix =
        concat(comp.install_exec_prefix, comp.search.machine_suffix, nullptr);

  claim_switches_of_all_specs(comp);
  select_multilib(comp);
}
