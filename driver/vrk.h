// The driver object and its main sequence: one run per process.  The
// driver owns the run's compilation record and the spec interpreter that
// works on it, and passes them to every step.
#ifndef VRK_DRIVER_VRK_H
#define VRK_DRIVER_VRK_H

#include <memory>
#include <vector>

#include "compilation/compilation.h"
#include "driver/plan.h"
#include "options/opt-suggestions.h"
#include "spec/interpreter.h"

struct decoded_option;

class driver {
public:
  driver() = default;
  driver(const driver &) = delete;
  driver &operator=(const driver &) = delete;
  ~driver();

  // Run the main sequence once; the result is the process exit status.
  int main(int argc, char **argv);

private:
  void record_invocation_name(const char *argv0);
  void expand_argument_files(int *argc, char ***argv);
  void decode_arguments(int argc, char **argv);
  void initialise_process();
  void init_multilib_tables();
  void load_specs();
  void export_assembler_options();
  void export_driver_path(const char *argv0);
  void export_lto_wrapper_path();
  void export_offload_targets();
  void report_unclaimed_switches();
  bool answer_completion();
  bool answer_queries();
  bool check_inputs();
  void buffer_listing();
  void do_spec_on_infiles();
  void maybe_run_linker(const char *argv0);
  void finish_run();
  void start_plan();
  void print_plan();
  int exit_status() const;

  compilation comp_;
  spec_interpreter interp_{comp_};
  decoded_option *decoded_options_ = nullptr;
  unsigned decoded_options_count_ = 0;
  // Misspelling suggestions; its candidate list is built on first use.
  option_proposer proposer_;
  // The expanded command line and, when argument files were expanded,
  // where each word came from (for the plan).
  int argc_ = 0;
  char **argv_ = nullptr;
  std::vector<argument_origin> argument_origins_;
  std::unique_ptr<run_plan> plan_;  // -plan=json
};

#endif
