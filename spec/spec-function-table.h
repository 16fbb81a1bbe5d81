// The table of spec functions called as %:NAME(ARGS): searched in order by
// exact name.  A handler receives the expanded arguments and returns a text
// to interpret in place of the call, or null (nothing; false in a group
// condition).
#ifndef VRK_SPEC_SPEC_FUNCTION_TABLE_H
#define VRK_SPEC_SPEC_FUNCTION_TABLE_H

struct spec_function {
  const char *name;
  const char *(*func)(int argc, const char **argv);
};

extern const spec_function *spec_function_table;
extern int spec_function_count;

// The entry called NAME, or null.
const spec_function *lookup_spec_function(const char *name);

#endif
