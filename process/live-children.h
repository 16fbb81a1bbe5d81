// The children that the process-execution library has started and not yet
// reaped, so that a fatal-signal handler can stop them before it removes
// the temporary files they write: a compiler left running after the
// driver was terminated would write its output again after the clean-up.
#ifndef VRK_PROCESS_LIVE_CHILDREN_H
#define VRK_PROCESS_LIVE_CHILDREN_H

#include <sys/types.h>

// Called with every fatal signal blocked (see pex-unix.cc), so that a
// handler never sees a child that was started but not yet noted, nor one
// already reaped but still noted.
void note_child_started(pid_t pid);
void note_child_reaped(pid_t pid);

// Send SIG to every child still running and wait until each has ended.
// Async-signal-safe (kill and waitpid only).
void stop_live_children(int sig);

#endif
