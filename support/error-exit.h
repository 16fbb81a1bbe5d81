// The end of the process after an error that has already been reported
// (fatal and internal errors, a temporary file that cannot be made).  All
// of them go through one function, so that a caller that must survive
// them (a fuzz target, which feeds arbitrary input to the parsers and
// treats a fatal error as an ordinary outcome) can take over that exit.
#ifndef VRK_SUPPORT_ERROR_EXIT_H
#define VRK_SUPPORT_ERROR_EXIT_H

// Called with the exit status instead of std::exit when set.  It must not
// return (it may throw); if it does, the process exits all the same.
// Process-wide like the exit it replaces.
using error_exit_handler = void (*)(int status);
extern error_exit_handler error_exit_hook;

// Run the hook when one is set, else std::exit(STATUS) (which runs the
// exit handlers that delete temporary files).
[[noreturn]] void exit_after_error(int status);

#endif
