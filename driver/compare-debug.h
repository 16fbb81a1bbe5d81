// -fcompare-debug: every input is compiled twice, the second time with the
// debugging option toggled, and the two final dumps must be identical.
// The switches of the second compilation are prepared while the specs are
// loaded (spec/load-specs).
#ifndef VRK_DRIVER_COMPARE_DEBUG_H
#define VRK_DRIVER_COMPARE_DEBUG_H

class spec_interpreter;

// Run the second compilation of the input NAME with SPEC and compare the
// dumps; true when the input succeeded.
bool compare_debug_second_compilation(spec_interpreter &in, const char *name, const char *spec);

#endif
