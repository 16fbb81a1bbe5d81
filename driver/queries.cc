// Answers to the queries that replace compiling (the -print- options,
// --help, --version) and the -v version banner.
#include "driver/queries.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "diagnostics/diagnostic.h"
#include "driver/driver-state.h"
#include "driver/switches.h"
#include "options/option-table.h"
#include "process/prefixes.h"
#include "spec/multilib.h"
#include "spec/spec-list.h"
#include "support/configuration.h"
#include "support/text.h"

namespace {

bool verbose() { return global_options.x_verbose_flag != 0; }

void print_search_dirs() {
  if (install_exec_prefix)
    // TRANSLATORS: build tools read the three lines of -print-search-dirs
    // by their first words "install:", "programs:" and "libraries:"; keep
    // these words as they are.
    std::printf(translate("install: %s%s\n"), install_exec_prefix, "");
  else
    std::printf(translate("install: %s%s\n"), config::standard_exec_prefix, config::machine_suffix);
  std::printf(translate("programs: %s\n"), run_paths.join_prefix_list(run_paths.exec_prefixes, "", false, false));
  std::printf(translate("libraries: %s\n"), run_paths.join_prefix_list(run_paths.startfile_prefixes, "", false, true));
}

void print_file_name(const char *name) {
  char *found = run_paths.find_file_on_prefixes(run_paths.startfile_prefixes, name, R_OK, true);
  std::printf("%s\n", found ? found : name);
}

void print_prog_name(const char *name) {
  if (linker_flavour_suffix && std::strcmp(name, "ld") == 0) {
    char *configured = concat(config::default_linker, linker_flavour_suffix, nullptr);
    if (access(configured, X_OK) == 0) {
      std::printf("%s\n", configured);
      return;
    }
    name = concat("ld", linker_flavour_suffix, nullptr);
  }
  char *found = run_paths.find_program(name);
  std::printf("%s\n", found ? found : name);
}

void print_version() {
  // TRANSLATORS: the program's name, the package version (ending with a
  // blank) and the version; scripts read this line, keep it as it is.
  std::printf(translate("%s %s%s\n"), invocation_name, config::package_version,
              config::version_string);
  std::fputs(translate("Copyright (C) 2023 The vrk developers.\n"), stdout);
  std::fputs(translate("This program comes with NO WARRANTY, to the extent permitted by law.\n"
                       "You may redistribute it under the terms of its licence.\n"),
             stdout);
}

void print_bug_report_lines() {
  std::fputs(translate("\nFor bug reporting instructions, please see:\n"), stdout);
  std::printf("<%s>.\n", config::bug_report_url);
}

} // namespace

void print_usage() {
  std::printf(translate("Usage: %s [options] file...\n"), invocation_name);
  std::fputs(translate("Options:\n"), stdout);
  for (int i = 0; i < usage_lines_head_count; i++)
    std::fputs(translate(usage_lines_head[i]), stdout);
  std::fputs(translate("  --help={common|optimizers|params|target|warnings|[^]{joined|separate|undocumented}}[,...].\n"),
             stdout);
  std::fputs(translate("                           Display specific types of command line options.\n"),
             stdout);
  if (!verbose())
    std::fputs(translate("  (Use '-v --help' to display command line options of sub-processes).\n"),
               stdout);
  for (int i = 0; i < usage_lines_tail_count; i++)
    std::fputs(translate(usage_lines_tail[i]), stdout);
  std::printf(translate("\nOptions starting with -g, -f, -m, -O, -W, or --param are automatically\n"
                        " passed on to the various sub-processes invoked by %s.  In order to pass\n"
                        " other options on to these processes the -W<letter> options must be used.\n"),
              invocation_name);
}

void print_version_banner(std::FILE *stream) {
  notice_text(stream, "Target: %s\n", config::target_name);
  notice_text(stream, "Configured with: %s\n", config::configuration_arguments);
  notice_text(stream, "Thread model: %s\n", config::thread_model);
  notice_text(stream, "Supported LTO compression algorithms: zlib");
  notice_text(stream, "\n");
  notice_text(stream, "vrk version %s %s\n", config::version_string, config::package_version);
}

bool answer_queries() {
  const option_values &opts = global_options;
  if (opts.x_print_search_dirs) {
    print_search_dirs();
    return true;
  }
  if (opts.x_print_file_name) {
    print_file_name(opts.x_print_file_name);
    return true;
  }
  if (opts.x_print_prog_name) {
    print_prog_name(opts.x_print_prog_name);
    return true;
  }
  if (opts.x_print_multi_lib) {
    print_multilib_listing(stdout);
    return true;
  }
  if (opts.x_print_multi_directory) {
    std::printf("%s\n", run_paths.multilib.dir ? run_paths.multilib.dir : ".");
    return true;
  }
  if (opts.x_print_multiarch) {
    std::printf("%s\n", run_paths.multilib.multiarch_dir ? run_paths.multilib.multiarch_dir : "");
    return true;
  }
  if (opts.x_print_sysroot) {
    if (sysroot_dir)
      std::printf("%s%s\n", sysroot_dir, sysroot_suffix ? sysroot_suffix : "");
    return true;
  }
  if (opts.x_print_multi_os_directory) {
    std::printf("%s\n", run_paths.multilib.os_dir ? run_paths.multilib.os_dir : ".");
    return true;
  }
  if (opts.x_print_sysroot_headers_suffix) {
    if (!sysroot_hdrs_suffix_spec || !*sysroot_hdrs_suffix_spec)
      fatal_error(UNKNOWN_LOCATION, "not configured with sysroot headers suffix");
    std::printf("%s\n", sysroot_hdrs_suffix ? sysroot_hdrs_suffix : "");
    return true;
  }

  if (help_requested) {
    print_usage();
    if (!verbose()) {
      print_bug_report_lines();
      return true;
    }
    std::fputs("\n", stdout);
    std::fflush(stdout);
  }
  if (version_requested) {
    print_version();
    if (!verbose())
      return true;
    std::fputs("\n", stdout);
    std::fflush(stdout);
  }
  if (!verbose())
    return false;
  std::fflush(stdout);
  print_version_banner(stderr);
  return input_count == 0;
}
