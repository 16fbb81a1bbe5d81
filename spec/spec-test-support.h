// Shared set-up for the spec tests: a fresh compilation record and
// interpreter for every case, the named specs at their start-up values, a
// recorder installed as the execution seam, and helpers to expand a spec
// into its argument words.
#ifndef VRK_SPEC_SPEC_TEST_SUPPORT_H
#define VRK_SPEC_SPEC_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"
#include "spec/multilib.h"
#include "spec/spec-list.h"
#include "support/scratch-dir-test-support.h"

using words = std::vector<std::string>;

// The finished arguments of IN's buffer.
inline words current_words(const spec_interpreter &in) {
  words w;
  for (const char *a : in.args.buffer)
    w.push_back(a ? a : "<null>");
  return w;
}

// Whether NAME is recorded on a deletion LIST.
inline bool listed(const std::atomic<temp_file_entry *> &list, const std::string &name) {
  for (temp_file_entry *t = list.load(); t; t = t->next)
    if (name == t->name)
      return true;
  return false;
}

class spec_test : public ::testing::Test {
protected:
  void SetUp() override {
    diagnostic_initialize("vrk++");
    // The named specs are process-wide configuration: back to start-up,
    // then the multilib set-up of the driver.
    reset_specs();
    init_multilib_tables();
    recorded_commands.clear();
    in.execute_command = record_command;
    comp.option_handlers = switch_saving_handlers(comp);
    in.set_current_input("dir/foo.c");
    error_count_at_start = diagnostic_count(kind_error);
  }

  void TearDown() override {
    delete_end_files();
    reset_specs();
  }

  // Every command the interpreter executes, as words.
  static inline std::vector<words> recorded_commands;
  static int record_command(spec_interpreter &in) {
    recorded_commands.push_back(::current_words(in));
    return 0;
  }

  // Options that self specs generate are saved as switches, recognised
  // and unclaimed, as the driver's handlers and callbacks save them.
  static void save_as_switch(const decoded_option *d, void *context) {
    static_cast<compilation *>(context)->switches.save(d->canonical[0], d->canonical_count - 1,
                                                       d->canonical + 1, false, true);
  }
  static option_handler_set switch_saving_handlers(compilation &c) {
    option_handler_set h{};
    h.unknown_option_callback = [](const decoded_option *d, void *context) {
      save_as_switch(d, context);
      return false;
    };
    h.wrong_lang_callback = [](const decoded_option *d, unsigned, void *context) {
      save_as_switch(d, context);
    };
    h.num_handlers = 1;
    h.handlers[0] = {[](option_values *, option_values *, const decoded_option *d, unsigned, int,
                        location_t, const option_handler_set *hs, diagnostic_reporter *) {
                       save_as_switch(d, hs->context);
                       return true;
                     },
                     OPTF_DRIVER};
    h.context = &c;
    return h;
  }

  words current_words() const { return ::current_words(in); }

  // Expand SPEC and return the finished arguments (nothing is executed
  // unless SPEC holds a newline).
  words expand(const char *spec, int *status = nullptr) {
    int value = in.expand_spec(spec, nullptr);
    if (status)
      *status = value;
    return current_words();
  }

  // Save a switch as the command line would: TEXT with its leading "-".
  void add_switch(const char *text, const char *argument = nullptr, bool recognised = true) {
    const char *args[] = {argument};
    comp.switches.save(text, argument ? 1 : 0, args, false, recognised);
  }

  saved_switch &sw(int i) { return comp.switches[i]; }

  int new_errors() const { return diagnostic_count(kind_error) - error_count_at_start; }

  compilation comp;
  spec_interpreter in{comp};
  int error_count_at_start = 0;
};

#endif
