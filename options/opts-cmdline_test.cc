// Tests of whole command lines: the program-name and input-file entries,
// the "--param" join, the plain-output expansion, pruning of cancelled
// options, and read_cmdline_option's reports and callbacks in order.
#include "options/opts-test-support.h"

namespace {

constexpr unsigned all_mask = OPTL_ALL_LANGUAGES | OPTF_DRIVER | OPTF_COMMON | OPTF_TARGET;

using words = std::vector<std::string>;

TEST(decode_command_line, ProgramNameInputsAndOptions) {
  command_line cl({"-O2", "-o", "hello", "hello.c", "-", "-c"});
  std::vector<option_index> got;
  for (unsigned i = 0; i < cl.count; ++i)
    got.push_back(cl.options[i].opt_index);
  // A lone "-" is an input.
  EXPECT_EQ(got, (std::vector<option_index>{OPTION_PROGRAM_NAME, OPT_O, OPT_o, OPTION_INPUT_FILE,
                                            OPTION_INPUT_FILE, OPT_c}));
  EXPECT_STREQ(cl.options[0].arg, "vrk++");
  EXPECT_STREQ(cl.options[3].arg, "hello.c");
}

TEST(decode_command_line, ParamPairBecomesOneOption) {
  command_line cl({"--param", "align-loop-iterations=30", "x.c"}, all_mask);
  ASSERT_EQ(cl.count, 3u);
  EXPECT_EQ(cl.options[1].opt_index, OPT__param_align_loop_iterations_);
  EXPECT_EQ(cl.options[1].value, 30);
  EXPECT_STREQ(cl.argv[2], "--param=align-loop-iterations=30");
  // "--param" as the last word is decoded as it stands.
  EXPECT_EQ(command_line({"--param"}).texts(), (words{"--param"}));
}

TEST(prune_options, RewritesOfTheDecodedArray) {
  struct {
    std::vector<const char *> in;
    words out;
  } cases[] = {
      // Later options cancel earlier ones of their ring or themselves.
      {{"-fpic", "a.c", "-fPIC"}, {"a.c", "-fPIC"}},
      {{"-Wall", "-Wno-all"}, {"-Wno-all"}},
      {{"-Wall", "-c", "-Wall"}, {"-c", "-Wall"}},
      {{"-shared", "-pie", "-static-pie"}, {"-static-pie"}},
      // Options outside the ring survive; joined options are not cancelled.
      {{"-fpic", "-Wl,a", "-Wl,b"}, {"-fpic", "-Wl,a", "-Wl,b"}},
      // Entries with decoding errors stay as they are.
      {{"-fno-dump-x", "-fno-dump-x"}, {"-fno-dump-x", "-fno-dump-x"}},
      // -Wcomplain-wrong-lang and the colour choice move to the front.
      {{"-c", "-Wcomplain-wrong-lang", "x.c", "-Wno-complain-wrong-lang"},
       {"-Wno-complain-wrong-lang", "-c", "x.c"}},
      {{"x.c", "-fdiagnostics-color=always", "-c", "-fdiagnostics-color=never",
        "-Wcomplain-wrong-lang"},
       {"-Wcomplain-wrong-lang", "-fdiagnostics-color=never", "x.c", "-c"}},
      // The plain-output word becomes five options; colour moves first.
      {{"-fdiagnostics-plain-output", "x.c"},
       {"-fdiagnostics-color=never", "-fno-diagnostics-show-caret",
        "-fno-diagnostics-show-line-numbers", "-fdiagnostics-urls=never",
        "-fdiagnostics-path-format=separate-events", "x.c"}},
  };
  for (auto &c : cases)
    EXPECT_EQ(command_line(c.in).texts(), c.out) << c.in[0];
}

// Callbacks recording what reaches them.
std::vector<std::string> unknown, wrong_lang, handled;
bool want_generic_error;

class read_cmdline : public options_fixture {
protected:
  void SetUp() override {
    options_fixture::SetUp();
    unknown.clear();
    wrong_lang.clear();
    handled.clear();
    want_generic_error = false;
    handlers.unknown_option_callback = [](const decoded_option *d, void *) {
      unknown.push_back(d->orig_text);
      return want_generic_error;
    };
    handlers.wrong_lang_callback = [](const decoded_option *d, unsigned, void *) {
      wrong_lang.push_back(d->orig_text);
    };
    handlers.handlers[0].handler = [](option_values *, option_values *, const decoded_option *d,
                                      unsigned, int, location_t, const option_handler_set *,
                                      diagnostic_reporter *) {
      handled.push_back(d->orig_text);
      return true;
    };
  }
};

TEST_F(read_cmdline, RoutesOptionsToCallbacksAndHandlers) {
  EXPECT_EQ(apply({"-Wall", "-bogus", "-c", "-fstrength-reduce", "-fno-mudflap"}), "");
  EXPECT_EQ(wrong_lang, (words{"-Wall"}));
  EXPECT_EQ(unknown, (words{"-bogus"}));
  EXPECT_EQ(handled, (words{"-c"}));
  want_generic_error = true;
  EXPECT_EQ(apply({"-bogus"}), "vrk++: error: unrecognized command-line option '-bogus'\n");
}

TEST_F(read_cmdline, ReportsInCommandLineOrder) {
  struct {
    std::vector<const char *> words;
    const char *expected;
  } cases[] = {
      {{"-fmudflap"}, "vrk++: warning: switch '-fmudflap' is no longer supported\n"},
      {{"-o"}, "vrk++: error: missing filename after '-o'\n"},
      {{"-o", "x", "-gdwarf-x", "-fkeep-inline-dllexport", "-x"},
       "vrk++: error: argument to '-gdwarf-' should be a non-negative integer\n"
       "vrk++: error: command-line option '-fkeep-inline-dllexport' is not supported by "
       "this configuration\n"
       "vrk++: error: missing argument to '-x'\n"},
      {{"-fdiagnostics-color=xyzzy"},
       "vrk++: error: unrecognized argument 'xyzzy' to '-fdiagnostics-color'\n"
       "vrk++: note: valid arguments to '-fdiagnostics-color=' are: always auto never\n"},
  };
  for (auto &c : cases)
    EXPECT_EQ(apply(c.words), c.expected);
  EXPECT_EQ(errors(), 5);  // the removed option only warns
  EXPECT_EQ(handled, (words{"-o x"}));
}

TEST_F(read_cmdline, SetValuedArgumentMessages) {
  auto report = [&](const char *word) {
    decoded_option d;
    const char *vec[] = {word, nullptr};
    decode_cmdline_option(vec, all_mask, &d);
    EXPECT_TRUE(
        report_decode_errors(UNKNOWN_LOCATION, d.opt_index, d.orig_text, d.arg, d.errors, all_mask));
    return diagnostics();
  };
  EXPECT_EQ(report("-Wbidi-chars=any,none"),
            "vrk++: error: invalid argument in option '-Wbidi-chars=any,none'\n"
            "vrk++: note: 'any' is mutually exclusive with 'none' and cannot be specified "
            "together\n");
  EXPECT_EQ(report("-Wbidi-chars=unpaired,ucn,any"),
            "vrk++: error: invalid argument in option '-Wbidi-chars=unpaired,ucn,any'\n"
            "vrk++: note: 'unpaired' is mutually exclusive with 'any' and cannot be specified "
            "together\n");
  EXPECT_EQ(report("-Wbidi-chars=any,any"),
            "vrk++: error: invalid argument in option '-Wbidi-chars=any,any'\n"
            "vrk++: note: 'any' specified multiple times in the same option\n");
  std::string text = report("-Wbidi-chars=,any");
  EXPECT_NE(text.find("note: valid arguments to '-Wbidi-chars=' are: "), std::string::npos)
      << text;
}

}  // namespace
