// Tests of whole command lines: the program-name and input-file entries,
// the "--param" join, the plain-output expansion, pruning of cancelled
// options, and read_cmdline_option's reports and callbacks in order.
#include <cstdlib>
#include <string>
#include <vector>

#include "options/opts-common.h"
#include "options/opts-test-support.h"
#include "options/opts.h"

namespace {

constexpr unsigned driver_mask = OPTF_DRIVER;
constexpr unsigned all_mask = OPTL_ALL_LANGUAGES | OPTF_DRIVER | OPTF_COMMON | OPTF_TARGET;

struct command_line {
  std::vector<const char *> argv;
  decoded_option *options = nullptr;
  unsigned count = 0;

  command_line(std::vector<const char *> words, unsigned mask = driver_mask) {
    argv.push_back("vrk++");
    argv.insert(argv.end(), words.begin(), words.end());
    argv.push_back(nullptr);
    decode_command_line(unsigned(argv.size() - 1), argv.data(), mask, &options, &count);
  }
  ~command_line() { std::free(options); }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (unsigned i = 1; i < count; ++i)
      out.push_back(options[i].orig_text);
    return out;
  }
};

using words = std::vector<std::string>;

TEST(decode_command_line, ProgramNameInputsAndOptions) {
  command_line cl({"-O2", "-o", "hello", "hello.c", "-", "-c"});
  ASSERT_EQ(cl.count, 6u);
  EXPECT_EQ(cl.options[0].opt_index, OPTION_PROGRAM_NAME);
  EXPECT_STREQ(cl.options[0].arg, "vrk++");
  EXPECT_EQ(cl.options[1].opt_index, OPT_O);
  EXPECT_EQ(cl.options[2].opt_index, OPT_o);
  EXPECT_EQ(cl.options[3].opt_index, OPTION_INPUT_FILE);
  EXPECT_STREQ(cl.options[3].arg, "hello.c");
  EXPECT_EQ(cl.options[4].opt_index, OPTION_INPUT_FILE);  // a lone "-"
  EXPECT_EQ(cl.options[5].opt_index, OPT_c);
}

TEST(decode_command_line, ParamPairBecomesOneOption) {
  command_line cl({"--param", "align-loop-iterations=30", "x.c"}, all_mask);
  ASSERT_EQ(cl.count, 3u);
  EXPECT_EQ(cl.options[1].opt_index, OPT__param_align_loop_iterations_);
  EXPECT_EQ(cl.options[1].value, 30);
  EXPECT_STREQ(cl.argv[2], "--param=align-loop-iterations=30");
  // "--param" as the last word is decoded as it stands.
  command_line last({"--param"});
  ASSERT_EQ(last.count, 2u);
  EXPECT_STREQ(last.options[1].orig_text, "--param");
}

TEST(decode_command_line, PlainOutputExpandsToFiveOptions) {
  command_line cl({"-fdiagnostics-plain-output", "x.c"});
  // The colour option moves to the front; the rest keep their order.
  EXPECT_EQ(cl.texts(), (words{"-fdiagnostics-color=never", "-fno-diagnostics-show-caret",
                               "-fno-diagnostics-show-line-numbers", "-fdiagnostics-urls=never",
                               "-fdiagnostics-path-format=separate-events", "x.c"}));
}

TEST(prune_options, LaterOptionsCancelEarlierOnes) {
  EXPECT_EQ(command_line({"-fpic", "a.c", "-fPIC"}).texts(), (words{"a.c", "-fPIC"}));
  EXPECT_EQ(command_line({"-Wall", "-Wno-all"}).texts(), (words{"-Wno-all"}));
  EXPECT_EQ(command_line({"-Wall", "-c", "-Wall"}).texts(), (words{"-c", "-Wall"}));
  EXPECT_EQ(command_line({"-shared", "-pie", "-static-pie"}).texts(), (words{"-static-pie"}));
  // Options outside the ring survive; joined options are not cancelled.
  EXPECT_EQ(command_line({"-fpic", "-Wl,a", "-Wl,b"}).texts(),
            (words{"-fpic", "-Wl,a", "-Wl,b"}));
  // Entries with decoding errors stay as they are.
  EXPECT_EQ(command_line({"-fno-dump-x", "-fno-dump-x"}).texts(),
            (words{"-fno-dump-x", "-fno-dump-x"}));
}

TEST(prune_options, ComplainAndColorMoveToTheFront) {
  EXPECT_EQ(command_line({"-c", "-Wcomplain-wrong-lang", "x.c", "-Wno-complain-wrong-lang"}).texts(),
            (words{"-Wno-complain-wrong-lang", "-c", "x.c"}));
  EXPECT_EQ(command_line({"x.c", "-fdiagnostics-color=always", "-c",
                          "-fdiagnostics-color=never", "-Wcomplain-wrong-lang"})
                .texts(),
            (words{"-Wcomplain-wrong-lang", "-fdiagnostics-color=never", "x.c", "-c"}));
  EXPECT_EQ(command_line({"-fdiagnostics-color=never"}).texts(),
            (words{"-fdiagnostics-color=never"}));
}

TEST(prune_options, LinearOnLongLines) {
  // Many distinct cancellable options followed by many files: every entry
  // is considered once.
  std::vector<const char *> w;
  for (int i = 0; i < 20000; ++i)
    w.push_back(i % 2 ? "-fpic" : "-fPIC");
  for (int i = 0; i < 20000; ++i)
    w.push_back("f.c");
  command_line cl(w);
  ASSERT_EQ(cl.count, 20002u);
  EXPECT_STREQ(cl.options[1].orig_text, "-fpic");
}

// Handler set recording what reaches the callbacks.
struct recorder {
  static std::vector<std::string> unknown, wrong_lang, handled;
  static bool want_generic_error;
  static bool on_unknown(const decoded_option *d) {
    unknown.push_back(d->orig_text);
    return want_generic_error;
  }
  static void on_wrong_lang(const decoded_option *d, unsigned) {
    wrong_lang.push_back(d->orig_text);
  }
  static bool on_driver(option_values *, option_values *, const decoded_option *d, unsigned, int,
                        location_t, const option_handler_set *, diagnostic_reporter *) {
    handled.push_back(d->orig_text);
    return true;
  }
  static void reset() {
    unknown.clear();
    wrong_lang.clear();
    handled.clear();
    want_generic_error = false;
  }
};
std::vector<std::string> recorder::unknown, recorder::wrong_lang, recorder::handled;
bool recorder::want_generic_error;

class read_cmdline : public diagnostics_fixture {
protected:
  void SetUp() override {
    diagnostics_fixture::SetUp();
    recorder::reset();
    init_options_struct(&values, &set);
    handlers.unknown_option_callback = recorder::on_unknown;
    handlers.wrong_lang_callback = recorder::on_wrong_lang;
    handlers.target_option_override_hook = aarch64_handle_option;
    handlers.num_handlers = 3;
    handlers.handlers[0] = {recorder::on_driver, OPTF_DRIVER};
    handlers.handlers[1] = {common_handle_option, OPTF_COMMON};
    handlers.handlers[2] = {target_handle_option, OPTF_TARGET};
  }
  std::string run(std::vector<const char *> w) {
    command_line cl(w);
    for (unsigned i = 1; i < cl.count; ++i)
      if (cl.options[i].opt_index != OPTION_INPUT_FILE)
        read_cmdline_option(&values, &set, &cl.options[i], UNKNOWN_LOCATION, driver_mask,
                            &handlers, &global_reporter);
    return diagnostics();
  }
  option_values values{}, set{};
  option_handler_set handlers{};
};

TEST_F(read_cmdline, RoutesOptionsToCallbacksAndHandlers) {
  EXPECT_EQ(run({"-Wall", "-bogus", "-c", "-fstrength-reduce", "-fno-mudflap"}), "");
  EXPECT_EQ(recorder::wrong_lang, (words{"-Wall"}));
  EXPECT_EQ(recorder::unknown, (words{"-bogus"}));
  EXPECT_EQ(recorder::handled, (words{"-c"}));
  recorder::want_generic_error = true;
  EXPECT_EQ(run({"-bogus"}), "vrk++: error: unrecognized command-line option '-bogus'\n");
}

TEST_F(read_cmdline, RemovedAndWarnedOptions) {
  EXPECT_EQ(run({"-fmudflap"}), "vrk++: warning: switch '-fmudflap' is no longer supported\n");
  EXPECT_EQ(errors(), 0);
}

TEST_F(read_cmdline, DecodingErrorsInCommandLineOrder) {
  std::string text = run({"-o", "x", "-gdwarf-x", "-fkeep-inline-dllexport", "-x"});
  EXPECT_EQ(text,
            "vrk++: error: argument to '-gdwarf-' should be a non-negative integer\n"
            "vrk++: error: command-line option '-fkeep-inline-dllexport' is not supported by "
            "this configuration\n"
            "vrk++: error: missing argument to '-x'\n");
  EXPECT_EQ(errors(), 3);
  EXPECT_EQ(recorder::handled, (words{"-o x"}));
}

TEST_F(read_cmdline, MissingArgumentUsesTheRecordMessage) {
  std::string text = run({"-o"});
  EXPECT_EQ(text, "vrk++: error: missing filename after '-o'\n");
}

TEST_F(read_cmdline, BadEnumeratedWordGetsListAndHint) {
  EXPECT_EQ(run({"-fdiagnostics-color=nevr"}),
            "vrk++: error: unrecognized argument 'nevr' to '-fdiagnostics-color'\n"
            "vrk++: note: valid arguments to '-fdiagnostics-color=' are: always auto never; "
            "did you mean 'never'?\n");
  EXPECT_EQ(run({"-fdiagnostics-color=xyzzy"}),
            "vrk++: error: unrecognized argument 'xyzzy' to '-fdiagnostics-color'\n"
            "vrk++: note: valid arguments to '-fdiagnostics-color=' are: always auto never\n");
}

TEST(report_decode_errors, SetValuedArgumentMessages) {
  struct case_ {
    const char *word;
    const char *expected;
  } cases[] = {
      {"-Wbidi-chars=any,none",
       "vrk++: error: invalid argument in option '-Wbidi-chars=any,none'\n"
       "vrk++: note: 'any' is mutually exclusive with 'none' and cannot be specified together\n"},
      {"-Wbidi-chars=unpaired,ucn,any",
       "vrk++: error: invalid argument in option '-Wbidi-chars=unpaired,ucn,any'\n"
       "vrk++: note: 'unpaired' is mutually exclusive with 'any' and cannot be specified "
       "together\n"},
      {"-Wbidi-chars=any,any",
       "vrk++: error: invalid argument in option '-Wbidi-chars=any,any'\n"
       "vrk++: note: 'any' specified multiple times in the same option\n"},
  };
  diagnostic_initialize("vrk++");
  open_quote = close_quote = "'";
  for (const case_ &c : cases) {
    decoded_option d;
    const char *vec[] = {c.word, nullptr};
    decode_cmdline_option(vec, all_mask, &d);
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(report_decode_errors(UNKNOWN_LOCATION, d.opt_index, d.orig_text, d.arg,
                                     d.errors, all_mask));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.expected);
  }

  decoded_option d;
  const char *vec[] = {"-Wbidi-chars=,any", nullptr};
  decode_cmdline_option(vec, all_mask, &d);
  ::testing::internal::CaptureStderr();
  report_decode_errors(UNKNOWN_LOCATION, d.opt_index, d.orig_text, d.arg, d.errors, all_mask);
  std::string text = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(text.find("note: valid arguments to '-Wbidi-chars=' are: "), std::string::npos)
      << text;
}

}  // namespace
