// The main sequence of the driver: each step is a member function named for
// what it does, called in a fixed order by `driver::main`.
#include "driver/vrk.h"

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

#include "diagnostics/diagnostic.h"
#include "diagnostics/intl.h"
#include "diagnostics/pretty-print.h"
#include "compilation/env-manager.h"
#include "driver/child-env.h"
#include "driver/command-line.h"
#include "driver/infiles.h"
#include "driver/locale-dir.h"
#include "driver/link.h"
#include "driver/queries.h"
#include "driver/run-commands.h"
#include "driver/unclaimed.h"
#include "options/option-table.h"
#include "options/opts-common.h"
#include "process/argv.h"
#include "process/live-children.h"
#include "process/temp-files.h"
#include "spec/load-specs.h"
#include "spec/multilib.h"
#include "support/configuration.h"
#include "support/xmalloc.h"

namespace {

// Process-wide clean-up hooks.
// A fatal error in the middle of a pipeline leaves its first stages
// running: they are stopped before their files are removed.
void on_exit_cleanup() {
  stop_live_children(SIGTERM);
  delete_end_files();
}

void on_fatal_signal(int sig) {
  std::signal(sig, SIG_DFL);
  // A child that outlived the driver would write its output file again
  // after the clean-up: it gets the same signal, and the files go once it
  // has ended.
  stop_live_children(sig);
  delete_temp_files_on_signal();
  // Re-raise so the driver ends as if killed by the signal.
  std::raise(sig);
}

// Keep an inherited "ignore" disposition; otherwise clean up on the signal.
void install_signal_handler(int sig) {
  if (std::signal(sig, SIG_IGN) != SIG_IGN)
    std::signal(sig, on_fatal_signal);
}

void raise_stack_limit() {
  constexpr rlim_t wanted = 64 * 1024 * 1024;
  struct rlimit limit;
  if (getrlimit(RLIMIT_STACK, &limit) != 0)
    return;
  if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= wanted)
    return;
  rlim_t new_limit = wanted;
  if (limit.rlim_max != RLIM_INFINITY && new_limit > limit.rlim_max)
    new_limit = limit.rlim_max;
  limit.rlim_cur = new_limit;
  setrlimit(RLIMIT_STACK, &limit);
}

} // namespace

driver::~driver() {
  std::free(decoded_options_);
}

int driver::main(int argc, char **argv) {
  record_invocation_name(argv[0]);
  expand_argument_files(&argc, &argv);
  decode_arguments(argc, argv);
  initialise_process();
  init_multilib_tables();
  load_specs();
  export_assembler_options();
  export_driver_path(argv[0]);
  export_lto_wrapper_path();
  export_offload_targets();
  report_unclaimed_switches();
  if (answer_completion())
    return 0;
  if (answer_queries())
    return 0;
  // Errors reported before the inputs are classified skip compiling,
  // linking and the end-of-run report.
  if (check_inputs()) {
    print_plan();
    return exit_status();
  }
  buffer_listing();
  do_spec_on_infiles();
  maybe_run_linker(argv[0]);
  finish_run();
  print_plan();
  return exit_status();
}

void driver::record_invocation_name(const char *argv0) {
  const char *slash = argv0 ? std::strrchr(argv0, '/') : nullptr;
  comp_.invocation_name = slash ? slash + 1 : (argv0 ? argv0 : "");
  xmalloc_set_program_name(comp_.invocation_name);
}

void driver::expand_argument_files(int *argc, char ***argv) {
  char **before = *argv;
  if (const char *failure = expand_response_files(argc, argv, &argument_origins_)) {
    // The reporter is not set up yet: this is the one message written by hand.
    std::fprintf(stderr, "%s: error: %s\n", (*argv)[0], failure);
    std::exit(1);
  }
  if (*argv != before)
    comp_.response_file_seen = true;
  argc_ = *argc;
  argv_ = *argv;
}

void driver::start_plan() {
  plan_ = std::make_unique<run_plan>(comp_);
  plan_->argument_origins = std::move(argument_origins_);
  plan_->argc = argc_;
  plan_->argv = argv_;
  comp_.plan = plan_.get();
  interp_.trace = &plan_->trace;
  plan_->trace.library_path = env.getenv("LIBRARY_PATH");
  plan_->trace.lpath = env.getenv("LPATH");
}

void driver::print_plan() {
  if (!plan_)
    return;
  if (comp_.options.x_verbose_flag)
    plan_->write_readable(stderr);
  std::string text = plan_->json();
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

void driver::decode_arguments(int argc, char **argv) {
  decode_command_line(static_cast<unsigned>(argc), const_cast<const char **>(argv),
                      OPTF_DRIVER, &decoded_options_, &decoded_options_count_);
}

void driver::initialise_process() {
  // Finding the installation costs a path search; a locale that cannot
  // translate needs no catalogue.
  const char *locale_dir = config::locale_dir;
  if (set_message_locale())
    locale_dir = installed_locale_dir(decoded_options_[0].arg, env.getenv("VRK_EXEC_PREFIX"),
                                      resolves_prefix_links(decoded_options_,
                                                            decoded_options_count_));
  bind_message_catalogue(locale_dir);

  diagnostic_initialize(comp_.invocation_name);
  diagnostic_color_init(DIAGNOSTICS_COLOR_AUTO);
  diagnostic_urls_init(DIAGNOSTICS_URLS_AUTO);

  if (std::atexit(on_exit_cleanup) != 0)
    fatal_error(UNKNOWN_LOCATION, "atexit failed");

  for (int sig : {SIGINT, SIGHUP, SIGTERM, SIGPIPE})
    install_signal_handler(sig);
  std::signal(SIGCHLD, SIG_DFL);

  raise_stack_limit();
  install_command_execution(interp_);
  env.echo_when(&comp_.options.x_verbose_flag);
}

void driver::init_multilib_tables() { ::init_multilib_tables(); }

void driver::load_specs() {
  process_command(comp_, &decoded_options_count_, &decoded_options_);
  if (comp_.plan_requested)
    start_plan();
  load_specs_after_command_line(interp_);
  temp_files_verbose = comp_.options.x_verbose_flag != 0;
}

void driver::export_assembler_options() { ::export_assembler_options(comp_); }

void driver::export_driver_path(const char *argv0) { ::export_driver_path(argv0); }

void driver::export_lto_wrapper_path() { ::export_lto_wrapper_path(comp_); }

void driver::export_offload_targets() { ::export_offload_targets(comp_); }

void driver::report_unclaimed_switches() { ::report_unclaimed_switches(comp_, proposer_); }

bool driver::answer_completion() { return ::answer_completion(comp_, proposer_); }

bool driver::answer_queries() { return ::answer_queries(comp_); }

bool driver::check_inputs() { return ::check_inputs(comp_); }

void driver::buffer_listing() {
  // Under -### the rest of the run lists commands on standard error and
  // runs nothing: the listing goes out a buffer at a time (and at exit),
  // not in several writes per command.  Help text and the plan go to
  // standard output, in order with the listing, so they keep it unbuffered.
  if (!comp_.dry_run_count || comp_.help_requested || plan_)
    return;
  static char buffer[1 << 16];
  std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
}

void driver::do_spec_on_infiles() { ::do_spec_on_infiles(interp_); }

void driver::maybe_run_linker(const char *argv0) { ::maybe_run_linker(interp_, argv0); }

void driver::finish_run() {
  if (seen_error())
    delete_failure_files();
  delete_end_files();
  if (comp_.help_requested)
    std::printf("%s\n<%s>\n", translate("\nFor bug reporting instructions, please see:"),
                config::bug_report_url);
}

int driver::exit_status() const {
  if (comp_.signalled_children != 0)
    return 2;
  if (!seen_error())
    return 0;
  return comp_.options.x_pass_exit_codes ? comp_.worst_exit_status : 1;
}
