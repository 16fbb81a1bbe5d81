// The spec loading sequence that follows command-line processing.  The
// order matters: self specs see the specs files' definitions, the library
// directories see the sysroot suffix, claiming sees every spec that will
// ever be interpreted, and the multilib choice sees the final switches.
#include "spec/load-specs.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "driver/compare-debug.h"
#include "driver/compilers.h"
#include "driver/driver-state.h"
#include "process/prefixes.h"
#include "spec/braces.h"
#include "spec/interpreter.h"
#include "spec/multilib.h"
#include "spec/spec-list.h"
#include "spec/specs-file.h"
#include "support/configuration.h"
#include "support/text.h"

namespace {

bool spec_set(const char *spec) { return spec && *spec; }

void read_main_specs_files() {
  char *found = run_paths.find_file_on_prefixes(run_paths.startfile_prefixes, "specs", R_OK, true);
  if (found && std::strcmp(found, "specs") != 0)
    read_specs_file(found, true, false);
  else if (!spec_list)
    install_builtin_specs();
  std::free(found);

  char *machine_specs = concat(config::standard_exec_prefix, run_paths.machine_only_suffix, "specs", nullptr);
  if (access(machine_specs, R_OK) == 0)
    read_specs_file(machine_specs, true, false);
  std::free(machine_specs);
}

void add_standard_directories() {
  if (native_configuration() && spec_set(md_exec_prefix_spec))
    run_paths.add_search_prefix(run_paths.exec_prefixes, md_exec_prefix_spec, "VRK", PREFIX_PRIORITY_LAST, 0, 0);

  settle_sysroot_suffixes();

  if (spec_set(startfile_prefix_spec) && expand_spec(startfile_prefix_spec) == 0 &&
      do_spec_1(" ", false, nullptr) == 0) {
    // The words are kept for the walk below: add_sysroot_prefix copies them.
    std::vector<const char *> words = arg_buffer;
    for (const char *word : words)
      run_paths.add_sysroot_prefix(word, "OBJKIT", sysroot_dir, sysroot_suffix);
    return;
  }
  if (!native_configuration() && !sysroot_dir)
    return;
  if (spec_set(md_startfile_prefix_spec))
    run_paths.add_sysroot_prefix(md_startfile_prefix_spec, "VRK", sysroot_dir, sysroot_suffix);
  if (spec_set(md_startfile_prefix_1_spec))
    run_paths.add_sysroot_prefix(md_startfile_prefix_1_spec, "VRK", sysroot_dir, sysroot_suffix);
  if (native_configuration()) {
    const char *base = install_exec_prefix ? install_exec_prefix : config::standard_exec_prefix;
    char *dir = concat(base, run_paths.machine_suffix, "../../../", nullptr);
    run_paths.add_search_prefix(run_paths.startfile_prefixes, dir, nullptr, PREFIX_PRIORITY_LAST, 0, 1);
    std::free(dir);
  }
  run_paths.add_sysroot_prefix("/lib/", "OBJKIT", sysroot_dir, sysroot_suffix);
  run_paths.add_sysroot_prefix("/usr/lib/", "OBJKIT", sysroot_dir, sysroot_suffix);
}

void read_user_specs_files() {
  for (const char *name : user_spec_files) {
    char *found = run_paths.find_file_on_prefixes(run_paths.startfile_prefixes, name, R_OK, true);
    read_specs_file(found ? found : name, false, true);
    std::free(found);
  }
}

// Names are unique in the list, so there is at most one; the built-in
// value is empty.
void apply_specs_file_self_spec() {
  named_spec *sl = lookup_spec("self_spec");
  if (sl && spec_set(*sl->value_slot))
    apply_self_spec(*sl->value_slot);
}

void claim_switches_of_all_specs() {
  for (const compiler_entry &row : compilers_table)
    if (row.spec)
      claim_spec_switches(row.spec, false);
  for (named_spec *sl = spec_list; sl; sl = sl->next)
    if (*sl->value_slot)
      claim_spec_switches(*sl->value_slot, sl->user_set);
  if (link_command_spec)
    claim_spec_switches(link_command_spec, false);
}

} // namespace

void load_specs_after_command_line() {
  init_compilers_table();

  run_paths.machine_suffix = concat(config::target_name, "/", config::version_number, "/", nullptr);
  run_paths.machine_only_suffix = concat(config::target_name, "/", nullptr);

  read_main_specs_files();

  for (const char *spec : driver_self_specs)
    apply_self_spec(spec);

  add_standard_directories();
  read_user_specs_files();
  apply_specs_file_self_spec();
  prepare_compare_debug();

  if (install_exec_prefix)
    install_exec_prefix = concat(install_exec_prefix, run_paths.machine_suffix, nullptr);

  claim_switches_of_all_specs();
  select_multilib();
}
