// Conditional groups: grammar, switch matching, liveness, ordering,
// substitution, suffix and language tests, claiming, and the fatal
// messages of malformed groups.
#include <cstring>

#include "spec/braces.h"
#include "spec/spec-test-support.h"

using ::testing::ExitedWithCode;

class braces_test : public spec_test {};

TEST_F(braces_test, GroupsOverTheSwitches) {
  // Switches ("-o x" is -o with a separate argument), then specs expanded
  // in order over them with what each writes.
  struct step {
    const char *spec;
    words expected;
  };
  struct {
    std::vector<const char *> switches;
    std::vector<step> steps;
  } cases[] = {
      // A one-letter prefix decides nothing: every -O is passed on, until a
      // whole-switch test finds the earlier one overridden.
      {{"-O2", "-O0"}, {{"%{O*}", {"-O2", "-O0"}}, {"%{O2:X}%{O0:Y}", {"Y"}}, {"%{O*}", {"-O0"}}}},
      {{"-fno-common", "-fcommon"}, {{"%{fcommon:A} %{fno-common:B}", {"A"}}}},
      // Ordered lists interleave in command-line order, each switch once.
      {{"-T1", "-S1", "-T2", "-U"},
       {{"%{S*&T*}", {"-T1", "-S1", "-T2"}}, {"%{T2&S1&T2}", {"-S1", "-T2"}}}},
      {{"-o dir/x.o", "-MT t"},
       {{"%{o*} %{MT*}", {"-o", "dir/x.o", "-MT", "t"}}, {"%{o*:%.d%*}", {"dir/x.d"}}}},
      {{}, {{"%{!S:X}", {"X"}}, {"%{S:X;T:Y;:Z}", {"Z"}}, {"%{S:X  ;  !T :  Y  }z", {"Yz"}}}},
      {{"-S"}, {{"%{!S:X}", {}}, {"%{T|S:Y}", {"Y"}}}},
      {{"-S", "-T"}, {{"%{S:X;T:Y;:Z}", {"X"}}}},
      {{"-T"}, {{"%{S:X;T:Y;:Z}", {"Y"}}}},
      {{"-c"}, {{"%{c:%{o*:%*}%{!o*:a.o}} b", {"a.o", "b"}}, {"%{!c:%enever}", {}}}},
      // Substitution bodies run once per matching switch.
      {{"-march=armv8", "-mfoo", "-march=armv9"}, {{"%{march=*:-A%*}", {"-Aarmv8", "-Aarmv9"}}}},
      {{"-o dir.v/x"}, {{"%{o*:-MQ %*} %{o*:%.d%*}", {"-MQ", "dir.v/x", "dir.v/x.d"}}}},
      // -D given as two words matches by its argument.
      {{"-D FOOBAR"},
       {{"%{DFOO:a} %{DFOOBAR:b} %{DFOO*:c} %{UFOOBAR:d}", {"b", "c"}},
        {"%{D*&U*}", {"-D", "FOOBAR"}}}},
      {{"-fa:b"}, {{"%{fa\\:b:yes}", {"yes"}}}},
  };
  for (const auto &c : cases) {
    comp.switches.clear();
    for (const char *s : c.switches) {
      const char *blank = std::strchr(s, ' ');
      add_switch(blank ? std::string(s, blank).c_str() : s, blank ? blank + 1 : nullptr);
    }
    for (const step &st : c.steps)
      EXPECT_EQ(expand(st.spec), st.expected) << st.spec;
    for (int i = 0; i < comp.switches.count(); i++)
      EXPECT_FALSE(sw(i).order_marked);
    in.args.suffix_substitute = nullptr;
  }
  EXPECT_EQ(new_errors(), 0);
  EXPECT_EQ(in.args.suffix_substitute, nullptr);
}

TEST_F(braces_test, LivenessIsRecordedOnce) {
  add_switch("-Wall");
  add_switch("-Wno-all");
  add_switch("-mno-x", nullptr, false);
  add_switch("-mx");
  EXPECT_EQ(expand("%{W*}"), (words{"-Wall", "-Wno-all"}));
  EXPECT_EQ(sw(0).liveness, 0u);  // nothing recorded for prefix length 1
  EXPECT_EQ(expand("%{Wall:C} %{Wno-all:D} %{mno-x:E}"), (words{"D"}));
  EXPECT_EQ(sw(0).liveness, static_cast<unsigned>(live_no));
  EXPECT_TRUE(sw(0).claimed);
  EXPECT_FALSE(sw(2).claimed);  // overridden but not recognised

  sw(3).liveness = live_yes | live_removed_by_self_spec;
  EXPECT_FALSE(switch_is_live(comp.switches, 3, -1));
  sw(3).liveness = live_removed;
  EXPECT_FALSE(switch_is_live(comp.switches, 3, 1));
  sw(3).liveness = live_yes | live_removed;
  EXPECT_TRUE(switch_is_live(comp.switches, 3, -1));
  // ... but a removed switch is never written.
  EXPECT_EQ(expand("%{mx*}"), (words{}));
}

TEST_F(braces_test, SuffixLanguageAndOutputGroups) {
  in.set_current_input("a.c");
  EXPECT_EQ(expand("%{.c:X} %{.cc:Y} %{!.c:Z}"), (words{"X"}));
  in.set_current_input("a.cc");
  EXPECT_EQ(expand("%{.c:X} %{.cc:Y}"), (words{"Y"}));
  compiler_entry row{"@c", "", nullptr, 0, 0};
  in.input.compiler = &row;
  EXPECT_EQ(expand("%{,c:L} %{,c++:M}"), (words{"L"}));
  in.input.compiler = nullptr;
  EXPECT_EQ(expand("%{,c:L}"), (words{}));

  // %W{...} records what it wrote for deletion on failure.
  add_switch("-o", "out.o");
  EXPECT_EQ(expand("%W{o*}"), (words{"-o", "out.o"}));
  EXPECT_TRUE(listed(failure_delete_list, "out.o"));
  forget_failure_files();

  // A failing body fails the spec.
  int status = 0;
  expand("x %{o*:%eno output please} y", &status);
  EXPECT_EQ(status, -1);
  EXPECT_EQ(new_errors(), 1);
}

TEST_F(braces_test, ClaimingFollowsGroupsRemovalsAndUserSpecs) {
  for (const char *s : {"-fa", "-fb", "-md", "-e", "-g3", "-s"})
    add_switch(s);
  add_switch("-mc", nullptr, false);
  auto claimed = [this] {
    std::string flags;
    for (int i = 0; i < comp.switches.count(); i++)
      flags += sw(i).claimed ? '1' : '0';
    return flags;
  };
  // Not -e (a suffix test claims nothing), nor -mc (unrecognised, and not
  // in a user spec), nor -g3 (bodies behind a spec-function term).
  // The count is of switches claimed anew: what the scan of every spec
  // stops on.
  EXPECT_EQ(claim_spec_switches(
                comp.switches,
                "%{fa|!fb:%{mc*:x}} %<md %{.e:y} %W{s} %{%:debug-level-gt(0):%{g3}} %{fa:%{s}}",
                false),
            4);
  EXPECT_EQ(claimed(), "1110010");
  EXPECT_EQ(claim_spec_switches(comp.switches, "%{mc*:x} %{fa}", true), 1);
  EXPECT_EQ(claimed(), "1110011");
}

TEST_F(braces_test, ClaimingSurvivesNestingNoSpecCanRun) {
  add_switch("-fa");
  add_switch("-fb");
  // Groups nested far deeper than the interpreter accepts: the scan skips
  // what lies past its depth limit, and goes on after the group.
  std::string spec;
  for (int i = 0; i < 100000; i++)
    spec += "%{fb:";
  spec += std::string(100000, '}') + " %{fa:x}";
  claim_spec_switches(comp.switches, spec.c_str(), false);
  EXPECT_TRUE(sw(0).claimed);
  EXPECT_TRUE(sw(1).claimed);
}

TEST_F(braces_test, KeptGroupsFollowTheirTextAndTheSwitches) {
  // One group text read again and again, as for many inputs: its pieces
  // are kept, but every reading tests the switches anew...
  std::string spec = "%{S:s;T*:t%*;:none} %{U&V}";
  EXPECT_EQ(expand(spec.c_str()), (words{"none"}));
  EXPECT_EQ(expand(spec.c_str()), (words{"none"}));
  add_switch("-Tx");
  EXPECT_EQ(expand(spec.c_str()), (words{"tx"}));
  add_switch("-V");
  add_switch("-S");
  EXPECT_EQ(expand(spec.c_str()), (words{"s", "-V"}));

  // A group that did nothing is passed over while the switches stay as
  // they are, and read again once a switch is added or removed.
  std::string quiet = "%{Q:q} %{!R:no-r}";
  add_switch("-R");
  for (int i = 0; i < 3; i++)
    EXPECT_EQ(expand(quiet.c_str()), words{});
  add_switch("-Q");
  EXPECT_EQ(expand(quiet.c_str()), (words{"q"}));
  in.apply_self_spec("%<R");
  EXPECT_EQ(expand(quiet.c_str()), (words{"q", "no-r"}));
  // A one-letter prefix records no liveness: removing the switch in a
  // spec is what changes the answer.
  add_switch("-P");
  std::string starred = "%{!P*:no-p}";
  for (int i = 0; i < 3; i++)
    EXPECT_EQ(expand(starred.c_str()), words{});
  expand("%<P");
  EXPECT_EQ(expand(starred.c_str()), (words{"no-p"}));

  // ...and a new text in the same place is read afresh, shorter or longer.
  std::string place;
  place.reserve(64);
  for (auto [text, expected] : {std::pair<const char *, words>{"%{S:new}", {"new"}},
                                {"%{T*:T%*;S:s} %{V:v}", {"Tx", "v"}},
                                {"%{S:new}", {"new"}},
                                {"%{S:s;T*:t%*;:none} %{U&V}", {"s", "-V"}}}) {
    place.assign(text);
    EXPECT_EQ(expand(place.c_str()), expected) << text;
  }

  // A function term is called at every reading; what follows its call is
  // read from the text each time.
  std::string file = ::testing::TempDir() + "kept-group-probe";
  std::remove(file.c_str());
  std::string probe = "%{%:if-exists(" + file + "):there;S:s}";
  EXPECT_EQ(expand(probe.c_str()), (words{"s"}));
  EXPECT_EQ(expand(probe.c_str()), (words{"s"}));
  std::FILE *f = std::fopen(file.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_EQ(expand(probe.c_str()), (words{file, "there"}));
  std::remove(file.c_str());
  EXPECT_EQ(new_errors(), 0);
}

using braces_death_test = braces_test;

TEST_F(braces_death_test, MalformedGroupsAreFatal) {
  // Malformed groups, then bodies (substitution bodies need starred terms).
  std::pair<const char *, const char *> cases[] = {
      {"%{:X}", "braced spec .:X.. is invalid at .:."}, {"%{S:X;:Y;T:Z}", "is invalid at .T."},
      {"%{S:X;!:Y}", "is invalid at"},                  {"%{S&T:X}", "is invalid at .:."},
      {"%{S|T&U:X}", "is invalid at .&."},              {"%{!S}", "is invalid at .}."},
      {"%{.c*:X}", "is invalid at"},                    {"%{S#}", "is invalid at .#."},
      {"%{S", "is invalid at"},      {"%{S:X", "braced spec body .X. is invalid"},
      {"%{S\\", "braced spec .S\\\\. ends in escape"},
      {"%{S:-x%*}", "braced spec body .-x%\\*. is invalid"},
      {"%{S*|T:%*}", "braced spec body"},               {"%{S*:a;:%*}", "braced spec body"},
  };
  for (auto [spec, message] : cases)
    EXPECT_EXIT(expand(spec), ExitedWithCode(1), message) << spec;
}
