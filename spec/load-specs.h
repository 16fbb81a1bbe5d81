// Setting up the specs after the command line has been processed: the
// compilers table, the machine suffixes, the main and user specs files,
// the self specs, the standard library directories, the -fcompare-debug
// switch sets, the claiming of every switch a spec mentions, and the
// multilib choice.
#ifndef VRK_SPEC_LOAD_SPECS_H
#define VRK_SPEC_LOAD_SPECS_H

class spec_interpreter;

// Runs once per run, right after process_command, in this order:
// compilers table copy; machine suffixes; main specs file (or the
// built-in spec list) and the machine specs file; the driver's self specs;
// program and library directories with the sysroot suffixes; user specs
// files; "self_spec" entries; -fcompare-debug preparation; the machine
// suffix on install_exec_prefix; claiming; multilib selection.
void load_specs_after_command_line(spec_interpreter &in);

#endif
