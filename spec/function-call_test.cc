// Spec-function calls (argument expansion into separate words, the
// caller's unfinished argument, results interpreted in place, conditions)
// and self specs that add switches.
#include <string>

#include "spec/spec-function-table.h"
#include "spec/spec-test-support.h"

using ::testing::ExitedWithCode;

namespace {

words last_call;

const char *record_args(spec_interpreter &, int argc, const char **argv) {
  last_call.clear();
  for (int i = 0; i < argc; i++)
    last_call.push_back(argv[i]);
  EXPECT_EQ(argv[argc], nullptr);
  return nullptr;
}

const char *answer_text(spec_interpreter &, int argc, const char **argv) {
  return argc ? argv[0] : "";
}

const char *fail_text(spec_interpreter &, int, const char **) { return "%efailed in result"; }

const spec_function test_functions[] = {
    {"record", record_args},
    {"answer", answer_text},
    {"bad-result", fail_text},
};

} // namespace

class function_call_test : public spec_test {
protected:
  void SetUp() override {
    spec_test::SetUp();
    in.spec_functions = test_functions;
    in.spec_function_count = 3;
  }
};

TEST_F(function_call_test, ArgumentsAndTheCallersArgument) {
  add_switch("-ftree-parallelize-loops=4");
  add_switch("-O2");
  define_spec("one", "x", false);
  EXPECT_EQ(expand("pre %:record(%{ftree-parallelize-loops=*:%*} 1 %{O*}a%(one)b)post"),
            (words{"pre", "post"}));
  // Every nested text ends its own argument while arguments are collected.
  EXPECT_EQ(last_call, (words{"4", "1", "-O2", "ax", "b"}));
  EXPECT_EQ(in.spec_function_depth, 0);

  // The caller's unfinished argument continues after the call.
  EXPECT_EQ(expand("abc%:record(x y)def"), (words{"abcdef"}));
  EXPECT_EQ(last_call, (words{"x", "y"}));
  EXPECT_EQ(expand("-march=%:answer(v8)+x"), (words{"-march=v8", "+x"}));
  // %* in the arguments is the caller's.
  add_switch("-mcpu=a53");
  EXPECT_EQ(expand("%{mcpu=*:%:record(%*)}"), (words{}));
  EXPECT_EQ(last_call, (words{"a53"}));
}

TEST_F(function_call_test, ConditionsAndFailingResults) {
  EXPECT_EQ(expand("%{%:record():yes;:no}"), (words{"no"}));
  EXPECT_EQ(expand("%{%:answer():yes;:no}"), (words{"yes"}));
  EXPECT_EQ(expand("%{!%:record():neg}"), (words{"neg"}));
  // A function term is called even after an earlier term matched.
  add_switch("-S");
  last_call = {"untouched"};
  EXPECT_EQ(expand("%{S|%:record(z):T}"), (words{"T"}));
  EXPECT_EQ(last_call, (words{"z"}));

  // A result that fails fails the spec.
  int status = 0;
  expand("a %:bad-result() b", &status);
  EXPECT_EQ(status, -1);
  EXPECT_EQ(new_errors(), 1);
  EXPECT_EQ(in.spec_function_depth, 0);
}

TEST_F(function_call_test, SelfSpecsAddSwitchesAndMarkRemovals) {
  in.apply_self_spec("");
  EXPECT_EQ(comp.switches.count(), 0);
  add_switch("-fdump-final-insns");
  add_switch("-mcpu=native");
  in.apply_self_spec("%{fdump-final-insns:-fdump-final-insns=.} %<fdump-final-insns -o out "
                     "%{!mabi=*:-mabi=lp64}");
  EXPECT_EQ(sw(0).liveness & (live_removed | live_removed_by_self_spec),
            static_cast<unsigned>(live_removed | live_removed_by_self_spec));
  ASSERT_GE(comp.switches.count(), 5);
  EXPECT_STREQ(sw(2).text, "fdump-final-insns=.");
  EXPECT_STREQ(sw(3).text, "o");
  ASSERT_NE(sw(3).arguments, nullptr);
  EXPECT_STREQ(sw(3).arguments[0], "out");
  EXPECT_TRUE(sw(3).recognised);
  EXPECT_FALSE(sw(3).claimed);
  EXPECT_STREQ(sw(4).text, "mabi=lp64");
  EXPECT_EQ(comp.switches[comp.switches.count()].text, nullptr);
  // The removed switch no longer counts as live for later specs.
  EXPECT_EQ(expand("%{fdump-final-insns:gone}"), (words{}));
}

using function_call_death_test = function_call_test;

TEST_F(function_call_death_test, MalformedCallsAndSelfSpecWordsAreFatal) {
  EXPECT_EXIT(expand("%:rec!ord(x)"), ExitedWithCode(1), "malformed spec function name");
  EXPECT_EXIT(expand("%:record(x(y)"), ExitedWithCode(1), "malformed spec function arguments");
  EXPECT_EXIT(expand("%:record(%eoops)"), ExitedWithCode(1),
              "error in arguments to spec function .record.");
  // Self-spec words must be options.
  EXPECT_EXIT(in.apply_self_spec("-"), ExitedWithCode(1), "spec-generated switch is just .-.");
  EXPECT_EXIT(in.apply_self_spec("-x1 foo.c"), ExitedWithCode(1),
              "switch .foo.c. does not start with .-.");
}
