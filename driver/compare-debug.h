// -fcompare-debug: every input is compiled twice, the second time with the
// debugging option toggled, and the two final dumps must be identical.
#ifndef VRK_DRIVER_COMPARE_DEBUG_H
#define VRK_DRIVER_COMPARE_DEBUG_H

// The dump names of the first and the second compilation of the current
// input, filled by the spec function that names the dump.
extern const char *compare_debug_dumps[2];

void release_compare_debug_dumps();

// While loading specs: set up the switches of the two compilations.
void prepare_compare_debug();

// Run the second compilation of the input NAME with SPEC and compare the
// dumps; true when the input succeeded.
bool compare_debug_second_compilation(const char *name, const char *spec);

#endif
