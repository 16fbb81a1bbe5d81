// The run's plan (-plan=json): every command the driver would run, in
// order, with its resolved program, its arguments and where each came
// from, the environment the driver set for it, its pipes, the files it
// reads and writes and the response files written for it.  Collected
// while the run plans (a dry run) and printed once at the end as one JSON
// document on standard output; the format is doc/plan.schema.json.
#ifndef VRK_DRIVER_PLAN_H
#define VRK_DRIVER_PLAN_H

#include <cstdio>
#include <string>
#include <map>
#include <set>
#include <string_view>
#include <vector>

#include "process/argv.h"
#include "spec/provenance.h"

struct compilation;
class spec_interpreter;

// A file a command reads or writes.
struct plan_file {
  std::string path;
  bool temporary = false;
  const char *deleted = nullptr;  // "end", "failure", or null for kept files
};

struct plan_command {
  int group = 0;  // commands of one pipeline share their group
  std::vector<std::string> arguments;  // arguments[0]: the program as executed
  std::vector<word_origin> origins;    // one per argument
  std::vector<std::string> environment;  // NAME=VALUE, names in first-set order
  bool stdin_pipe = false;
  bool stdout_pipe = false;
  std::vector<plan_file> reads, writes;
  std::vector<provenance_trace::response_file> response_files;
};

class run_plan {
public:
  explicit run_plan(compilation &comp) : comp_(comp) {}

  // Where each argument of the expanded command line came from.
  std::vector<argument_origin> argument_origins;
  // The expanded command line.
  int argc = 0;
  char **argv = nullptr;

  provenance_trace trace;

  // The commands of one group as execute resolved them; the origins and
  // response files are taken from the interpreter.
  void record_group(spec_interpreter &in, const std::vector<const char *const *> &commands);

  // The plan as one JSON document.
  std::string json() const;
  // One line per word: command number, word, where it came from.
  void write_readable(std::FILE *stream) const;

private:
  void note_files(plan_command &c);
  static void add_read(plan_command &c, plan_file f);
  // How the temporary PATH an earlier command wrote is deleted.
  const char *temporary_deletion(const std::string &path) const;
  bool is_input_name(const std::string &path);
  void append_origin_text(std::string &out, const word_origin &o) const;
  void append_file_word(std::string &out, int argv_index) const;

  compilation &comp_;
  std::vector<plan_command> commands_;
  // Looked up for every word of every command: ordered sets (not hashed
  // ones, which would load the maths library at start-up), so that a run
  // with many inputs costs what its words do.
  std::set<std::string, std::less<>> temporaries_seen_;
  // Path -> deletion of the first write of each path by the commands so
  // far (a command's own writes count from the next command on).
  std::map<std::string, const char *, std::less<>> first_writes_;
  std::set<std::string_view> input_names_;  // made when first needed
  int groups_ = 0;
};

// The execute hook (execute_context::plan_group); DATA is the interpreter.
void record_plan_group(void *data, const std::vector<const char *const *> &commands);

#endif
