// The per-input loop: every input is classified through the compilers
// table, then compiled by interpreting its row's spec.
#ifndef VRK_DRIVER_INFILES_H
#define VRK_DRIVER_INFILES_H

#include <cstring>

#include "compilation/compilation.h"

class spec_interpreter;

// The row for input NAME under LANGUAGE in COMP's compilers table.
inline compiler_entry *lookup_compiler(compilation &comp, const char *name,
                                       const char *language) {
  return comp.compilers.lookup(name, std::strlen(name), language, comp.preprocess_only_given);
}

// True when an error had been reported before it started: compiling and
// linking are then skipped.
bool check_inputs(compilation &comp);
void do_spec_on_infiles(spec_interpreter &in);

#endif
