// The specs file reader: a text file of named specs ("*name:" and a value),
// compilers-table rows (a name without "*"), the link command
// ("*link_command:"), comments, and (outside main specs files) the
// directives %include, %include_noerr and %rename.  -dumpspecs writes the
// same format.
#ifndef VRK_SPEC_SPECS_FILE_H
#define VRK_SPEC_SPECS_FILE_H

struct compilation;

// Read and apply the specs file NAME: named specs, the link command, and
// rows of COMP's compilers table; %include looks along COMP's startfile
// prefixes.  MAIN: a main specs file (no directives).  USER: a -specs=
// file (or one it includes); passed on to define_spec as user_set.  Every
// problem is a fatal error.
void read_specs_file(compilation &comp, const char *name, bool main, bool user);

#endif
