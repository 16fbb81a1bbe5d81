// Answers to the queries that replace compiling (the -print- options,
// --help, --version) and the -v version banner.
#include "driver/queries.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "spec/multilib.h"
#include "spec/spec-list.h"
#include "support/configuration.h"
#include "support/text.h"

namespace {

void print_search_dirs(const compilation &comp) {
  const search_paths &search = comp.search;
  if (comp.install_exec_prefix)
    // TRANSLATORS: build tools read the three lines of -print-search-dirs
    // by their first words "install:", "programs:" and "libraries:"; keep
    // these words as they are.
    std::printf(translate("install: %s%s\n"), comp.install_exec_prefix, "");
  else
    std::printf(translate("install: %s%s\n"), config::standard_exec_prefix, config::machine_suffix);
  std::printf(translate("programs: %s\n"),
              search.join_prefix_list(search.exec_prefixes, "", false, false));
  std::printf(translate("libraries: %s\n"),
              search.join_prefix_list(search.startfile_prefixes, "", false, true));
}

void print_file_name(const compilation &comp, const char *name) {
  const search_paths &search = comp.search;
  char *found = search.find_file_on_prefixes(search.startfile_prefixes, name, R_OK, true);
  std::printf("%s\n", found ? found : name);
}

void print_prog_name(compilation &comp, const char *name) {
  const char *linker_flavour_suffix = comp.linker_flavour_suffix;
  if (linker_flavour_suffix && std::strcmp(name, "ld") == 0) {
    char *configured = concat(config::default_linker, linker_flavour_suffix, nullptr);
    if (access(configured, X_OK) == 0) {
      std::printf("%s\n", configured);
      return;
    }
    name = concat("ld", linker_flavour_suffix, nullptr);
  }
  char *found = comp.search.find_program(name);
  std::printf("%s\n", found ? found : name);
}

void print_version(const char *invocation_name) {
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

void print_usage(const char *invocation_name, bool verbose) {
  std::printf(translate("Usage: %s [options] file...\n"), invocation_name);
  std::fputs(translate("Options:\n"), stdout);
  for (int i = 0; i < usage_lines_head_count; i++)
    std::fputs(translate(usage_lines_head[i]), stdout);
  std::fputs(translate("  --help={common|optimizers|params|target|warnings|[^]{joined|separate|undocumented}}[,...].\n"),
             stdout);
  std::fputs(translate("                           Display specific types of command line options.\n"),
             stdout);
  if (!verbose)
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

namespace {

// The -print- options; true when one was answered.
bool answer_print_query(compilation &comp) {
  const option_values &opts = comp.options;
  const multilib_dirs &multilib = comp.search.multilib;
  if (opts.x_print_search_dirs) {
    print_search_dirs(comp);
  } else if (opts.x_print_file_name) {
    print_file_name(comp, opts.x_print_file_name);
  } else if (opts.x_print_prog_name) {
    print_prog_name(comp, opts.x_print_prog_name);
  } else if (opts.x_print_multi_lib) {
    print_multilib_listing(comp, stdout);
  } else if (opts.x_print_multi_directory) {
    std::printf("%s\n", multilib.dir ? multilib.dir : ".");
  } else if (opts.x_print_multiarch) {
    std::printf("%s\n", multilib.multiarch_dir ? multilib.multiarch_dir : "");
  } else if (opts.x_print_sysroot) {
    if (comp.sysroot_dir)
      std::printf("%s%s\n", comp.sysroot_dir, comp.sysroot_suffix ? comp.sysroot_suffix : "");
  } else if (opts.x_print_multi_os_directory) {
    std::printf("%s\n", multilib.os_dir ? multilib.os_dir : ".");
  } else if (opts.x_print_sysroot_headers_suffix) {
    if (!named_specs.sysroot_hdrs_suffix_spec || !*named_specs.sysroot_hdrs_suffix_spec)
      fatal_error(UNKNOWN_LOCATION, "not configured with sysroot headers suffix");
    std::printf("%s\n", comp.sysroot_hdrs_suffix ? comp.sysroot_hdrs_suffix : "");
  } else {
    return false;
  }
  return true;
}

} // namespace

bool answer_queries(compilation &comp) {
  if (answer_print_query(comp))
    return true;

  bool verbose = comp.options.x_verbose_flag != 0;
  if (comp.help_requested) {
    print_usage(comp.invocation_name, verbose);
    if (!verbose) {
      print_bug_report_lines();
      return true;
    }
    std::fputs("\n", stdout);
    std::fflush(stdout);
  }
  if (comp.version_requested) {
    print_version(comp.invocation_name);
    if (!verbose)
      return true;
    std::fputs("\n", stdout);
    std::fflush(stdout);
  }
  if (!verbose)
    return false;
  std::fflush(stdout);
  print_version_banner(stderr);
  return comp.inputs.count() == 0;
}
