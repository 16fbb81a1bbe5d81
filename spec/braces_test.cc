// Conditional groups: grammar, switch matching, liveness, ordering,
// substitution, suffix and language tests, claiming, and the fatal
// messages of malformed groups.
#include <cstring>

#include "spec/braces.h"
#include "driver/compilers.h"
#include "spec/spec-test-support.h"

using ::testing::ExitedWithCode;

class braces_test : public spec_test {};

TEST_F(braces_test, PlainCopiesAndOptimisationLiveness) {
  add_switch("-O2");
  add_switch("-O0");
  // A one-letter prefix decides nothing: both are passed on ...
  EXPECT_EQ(expand("%{O*}"), (words{"-O2", "-O0"}));
  // ... until a whole-switch test finds the earlier one overridden.
  EXPECT_EQ(expand("%{O2:X}%{O0:Y}"), (words{"Y"}));
  EXPECT_EQ(sw(0).liveness, static_cast<unsigned>(live_no));
  EXPECT_TRUE(sw(0).claimed);
  EXPECT_EQ(expand("%{O*}"), (words{"-O0"}));
}

TEST_F(braces_test, NegativeFormsOverrideEarlierSwitches) {
  add_switch("-fno-common");
  add_switch("-fcommon");
  add_switch("-Wall");
  add_switch("-Wno-all");
  add_switch("-mno-x", nullptr, false);
  add_switch("-mx");
  EXPECT_EQ(expand("%{fcommon:A} %{fno-common:B}"), (words{"A"}));
  EXPECT_EQ(expand("%{Wall:C} %{Wno-all:D}"), (words{"D"}));
  EXPECT_EQ(sw(2).liveness, static_cast<unsigned>(live_no));
  EXPECT_TRUE(sw(2).claimed);
  EXPECT_EQ(expand("%{mno-x:E}"), (words{}));
  EXPECT_FALSE(sw(4).claimed);  // overridden but not recognised
}

TEST_F(braces_test, OneCharacterPrefixPassesBothForms) {
  add_switch("-Wall");
  add_switch("-Wno-all");
  EXPECT_EQ(expand("%{W*}"), (words{"-Wall", "-Wno-all"}));
  EXPECT_EQ(sw(0).liveness, 0u);  // nothing recorded for prefix length 1
}

TEST_F(braces_test, OrderedListsInterleaveInCommandLineOrder) {
  add_switch("-T1");
  add_switch("-S1");
  add_switch("-T2");
  add_switch("-U");
  EXPECT_EQ(expand("%{S*&T*}"), (words{"-T1", "-S1", "-T2"}));
  EXPECT_EQ(expand("%{T2&S1&T2}"), (words{"-S1", "-T2"}));
  for (int i = 0; i < saved_switch_count; i++)
    EXPECT_FALSE(sw(i).order_marked);
}

TEST_F(braces_test, SwitchArgumentsFollowTheSwitch) {
  add_switch("-o", "dir/x.o");
  add_switch("-MT", "t");
  EXPECT_EQ(expand("%{o*} %{MT*}"), (words{"-o", "dir/x.o", "-MT", "t"}));
  EXPECT_TRUE(sw(0).claimed);
}

TEST_F(braces_test, NegationAlternativesAndNWayChoices) {
  EXPECT_EQ(expand("%{!S:X}"), (words{"X"}));
  add_switch("-S");
  EXPECT_EQ(expand("%{!S:X}"), (words{}));
  EXPECT_EQ(expand("%{T|S:Y}"), (words{"Y"}));
  add_switch("-T");
  EXPECT_EQ(expand("%{S:X;T:Y;:Z}"), (words{"X"}));
  saved_switch_count = 0;
  add_switch("-T");
  EXPECT_EQ(expand("%{S:X;T:Y;:Z}"), (words{"Y"}));
  saved_switch_count = 0;
  terminate_switches_and_inputs();
  EXPECT_EQ(expand("%{S:X;T:Y;:Z}"), (words{"Z"}));
  EXPECT_EQ(expand("%{S:X  ;  !T :  Y  }z"), (words{"Yz"}));
}

TEST_F(braces_test, BodiesNestAndFailuresPropagate) {
  add_switch("-c");
  EXPECT_EQ(expand("%{c:%{o*:%*}%{!o*:a.o}} b"), (words{"a.o", "b"}));
  int status = 0;
  expand("x %{c:%eno c please} y", &status);
  EXPECT_EQ(status, -1);
  EXPECT_EQ(new_errors(), 1);
  // %e in a body that is not taken reports nothing.
  expand("%{!c:%enever}", &status);
  EXPECT_EQ(status, 0);
}

TEST_F(braces_test, SubstitutionBodiesRunPerSwitch) {
  add_switch("-march=armv8");
  add_switch("-mfoo");
  add_switch("-march=armv9");
  EXPECT_EQ(expand("%{march=*:-A%*}"), (words{"-Aarmv8", "-Aarmv9"}));
  add_switch("-o", "dir/x.o");
  EXPECT_EQ(expand("%{o*:%.d%*}"), (words{"dir/x.d"}));
  EXPECT_EQ(suffix_substitute, nullptr);
  saved_switch_count = 0;
  add_switch("-o", "dir.v/x");
  EXPECT_EQ(expand("%{o*:-MQ %*}"), (words{"-MQ", "dir.v/x"}));
  EXPECT_EQ(expand("%{o*:%.d%*}"), (words{"dir.v/x.d"}));
}

TEST_F(braces_test, SuffixAndLanguageTests) {
  set_current_input("a.c");
  EXPECT_EQ(expand("%{.c:X} %{.cc:Y} %{!.c:Z}"), (words{"X"}));
  set_current_input("a.cc");
  EXPECT_EQ(expand("%{.c:X} %{.cc:Y}"), (words{"Y"}));
  compiler_entry row{"@c", "", nullptr, 0, 0};
  current_compiler = &row;
  EXPECT_EQ(expand("%{,c:L} %{,c++:M}"), (words{"L"}));
  current_compiler = nullptr;
  EXPECT_EQ(expand("%{,c:L}"), (words{}));
}

TEST_F(braces_test, TwoWordDefinesMatchByArgument) {
  add_switch("-D", "FOOBAR");
  EXPECT_EQ(expand("%{DFOO:a} %{DFOOBAR:b} %{DFOO*:c} %{UFOOBAR:d}"), (words{"b", "c"}));
  EXPECT_EQ(expand("%{D*&U*}"), (words{"-D", "FOOBAR"}));
}

TEST_F(braces_test, EscapedAtomCharacters) {
  add_switch("-fa:b");
  EXPECT_EQ(expand("%{fa\\:b:yes}"), (words{"yes"}));
}

TEST_F(braces_test, WGroupRecordsOutputForFailureDeletion) {
  add_switch("-o", "out.o");
  EXPECT_EQ(expand("%W{o*}"), (words{"-o", "out.o"}));
  bool found = false;
  for (temp_file_entry *t = failure_delete_list.load(); t; t = t->next)
    found |= std::strcmp(t->name, "out.o") == 0;
  EXPECT_TRUE(found);
  forget_failure_files();
}

TEST_F(braces_test, LivenessBitsDecideOnce) {
  add_switch("-O1");
  sw(0).liveness = live_yes | live_removed_by_self_spec;
  EXPECT_FALSE(switch_is_live(0, -1));
  sw(0).liveness = live_removed;
  EXPECT_FALSE(switch_is_live(0, -1));
  EXPECT_FALSE(switch_is_live(0, 1));
  sw(0).liveness = live_yes | live_removed;
  EXPECT_TRUE(switch_is_live(0, -1));
  // ... but a removed switch is never written.
  EXPECT_EQ(expand("%{O*}"), (words{}));
}

TEST_F(braces_test, ClaimingFollowsGroupsRemovalsAndUserSpecs) {
  add_switch("-fa");
  add_switch("-fb");
  add_switch("-mc", nullptr, false);
  add_switch("-md");
  add_switch("-e");
  add_switch("-g3");
  add_switch("-s");
  claim_spec_switches("%{fa|!fb:%{mc*:x}} %<md %{.e:y} %W{s}", false);
  EXPECT_TRUE(sw(0).claimed);
  EXPECT_TRUE(sw(1).claimed);
  EXPECT_FALSE(sw(2).claimed);  // unrecognised and not a user spec
  EXPECT_TRUE(sw(3).claimed);
  EXPECT_FALSE(sw(4).claimed);  // a suffix test claims nothing
  EXPECT_TRUE(sw(6).claimed);
  claim_spec_switches("%{mc*:x}", true);
  EXPECT_TRUE(sw(2).claimed);
  // Bodies behind a spec-function term claim nothing.
  claim_spec_switches("%{%:debug-level-gt(0):%{g3}}", false);
  EXPECT_FALSE(sw(5).claimed);
}

using braces_death_test = braces_test;

TEST_F(braces_death_test, MalformedGroupsAreFatal) {
  EXPECT_EXIT(expand("%{:X}"), ExitedWithCode(1), "braced spec .:X.. is invalid at .:.");
  EXPECT_EXIT(expand("%{S:X;:Y;T:Z}"), ExitedWithCode(1), "is invalid at .T.");
  EXPECT_EXIT(expand("%{S:X;!:Y}"), ExitedWithCode(1), "is invalid at");
  EXPECT_EXIT(expand("%{S&T:X}"), ExitedWithCode(1), "is invalid at .:.");
  EXPECT_EXIT(expand("%{S|T&U:X}"), ExitedWithCode(1), "is invalid at .&.");
  EXPECT_EXIT(expand("%{!S}"), ExitedWithCode(1), "is invalid at .}.");
  EXPECT_EXIT(expand("%{.c*:X}"), ExitedWithCode(1), "is invalid at");
  EXPECT_EXIT(expand("%{S#}"), ExitedWithCode(1), "is invalid at .#.");
  EXPECT_EXIT(expand("%{S"), ExitedWithCode(1), "is invalid at");
  EXPECT_EXIT(expand("%{S\\"), ExitedWithCode(1), "braced spec .S\\\\. ends in escape");
  EXPECT_EXIT(expand("%{S:X"), ExitedWithCode(1), "braced spec body .X. is invalid");
}

TEST_F(braces_death_test, SubstitutionNeedsStarredTerms) {
  EXPECT_EXIT(expand("%{S:-x%*}"), ExitedWithCode(1), "braced spec body .-x%\\*. is invalid");
  EXPECT_EXIT(expand("%{S*|T:%*}"), ExitedWithCode(1), "braced spec body");
  EXPECT_EXIT(expand("%{S*:a;:%*}"), ExitedWithCode(1), "braced spec body");
}
