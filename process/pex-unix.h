// The system-operations table under the pipeline logic, and its POSIX
// implementation (pipes, vfork, execv/execvp, dup2, wait4/waitpid).
#ifndef VRK_PROCESS_PEX_UNIX_H
#define VRK_PROCESS_PEX_UNIX_H

#include <cstdio>
#include <sys/types.h>

#include "process/pex.h"

struct pex_system_ops {
  // open for reading only.
  int (*open_input_file)(pex_pipeline *obj, const char *name, bool binary);
  // open for writing, created when missing (0666 before the creation
  // mask), truncated or appended to.
  int (*open_output_file)(pex_pipeline *obj, const char *name, bool binary, bool append);
  // Start a child reading IN, writing OUT and ERRDES, closing TOCLOSE (when
  // 0 or above).  The call takes over IN (unless 0), OUT (unless 1) and
  // ERRDES (unless 2) and closes them in the parent whatever happens.
  // Returns the process id, or -1 with *ERRMSG and *ERR set.
  pid_t (*spawn_child)(pex_pipeline *obj, int flags, const char *executable,
                       char *const *argv, char *const *env, int in, int out, int errdes,
                       int toclose, const char **errmsg, int *err);
  int (*close_descriptor)(pex_pipeline *obj, int fd);
  // Wait for PID; with DONE the child is first sent SIGTERM.  TIME may be
  // null.  0, or -1 with *ERRMSG and *ERR set.
  int (*wait_child)(pex_pipeline *obj, pid_t pid, int *status, pex_times *time, bool done,
                    const char **errmsg, int *err);
  int (*create_pipe)(pex_pipeline *obj, int fds[2], bool binary);
  std::FILE *(*stream_for_reading)(pex_pipeline *obj, int fd, bool binary);
  // Marks FD close-on-exec first, so children never hold the caller's
  // write end.
  std::FILE *(*stream_for_writing)(pex_pipeline *obj, int fd, bool binary);
  // Called last by pex_destroy when present.
  void (*release)(pex_pipeline *obj);
};

extern const pex_system_ops pex_unix_ops;

#endif
