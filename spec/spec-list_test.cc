// Named specs: the static table, the built-in installation with its
// rewrites, definitions and "+" additions, static replacement, reset and
// the -dumpspecs text.
#include <cstdio>
#include <cstring>
#include <string>

#include "spec/spec-test-support.h"
#include "support/text.h"

using ::testing::ExitedWithCode;

class spec_list_test : public spec_test {
protected:
  void SetUp() override {
    spec_test::SetUp();
    reset_specs();
  }
  void TearDown() override {
    reset_specs();
    spec_test::TearDown();
  }
};

namespace {

std::string printed_specs() {
  char *text = nullptr;
  std::size_t size = 0;
  std::FILE *f = open_memstream(&text, &size);
  print_specs(f);
  std::fclose(f);
  std::string s(text, size);
  std::free(text);
  return s;
}

} // namespace

TEST_F(spec_list_test, StaticTableIsConsistent) {
  int nulls = 0;
  for (int i = 0; i < static_spec_count; i++) {
    const named_spec &sl = static_spec_table[i];
    // Lookups compare the length first: a wrong one hides the spec.
    EXPECT_EQ(sl.name_length, static_cast<int>(std::strlen(sl.name))) << sl.name;
    EXPECT_EQ(*sl.value_slot, sl.default_value) << sl.name;
    for (int j = 0; j < i; j++)
      EXPECT_NE(static_spec_table[j].value_slot, sl.value_slot) << sl.name;
    nulls += sl.default_value == nullptr;
  }
  EXPECT_EQ(nulls, 6);
  EXPECT_STREQ(static_spec_table[0].name, "asm");
  EXPECT_STREQ(static_spec_table[static_spec_count - 1].name, "self_spec");
}

TEST_F(spec_list_test, BuiltinInstallRewritesLibvrkAndPrefixesLink) {
  EXPECT_EQ(spec_list, nullptr);
  const char *old_link = link_spec;
  install_builtin_specs();
  EXPECT_EQ(spec_list, &static_spec_table[0]);
  EXPECT_STREQ(libvrk_spec,
               "%{static|static-libvrk|static-pie:-lvrk -lvrk_eh}%{!static:%{!static-libvrk:"
               "%{!static-pie:%{!shared-libvrk:-lvrk --push-state --as-needed -lvrk_s "
               "--pop-state}%{shared-libvrk:-lvrk_s%{!shared: -lvrk}}}}}");
  EXPECT_EQ(std::string(link_spec), std::string("%{!static|static-pie:--eh-frame-hdr} ") + old_link);

  named_spec *last = static_spec_table[static_spec_count - 1].next;
  ASSERT_NE(last, nullptr);
  EXPECT_STREQ(last->name, "asm_cpu_spec");
  EXPECT_EQ(last->name_length, 12);
  EXPECT_EQ(last->next, nullptr);
  EXPECT_EQ(lookup_spec("asm_cpu_spec"), last);
}

TEST_F(spec_list_test, LibvrkRewriteExpandsEveryWordStart) {
  libvrk_spec = "-lvrk_x libvrk.a%s a-lvrk";
  install_builtin_specs();
  std::string v = libvrk_spec;
  // Two expansions (the tail "_x" kept), and the word not at a start untouched.
  EXPECT_NE(v.find("-lvrk -lvrk_eh}"), std::string::npos);
  EXPECT_NE(v.find("libvrk.a%s libvrk_eh.a%s}"), std::string::npos);
  EXPECT_NE(v.find("}}}}}_x "), std::string::npos);
  EXPECT_EQ(v.substr(v.size() - 7), " a-lvrk");
}

TEST_F(spec_list_test, DefineCreatesReplacesAndAppends) {
  define_spec("cpp", "+ -DFOO", true);
  EXPECT_EQ(std::string(cpp_spec), std::string(static_spec_table[6].default_value) + " -DFOO");
  EXPECT_TRUE(lookup_spec("cpp")->user_set);
  define_spec("cpp", "-DBAR", false);
  EXPECT_STREQ(cpp_spec, "-DBAR");
  define_spec("cpp", "+-x", false);  // no white space after "+": a plain value
  EXPECT_STREQ(cpp_spec, "+-x");

  define_spec("fresh", "v", false);
  ASSERT_NE(spec_list, nullptr);
  EXPECT_STREQ(spec_list->name, "fresh");
  EXPECT_EQ(spec_list->next, &static_spec_table[0]);
  define_spec("fresh", "+\tw", false);
  EXPECT_STREQ(*lookup_spec("fresh")->value_slot, "v\tw");
  EXPECT_EQ(lookup_spec("fres"), nullptr);
  EXPECT_EQ(lookup_spec("freshly", 5), spec_list);
}

TEST_F(spec_list_test, ResetRestoresStartUpState) {
  define_spec("mine", "x", true);
  define_spec("asm", "y", true);
  version_spec = "13.2.0";
  link_command_spec = "custom";
  reset_specs();
  EXPECT_EQ(spec_list, nullptr);
  EXPECT_EQ(version_spec, nullptr);
  EXPECT_EQ(asm_spec, static_spec_table[0].default_value);
  EXPECT_EQ(link_command_spec, default_link_command_spec);
  EXPECT_FALSE(static_spec_table[0].value_owned);
}

TEST_F(spec_list_test, SetStaticSpecReplacesThroughTheSlot) {
  set_static_spec(&linker_name_spec, "ld", false);
  EXPECT_STREQ(linker_name_spec, "ld");
  set_static_spec(&lto_vrk_spec, xstrdup("/bin/vrk"), true);
  EXPECT_TRUE(static_spec_table[34].value_owned);
  set_static_spec(&lto_vrk_spec, "again", false);
  EXPECT_STREQ(lto_vrk_spec, "again");
  static const char *not_a_spec;
  EXPECT_EXIT(set_static_spec(&not_a_spec, "x", false), ExitedWithCode(4), "");
}

TEST_F(spec_list_test, DumpFormatListsSpecsThenLinkCommand) {
  define_spec("extra_one", "", false);
  std::string out = printed_specs();
  EXPECT_EQ(out.rfind("*extra_one:\n\n\n*asm:\n", 0), 0u);
  EXPECT_NE(out.find("\n\n*version:\n\n\n"), std::string::npos);
  EXPECT_NE(out.find("*link_command:\n" + std::string(default_link_command_spec) + "\n\n"),
            std::string::npos);
  EXPECT_EQ(out.substr(out.size() - 2), "\n\n");
}
