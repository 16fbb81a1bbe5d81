// The process-execution library: runs a pipeline of child programs whose
// stages are joined by pipes or temporary files, then collects their wait
// statuses (and processor times).  This is the only way the driver and the
// wrappers start children.
//
// The library never prints (apart from the child's own fallback line when
// an exec fails and the report pipe cannot carry the failure back) and
// never exits: every operation that can fail returns a short failure text
// naming the failed call and stores an error number (0 when no system call
// failed).
#ifndef VRK_PROCESS_PEX_H
#define VRK_PROCESS_PEX_H

#include <cstdint>
#include <cstdio>
#include <sys/types.h>

// Pipeline flags, given to pex_create.
inline constexpr int PEX_WITH_TIMES = 1;  // record user and system time per child
inline constexpr int PEX_WITH_PIPES = 2;  // join stages by pipes, else by temporary files
inline constexpr int PEX_KEEP_TEMPS = 4;  // keep the temporary files between stages

// Stage flags, given for each stage.
inline constexpr int PEX_LAST_STAGE = 1;
inline constexpr int PEX_SEARCH_PATH = 2;      // execvp along PATH, else execv
inline constexpr int PEX_NAME_IS_SUFFIX = 4;   // output name is appended to the temporary base
inline constexpr int PEX_MERGE_STDERR = 8;     // standard error goes where standard output goes
inline constexpr int PEX_BINARY_IN = 16;
inline constexpr int PEX_BINARY_OUT = 32;
inline constexpr int PEX_STDERR_TO_PIPE = 64;  // standard error into a pipe the caller reads
inline constexpr int PEX_BINARY_ERR = 128;
inline constexpr int PEX_APPEND_STDOUT = 256;
inline constexpr int PEX_APPEND_STDERR = 512;

// Processor times of one child, from its resource usage.
struct pex_times {
  std::int64_t user_sec;
  std::int64_t user_usec;
  std::int64_t sys_sec;
  std::int64_t sys_usec;
};

struct pex_system_ops;

// One pipeline, owned by the caller from pex_create to pex_destroy.
struct pex_pipeline {
  int flags;
  const char *program_name;      // borrowed; used in the child's fallback line
  const char *temp_base;         // borrowed, may be null
  int next_input;                // descriptor the next stage reads; -1 once complete
  char *next_input_name;         // file the next stage reads instead, or null
  bool next_input_name_owned;
  int stderr_pipe;               // read end of a PEX_STDERR_TO_PIPE stage, or -1
  int count;                     // stages started
  pid_t *children;
  int *statuses;                 // null until first waited
  pex_times *times;              // null unless recording
  int waited;                    // children waited for so far
  std::FILE *input_file;         // pex_stdin_file stream, closed by the next stage
  std::FILE *output_stream;      // opened by pex_stdout_stream, closed by pex_destroy
  std::FILE *error_stream;       // opened by pex_stderr_stream, closed by pex_destroy
  int remove_count;
  char **remove_list;            // owned temporary names deleted by pex_destroy
  const pex_system_ops *ops;
  void *system_data;
};

// A pipeline over the POSIX operations table.  Never fails.
pex_pipeline *pex_create(int flags, const char *program_name, const char *temp_base);
// The same over another operations table (tests use it to stand in for the
// system).
pex_pipeline *pex_create_with_ops(int flags, const char *program_name, const char *temp_base,
                                  const pex_system_ops *ops);

// Start one stage.  ARGV ends with a null entry; ARGV[0] is the name the
// child sees.  ENV, when not null, replaces the child's environment.
// Returns null on success, else a failure text with *ERR set.
const char *pex_run_stage(pex_pipeline *obj, int flags, const char *executable,
                          char *const *argv, const char *outname, const char *errname,
                          int *err);
const char *pex_run_stage_env(pex_pipeline *obj, int flags, const char *executable,
                              char *const *argv, char *const *env, const char *outname,
                              const char *errname, int *err);

// A file the caller writes as the first stage's input (closed by the next
// pex_run_stage_env).  Null with errno EINVAL after a stage was started or
// another input was chosen.
std::FILE *pex_stdin_file(pex_pipeline *obj, int flags, const char *in_name);
// A pipe the first stage reads; the caller writes the returned stream and
// closes it itself.  Needs PEX_WITH_PIPES; null with errno EINVAL otherwise.
std::FILE *pex_stdin_pipe(pex_pipeline *obj, bool binary);
// The output of the last stage started (when it was not run with
// PEX_LAST_STAGE), or null.  The stream belongs to the pipeline.
std::FILE *pex_stdout_stream(pex_pipeline *obj, bool binary);
// The read end of a PEX_STDERR_TO_PIPE stage, or null.  Belongs to the
// pipeline.
std::FILE *pex_stderr_stream(pex_pipeline *obj, bool binary);

// Wait for every child not yet waited for and copy COUNT raw wait statuses
// (in stage order; entries past the children are 0).  1 on success, 0 when
// a wait failed.
int pex_get_status(pex_pipeline *obj, int count, int *vector);
// The same for processor times; 0 when the pipeline does not record them.
int pex_collect_times(pex_pipeline *obj, int count, pex_times *vector);

// Close and release everything; children never waited for get SIGTERM and
// are reaped; temporary files between stages are deleted.
void pex_destroy(pex_pipeline *obj);

// Create a pipeline, run one stage, collect its status, destroy.  Returns
// null on success, else a failure text with *ERR set.
const char *pex_run_once(int flags, const char *executable, char *const *argv,
                         const char *program_name, const char *outname, const char *errname,
                         int *status, int *err);

#endif
