// A symbolic backtrace of the driver's own stack, printed after an
// internal error.
#ifndef VRK_DIAGNOSTICS_BACKTRACE_H
#define VRK_DIAGNOSTICS_BACKTRACE_H

#include <cstdio>

// Prints up to 20 frames of the caller's stack to `stream` as
// "0x<pc> <function>\n\t<file>:<line>\n", leaving out the reporter's own
// frames at the top and stopping at the program's main function.  File and
// line are not known to this reader and print as "???" and 0.  Answers the
// number of frames printed.
int print_backtrace(std::FILE *stream);

// The (demangled) name of the function containing `pc`, or null.  The
// result stays valid until the next call.
const char *backtrace_function_name(const void *pc);

#endif
