// The compilers table lookup and the classification of inputs before
// anything runs: which row each name or language finds and which inputs go
// to the linker.
#include "driver/compilers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "driver/driver-state.h"
#include "driver/switches.h"

namespace {

class Compilers : public testing::Test {
protected:
  void SetUp() override {
    diagnostic_initialize("vrk");
    diagnostic_count(kind_error) = 0;
    init_compilers_table();
    saved_inputs_ = input_entries;
    saved_input_count_ = input_count;
  }
  void TearDown() override {
    diagnostic_count(kind_error) = 0;
    init_compilers_table();
    input_entries = saved_inputs_;
    input_count = saved_input_count_;
  }

  input_entry *saved_inputs_ = nullptr;
  int saved_input_count_ = 0;

  // The key of the row found for NAME (and LANGUAGE), "none" for none.
  static std::string key_for(const char *name, const char *language = nullptr) {
    const compiler_entry *row = lookup_compiler(name, std::strlen(name), language);
    return row ? row->key : "none";
  }
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
  add_compiler(".c", "@assembler");
  add_compiler(".zz", "@*");
  add_compiler(".yy", "@nowhere");
  EXPECT_EQ(key_for("a.c"), "@assembler");
  EXPECT_EQ(key_for("a.zz"), "none");
  EXPECT_EQ(diagnostic_count(kind_error), 1);
  EXPECT_EQ(key_for("a.yy"), "none");
  EXPECT_EQ(diagnostic_count(kind_error), 2);

  // A header from standard input is fine when only preprocessing (the
  // driver tests check the fatal error otherwise).
  preprocess_only_given = true;
  EXPECT_EQ(key_for("-", "c-header"), "@c-header");
  preprocess_only_given = false;
}

// check_inputs over INPUTS (name, language); the explicit-link flags.
std::string classify(std::vector<std::pair<const char *, const char *>> inputs) {
  static std::vector<input_entry> storage;
  storage.clear();
  diagnostic_count(kind_error) = 0;
  for (const auto &[name, language] : inputs)
    storage.push_back({name, language, nullptr, true, true});
  storage.push_back({});
  input_entries = storage.data();
  input_count = static_cast<int>(inputs.size());
  EXPECT_FALSE(check_inputs());
  std::string flags;
  for (int i = 0; i < input_count; i++) {
    flags += explicit_link_files[std::size_t(i)] ? 'L' : (input_entries[i].compiler ? 'C' : '-');
    EXPECT_FALSE(input_entries[i].compiled);
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
  output_given = stops_before_link = true;
  EXPECT_EQ(classify({{"a.c", nullptr}, {"b.o", nullptr}}), "CL");
  output_given = false;
  EXPECT_EQ(classify({{"a.c", nullptr}, {"b.c", nullptr}}), "CC");
  stops_before_link = false;

  static input_entry one[] = {{"a.c", nullptr, nullptr, false, false}, {}};
  input_entries = one;
  input_count = 1;
  diagnostic_count(kind_error) = 1;
  EXPECT_TRUE(check_inputs());
  EXPECT_EQ(one[0].compiler, nullptr);
}

} // namespace
