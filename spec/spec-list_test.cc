// Named specs: the static table, definitions and "+" additions, static
// replacement, reset and the -dumpspecs text.  The libvrk rewrite at
// installation only ever sees the built-in value; the driver tests show
// its result in every link line.
#include <cstring>
#include <string>

#include "spec/spec-test-support.h"
#include "support/text.h"

class spec_list_test : public spec_test {};

TEST_F(spec_list_test, StaticTableIsConsistent) {
  reset_specs();  // undo the multilib set-up of the fixture
  for (int i = 0; i < static_spec_count; i++) {
    const named_spec &sl = named_specs.static_spec_table[i];
    // Lookups compare the length first: a wrong one hides the spec.
    EXPECT_EQ(sl.name_length, static_cast<int>(std::strlen(sl.name))) << sl.name;
    EXPECT_EQ(*sl.value_slot, sl.default_value) << sl.name;
    for (int j = 0; j < i; j++)
      EXPECT_NE(named_specs.static_spec_table[j].value_slot, sl.value_slot) << sl.name;
  }
}

TEST_F(spec_list_test, DefineCreatesReplacesAndAppends) {
  define_spec("cpp", "+ -DFOO", true);
  EXPECT_EQ(std::string(named_specs.cpp_spec),
            std::string(named_specs.static_spec_table[6].default_value) + " -DFOO");
  define_spec("cpp", "-DBAR", false);
  EXPECT_STREQ(named_specs.cpp_spec, "-DBAR");
  define_spec("cpp", "+-x", false);  // no white space after "+": a plain value
  EXPECT_STREQ(named_specs.cpp_spec, "+-x");

  define_spec("fresh", "v", false);
  ASSERT_NE(named_specs.spec_list, nullptr);
  EXPECT_STREQ(named_specs.spec_list->name, "fresh");
  EXPECT_EQ(named_specs.spec_list->next, &named_specs.static_spec_table[0]);
  define_spec("fresh", "+\tw", false);
  EXPECT_STREQ(*lookup_spec("fresh")->value_slot, "v\tw");
  EXPECT_EQ(lookup_spec("fres"), nullptr);
  EXPECT_EQ(lookup_spec("freshly", 5), named_specs.spec_list);

  // -dumpspecs: the list in order (an empty value as two blank lines),
  // then the link command.
  define_spec("extra_one", "", false);
  std::string out = printed(print_specs);
  EXPECT_EQ(out.rfind("*extra_one:\n\n\n*fresh:\nv\tw\n\n*asm:\n", 0), 0u);
  EXPECT_TRUE(out.ends_with("*link_command:\n" + std::string(default_link_command_spec) + "\n\n"));
}

TEST_F(spec_list_test, ResetAndStaticReplacement) {
  define_spec("mine", "x", true);
  define_spec("asm", "y", true);
  named_specs.version_spec = "13.2.0";
  named_specs.link_command_spec = "custom";
  set_static_spec(&named_specs.lto_vrk_spec, xstrdup("/bin/vrk"), true);
  EXPECT_TRUE(named_specs.static_spec_table[34].value_owned);
  reset_specs();
  EXPECT_EQ(named_specs.spec_list, nullptr);
  EXPECT_EQ(named_specs.version_spec, nullptr);
  EXPECT_EQ(named_specs.asm_spec, named_specs.static_spec_table[0].default_value);
  EXPECT_EQ(named_specs.link_command_spec, default_link_command_spec);
  EXPECT_FALSE(named_specs.static_spec_table[0].value_owned);
  EXPECT_FALSE(named_specs.static_spec_table[34].value_owned);
  EXPECT_STREQ(named_specs.lto_vrk_spec, "");
}
