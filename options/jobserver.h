// Detection of a parallel build tool's job server announced in MAKEFLAGS
// ("--jobserver-auth=R,W" or "--jobserver-auth=fifo:PATH").  When the
// announcement is unusable in this process, a cleaned MAKEFLAGS without the
// job-server word is prepared for the child programs.
#ifndef VRK_OPTIONS_JOBSERVER_H
#define VRK_OPTIONS_JOBSERVER_H

#include <string>

struct jobserver_state {
  // "MAKEFLAGS=" and the cleaned flags; set only when the announcement is
  // unusable (then it replaces MAKEFLAGS in the children's environment).
  std::string skipped_makeflags;
  int read_fd = -1;
  int write_fd = -1;
  std::string pipe_path;  // of the "fifo:" form
  bool active = false;    // a usable job server was found

  jobserver_state() = default;
  // Analyse MAKEFLAGS' value (null when the variable is unset).
  explicit jobserver_state(const char *makeflags);
};

#endif
