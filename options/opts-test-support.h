// Shared helpers of the option machinery's unit tests: a fixture that puts
// the reporter into a known state and captures what it prints, a decoded
// command line, and a fixture that applies words as the driver does.
#ifndef VRK_OPTIONS_OPTS_TEST_SUPPORT_H
#define VRK_OPTIONS_OPTS_TEST_SUPPORT_H

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "diagnostics/reporter-test-support.h"
#include "options/opts-common.h"
#include "options/opts.h"

class diagnostics_fixture : public ::testing::Test {
protected:
  void SetUp() override {
    reset_reporter_for_test();
    ::testing::internal::CaptureStderr();
  }
  void TearDown() override { ::testing::internal::GetCapturedStderr(); }
  // What was printed since the last call (capture continues).
  std::string diagnostics() {
    std::string text = ::testing::internal::GetCapturedStderr();
    ::testing::internal::CaptureStderr();
    return text;
  }
  int errors() { return diagnostic_count(kind_error); }
};

// WORDS decoded after the program name "vrk++".
struct command_line {
  std::vector<const char *> argv;
  decoded_option *options = nullptr;
  unsigned count = 0;

  explicit command_line(std::vector<const char *> words, unsigned mask = OPTF_DRIVER) {
    argv.push_back("vrk++");
    argv.insert(argv.end(), words.begin(), words.end());
    argv.push_back(nullptr);
    decode_command_line(unsigned(argv.size() - 1), argv.data(), mask, &options, &count);
  }
  ~command_line() { std::free(options); }
  // The original texts of the entries after the program name.
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (unsigned i = 1; i < count; ++i)
      out.push_back(options[i].orig_text);
    return out;
  }
};

// Fresh option values and the driver's handler set, with a driver handler
// and callbacks that accept everything unless a test installs its own.
class options_fixture : public diagnostics_fixture {
protected:
  void SetUp() override {
    diagnostics_fixture::SetUp();
    init_options_struct(&values, &set);
    handlers.unknown_option_callback = [](const decoded_option *, void *) { return true; };
    handlers.wrong_lang_callback = [](const decoded_option *, unsigned, void *) {};
    handlers.target_option_override_hook = aarch64_handle_option;
    handlers.num_handlers = 3;
    handlers.handlers[0] = {[](option_values *, option_values *, const decoded_option *,
                               unsigned, int, location_t, const option_handler_set *,
                               diagnostic_reporter *) { return true; },
                            OPTF_DRIVER};
    handlers.handlers[1] = {common_handle_option, OPTF_COMMON};
    handlers.handlers[2] = {target_handle_option, OPTF_TARGET};
  }
  // Decodes and reads the words as the driver does; gives what was printed.
  std::string apply(std::vector<const char *> words) {
    command_line cl(words);
    for (unsigned i = 1; i < cl.count; ++i)
      if (cl.options[i].opt_index != OPTION_INPUT_FILE)
        read_cmdline_option(&values, &set, &cl.options[i], UNKNOWN_LOCATION, OPTF_DRIVER,
                            &handlers, &global_reporter);
    return diagnostics();
  }
  option_values values{}, set{};
  option_handler_set handlers{};
};

#endif
