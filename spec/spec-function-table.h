// The table of spec functions called as %:NAME(ARGS): searched in order by
// exact name.  A handler receives the interpreter and the expanded
// arguments (ARGC words, ARGV[ARGC] null) and returns a text to interpret
// in place of the call, or null (nothing; false in a group condition).
#ifndef VRK_SPEC_SPEC_FUNCTION_TABLE_H
#define VRK_SPEC_SPEC_FUNCTION_TABLE_H

class spec_interpreter;

struct spec_function {
  const char *name;
  const char *(*func)(spec_interpreter &in, int argc, const char **argv);
};

// The spec functions of this build, in their search order.
extern const spec_function builtin_spec_functions[];
extern const int builtin_spec_function_count;

#endif
