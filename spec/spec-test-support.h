// Shared set-up for the spec tests: a clean interpreter, switch, named-spec
// and multilib state, empty library and include directory lists, a
// recorder installed as the execution hook, and helpers to expand a spec
// into its argument words.
#ifndef VRK_SPEC_SPEC_TEST_SUPPORT_H
#define VRK_SPEC_SPEC_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "driver/driver-state.h"
#include "driver/switches.h"
#include "process/prefixes.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"
#include "spec/multilib.h"
#include "spec/spec-list.h"

using words = std::vector<std::string>;

inline std::vector<words> recorded_commands;

inline words current_words() {
  words w;
  for (const char *a : arg_buffer)
    w.push_back(a ? a : "<null>");
  return w;
}

inline int record_command() {
  recorded_commands.push_back(current_words());
  return 0;
}

// Expand SPEC and return the finished arguments (nothing is executed
// unless SPEC holds a newline).
inline words expand(const char *spec, int *status = nullptr) {
  int value = expand_spec(spec, nullptr);
  if (status)
    *status = value;
  return current_words();
}

// Save a switch as the command line would: TEXT with its leading "-".
inline void add_switch(const char *text, const char *argument = nullptr,
                       bool recognised = true) {
  const char *args[] = {argument};
  save_switch(text, argument ? 1 : 0, args, false, recognised);
  terminate_switches_and_inputs();
}

inline saved_switch &sw(int i) { return saved_switches[i]; }

// Whether NAME is recorded on a deletion LIST.
inline bool listed(const std::atomic<temp_file_entry *> &list, const std::string &name) {
  for (temp_file_entry *t = list.load(); t; t = t->next)
    if (name == t->name)
      return true;
  return false;
}

// What PRINT writes to a stream.
inline std::string printed(void (*print)(std::FILE *)) {
  char *text = nullptr;
  std::size_t size = 0;
  std::FILE *f = open_memstream(&text, &size);
  print(f);
  std::fclose(f);
  std::string out(text, size);
  std::free(text);
  return out;
}

class spec_test : public ::testing::Test {
protected:
  void SetUp() override {
    diagnostic_initialize("vrk++");
    saved_switch_count = 0;
    terminate_switches_and_inputs();
    recorded_commands.clear();
    execute_command_hook = record_command;
    export_options_hook = nullptr;
    self_spec_option_hook = nullptr;
    arg_text.clear();
    arg_pending = false;
    in_response_file = false;
    spec_function_depth = 0;
    suffix_substitute = nullptr;
    output_files.clear();
    input_number = 0;
    current_compiler = nullptr;
    save_temps_mode = 0;
    aux_dir = nullptr;
    aux_dir_length = 0;
    aux_dir_dash_added = false;
    output_stem = nullptr;
    output_stem_length = 0;
    compare_debug_mode = 0;
    sysroot_dir = nullptr;
    response_file_seen = false;
    linker_passthrough.clear();
    assembler_passthrough.clear();
    preprocessor_passthrough.clear();
    reset_temp_name_memo();
    reset_specs();
    init_multilib_tables();
    reset_multilib_selection();
    saved_startfile = run_paths.startfile_prefixes;
    saved_include = run_paths.include_prefixes;
    run_paths.startfile_prefixes = {nullptr, 0, "startfile"};
    run_paths.include_prefixes = {nullptr, 0, nullptr};
    set_current_input("dir/foo.c");
    error_count_at_start = diagnostic_count(kind_error);
  }

  void TearDown() override {
    execute_command_hook = nullptr;
    delete_end_files();
    reset_specs();
    free_prefix_list(&run_paths.startfile_prefixes);
    free_prefix_list(&run_paths.include_prefixes);
    run_paths.startfile_prefixes = saved_startfile;
    run_paths.include_prefixes = saved_include;
  }

  int new_errors() const { return diagnostic_count(kind_error) - error_count_at_start; }

  int error_count_at_start = 0;
  prefix_list saved_startfile{}, saved_include{};
};

#endif
