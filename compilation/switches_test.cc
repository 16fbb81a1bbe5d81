#include "compilation/switches.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void save(switch_list &list, const char *text, const char *argument = nullptr) {
  const char *args[] = {argument};
  list.save(text, argument ? 1 : 0, args, false, true);
}

using indices = std::vector<int>;

TEST(switch_list_test, IndexAnswersInCommandLineOrderAndStaysCurrent) {
  switch_list list;
  for (const char *text : {"-Wall", "-O2", "-Wno-all", "-W", "-Wall"})
    save(list, text);
  EXPECT_EQ(list.named("W", 1, false), (indices{0, 2, 3, 4}));
  EXPECT_EQ(list.named("Wall", 4, true), (indices{0, 4}));
  EXPECT_EQ(list.named("W", 1, true), (indices{3}));
  EXPECT_EQ(list.named("Wal", 3, true), indices{});
  EXPECT_EQ(list.named("", 0, false), (indices{0, 1, 2, 3, 4}));
  EXPECT_TRUE(list.named_after(0, 'W', "all"));
  EXPECT_FALSE(list.named_after(4, 'W', "all"));
  EXPECT_EQ(list.last_with_lead('O'), 1);
  EXPECT_EQ(list.last_with_lead('x'), -1);

  // Entries saved after the first question are found too, and a copy
  // keeps its own index.
  save(list, "-Wextra");
  list.push("O0");
  switch_list copy = list;
  save(list, "-Wa");
  EXPECT_EQ(list.named("Wa", 2, false), (indices{0, 4, 7}));
  EXPECT_EQ(copy.named("Wa", 2, false), (indices{0, 4}));
  EXPECT_EQ(list.last_with_lead('O'), 6);
  EXPECT_TRUE(list.named_after(1, 'O', "0"));

  list.clear();
  EXPECT_EQ(list.named("W", 1, false), indices{});
  EXPECT_EQ(list.last_with_lead('W'), -1);
  save(list, "-Wall");
  EXPECT_EQ(list.named("W", 1, false), indices{0});
}

TEST(switch_list_test, TwoWordDefinitionsAreFoundByArgument) {
  switch_list list;
  save(list, "-D", "FOO=1");
  save(list, "-DFOO");
  save(list, "-U", "FOO");
  save(list, "-D", "FO");
  EXPECT_EQ(list.named_by_argument('D', "FOO", 3, false), indices{0});
  EXPECT_EQ(list.named_by_argument('D', "FO", 2, false), (indices{0, 3}));
  EXPECT_EQ(list.named_by_argument('D', "FO", 2, true), indices{3});
  EXPECT_EQ(list.named_by_argument('U', "", 0, false), indices{2});
  EXPECT_EQ(list.named("DFOO", 4, true), indices{1});
}

} // namespace
