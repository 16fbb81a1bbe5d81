// The compilers table lookup and the classification of inputs before
// anything runs: which row each name or language finds and which inputs go
// to the linker.
#include "driver/infiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "diagnostics/reporter-test-support.h"

namespace {

class Compilers : public testing::Test {
protected:
  void SetUp() override {
    reset_reporter_for_test();
    comp.compilers.init();
  }
  void TearDown() override { diagnostic_count(kind_error) = 0; }

  // The key of the row found for NAME (and LANGUAGE), "none" for none.
  std::string key_for(const char *name, const char *language = nullptr) {
    const compiler_entry *row = lookup_compiler(comp, name, language);
    return row ? row->key : "none";
  }

  // check_inputs over INPUTS (name, language); the explicit-link flags.
  std::string classify(std::vector<std::pair<const char *, const char *>> inputs);

  compilation comp;
};

TEST_F(Compilers, NamesFindTheirRows) {
  struct {
    const char *name;
    const char *key;
  } cases[] = {
      {"a.c", "@c"},          {"dir/a.h", "@c-header"},     {"a.i", "@cpp-output"},
      {"a.s", "@assembler"},  {"a.S", "@assembler-with-cpp"}, {"a.sx", "@assembler-with-cpp"},
      // The installed C++ and Ada rows come after the not-installed ones.
      {"a.cc", "@c++"},       {"a.C", "@c++"},               {"a.ii", "@c++-cpp-output"},
      {"a.hpp", "@c++-header"}, {"a.adb", "@ada"},
      {"a.f90", ".f90"},      {"a.go", ".go"},               {"a.m", ".m"},
      {"-", "-"},
      // Linker inputs, and a name no longer than a key.
      {"a.o", "none"},        {"libx.a", "none"},            {".c", "none"},
      {"c", "none"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(key_for(c.name), c.key) << c.name;
  EXPECT_FALSE(seen_error());
}

TEST_F(Compilers, LanguagesAndAliases) {
  EXPECT_EQ(key_for("notes.txt", "c++"), "@c++");
  EXPECT_EQ(key_for("a.c", "assembler"), "@assembler");
  EXPECT_EQ(key_for("-lfoo", "*"), "none");
  EXPECT_FALSE(seen_error());

  EXPECT_EQ(key_for("a.f", "fortran"), "none");
  EXPECT_EQ(diagnostic_count(kind_error), 1);

  // Rows from specs files win; "@*" sends the input to the linker, an
  // alias of an unknown language is an error.
  comp.compilers.add(".c", "@assembler");
  comp.compilers.add(".zz", "@*");
  comp.compilers.add(".yy", "@nowhere");
  EXPECT_EQ(key_for("a.c"), "@assembler");
  EXPECT_EQ(key_for("a.zz"), "none");
  EXPECT_EQ(diagnostic_count(kind_error), 1);
  EXPECT_EQ(key_for("a.yy"), "none");
  EXPECT_EQ(diagnostic_count(kind_error), 2);

  // A header from standard input is fine when only preprocessing (the
  // driver tests check the fatal error otherwise).
  comp.preprocess_only_given = true;
  EXPECT_EQ(key_for("-", "c-header"), "@c-header");
  comp.preprocess_only_given = false;
}

std::string Compilers::classify(std::vector<std::pair<const char *, const char *>> inputs) {
  diagnostic_count(kind_error) = 0;
  comp.inputs.clear();
  for (const auto &[name, language] : inputs) {
    comp.inputs.add(name, language);
    input_entry &added = comp.inputs[comp.inputs.count() - 1];
    added.compiled = added.preprocessed = true;
  }
  EXPECT_FALSE(check_inputs(comp));
  std::string flags;
  for (int i = 0; i < comp.inputs.count(); i++) {
    flags += comp.explicit_link_files[std::size_t(i)] ? 'L' : (comp.inputs[i].compiler ? 'C' : '-');
    EXPECT_FALSE(comp.inputs[i].compiled);
  }
  return flags;
}

TEST_F(Compilers, CheckInputsSortsCompilerAndLinkerInputs) {
  EXPECT_EQ(classify({{"a.c", nullptr}, {"b.o", nullptr}, {"-lm", "*"}, {"c.cc", nullptr}}),
            "CLLC");
  // After a compiled input, an explicit language without a row is neither
  // compiled nor linked (its error was reported).
  EXPECT_EQ(classify({{"a.c", nullptr}, {"b.f", "fortran"}}), "C-");
  EXPECT_EQ(classify({{"b.f", "fortran"}, {"a.c", nullptr}}), "LC");
}

TEST_F(Compilers, CheckInputsAllowsOneOutputForOneCompilationAndStopsAfterErrors) {
  // The refusal of -o with -c for several compilations is checked by the
  // driver tests.
  comp.output_given = comp.stops_before_link = true;
  EXPECT_EQ(classify({{"a.c", nullptr}, {"b.o", nullptr}}), "CL");
  comp.output_given = false;
  EXPECT_EQ(classify({{"a.c", nullptr}, {"b.c", nullptr}}), "CC");
  comp.stops_before_link = false;

  comp.inputs.clear();
  comp.inputs.add("a.c", nullptr);
  diagnostic_count(kind_error) = 1;
  EXPECT_TRUE(check_inputs(comp));
  EXPECT_EQ(comp.inputs[0].compiler, nullptr);
}

} // namespace
