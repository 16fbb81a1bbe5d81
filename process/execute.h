// Command execution: runs one command group (a single command, or several
// joined by "|" words into a pipeline) built by the spec interpreter.  It
// resolves the program names, applies -wrapper, echoes the group under -v
// and -###, starts the children, waits for all of them, judges their
// statuses and signals, writes the -time reports, and starts the
// reproduction procedure for an internal compiler error under -freport-bug.
//
// Everything it needs from the driver comes in an execute_context, so this
// module depends on nothing above process/.
#ifndef VRK_PROCESS_EXECUTE_H
#define VRK_PROCESS_EXECUTE_H

#include <cstdio>
#include <string>
#include <vector>

class search_paths;

struct execute_context {
  bool verbose = false;         // -v (also set by -###): echo every command
  bool dry_run = false;         // -###: echo quoted and run nothing
  bool help_requested = false;  // --help: an empty line before the echo
  const char *wrapper = nullptr;  // -wrapper text (comma-separated), or null
  bool report_times = false;      // -time
  std::FILE *timing_report_file = nullptr;  // -time= stream, or null
  bool report_bug = false;                  // -freport-bug
  const char *program_name = "";            // the driver's invocation name
  const char *temp_base = nullptr;          // base for pipeline temporaries
  const char *current_input = nullptr;      // input being compiled, or null
  // Where program names are looked up (find_program); null: each program
  // is started as named, through PATH.
  search_paths *programs = nullptr;
  // Writes the -v version banner; the reproduction procedure puts it into
  // the kept error output.  May be null (no banner).
  void (*print_version_banner)(std::FILE *stream) = nullptr;

  // The driver's process-wide results; each may be null.
  int *worst_exit_status = nullptr;     // raised to the highest exit code
  int *signalled_children = nullptr;    // children counted as killed (SIGPIPE)
  int *executed_group_count = nullptr;  // groups started or echoed under -###

  // -plan=: called with every command of the group (argument vectors,
  // null-terminated, program resolved) instead of the echo; nothing runs
  // when dry_run is set too.  Null: the usual echo.
  void (*plan_group)(void *data, const std::vector<const char *const *> &commands) = nullptr;
  void *plan_data = nullptr;
};

// Run the command group WORDS (program name first; "|" separates
// commands).  0 when every child succeeded, -1 otherwise.  Program start
// failures, unreadable statuses and fatal signals end the process.
int execute(const std::vector<const char *> &words, const execute_context &ctx);

// The fatal error for a child that could not be started: "cannot execute
// %qs: %s: %m" with errno set to ERR, or without the %m part when ERR is 0.
[[noreturn]] void fatal_cannot_execute(const char *program, const char *failure, int err);

// The -wrapper words: TEXT split at commas, empty pieces dropped except
// the last one (so "gdb,--args," ends with an empty word and "" gives one
// empty word).
std::vector<std::string> split_wrapper_words(const char *text);

// One word of the -### listing: bare when it is made only of ASCII
// letters, digits, "_", "-", "." and "/", else in double quotes with
// '"', '$' and '\' escaped; the empty word is "".
void append_dry_run_word(std::string &out, const char *word);

// One word of the -time= report: quoted as above when it contains white
// space, '"', '$' or '\', else bare.
void append_timing_word(std::string &out, const char *word);

#endif
