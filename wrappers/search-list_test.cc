// Program search lists of the wrappers.
#include "wrappers/search-list.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "support/scratch-dir-test-support.h"

namespace {

std::vector<std::string> entries(const search_list &list) {
  std::vector<std::string> result;
  for (const search_dir *e = list.entries; e; e = e->next)
    result.push_back(e->dir);
  return result;
}

// The wrappers keep their lists until they end; a test releases its own.
struct owned_list : search_list {
  ~owned_list() {
    for (search_dir *e = entries; e;) {
      search_dir *next = e->next;
      std::free(e->dir);
      std::free(e);
      e = next;
    }
  }
};

std::string take(char *text) {
  std::string s = text ? text : "<none>";
  std::free(text);
  return s;
}

TEST(SearchList, SplittingKeepsEmptyElementsAsCurrentDirectory) {
  owned_list list;
  dirs_from_string(":/usr/bin::/bin/", &list);
  EXPECT_EQ(entries(list), (std::vector<std::string>{"./", "/usr/bin/", "./", "/bin/"}));
  EXPECT_EQ(list.max_len, 9);

  owned_list trailing;
  dirs_from_string("/opt/tools:", &trailing);
  EXPECT_EQ(entries(trailing), (std::vector<std::string>{"/opt/tools/", "./"}));

  owned_list empty_text;
  dirs_from_string("", &empty_text);
  EXPECT_EQ(entries(empty_text), (std::vector<std::string>{"./"}));
}

TEST(SearchList, AppendAndPrependKeepOrderAndLongestLength) {
  owned_list list;
  append_dir(&list, "b/");
  prepend_dir(&list, "a-much-longer/");
  append_dir(&list, "c/");
  EXPECT_EQ(entries(list), (std::vector<std::string>{"a-much-longer/", "b/", "c/"}));
  EXPECT_EQ(list.max_len, 14);

  owned_list front_only;
  prepend_dir(&front_only, "x/");
  append_dir(&front_only, "y/");
  EXPECT_EQ(entries(front_only), (std::vector<std::string>{"x/", "y/"}));
}

TEST(SearchList, EnvironmentVariable) {
  owned_list list;
  unsetenv("VRK_SEARCH_LIST_PROBE");
  dirs_from_env("VRK_SEARCH_LIST_PROBE", &list);
  EXPECT_TRUE(entries(list).empty());
  setenv("VRK_SEARCH_LIST_PROBE", "/p:q", 1);
  dirs_from_env("VRK_SEARCH_LIST_PROBE", &list);
  EXPECT_EQ(entries(list), (std::vector<std::string>{"/p/", "q/"}));
  unsetenv("VRK_SEARCH_LIST_PROBE");
}

class FindInListTest : public ::testing::Test {
protected:
  void make_file(const std::string &relative, mode_t mode) {
    chmod(scratch_.file(relative, "#!/bin/sh\n").c_str(), mode);
  }
  scratch_dir scratch_;
  const std::string &dir_ = scratch_.root();
};

TEST_F(FindInListTest, SkipsDirectoriesAndFilesLackingPermission) {
  // "one" holds a directory named like the program, "two" a file that may
  // not be executed, "three" the program.
  scratch_.dir("one/ar");
  make_file("two/ar", 0644);
  make_file("three/ar", 0755);
  owned_list list;
  dirs_from_string((dir_ + "/one:" + dir_ + "/two:" + dir_ + "/three").c_str(), &list);
  EXPECT_EQ(take(find_in_list(&list, "ar", X_OK)), dir_ + "/three/ar");
  // For reading, the plain file in "two" is good enough.
  EXPECT_EQ(take(find_in_list(&list, "ar", R_OK)), dir_ + "/two/ar");
  EXPECT_EQ(find_in_list(&list, "nm", X_OK), nullptr);
}

TEST_F(FindInListTest, AbsoluteNamesIgnoreTheList) {
  owned_list empty;
  make_file("one/tool", 0755);
  std::string absolute = dir_ + "/one/tool";
  EXPECT_EQ(take(find_in_list(&empty, absolute.c_str(), X_OK)), absolute);
  EXPECT_EQ(find_in_list(&empty, (dir_ + "/one/missing").c_str(), R_OK), nullptr);
  // A relative name along an empty list finds nothing.
  EXPECT_EQ(find_in_list(&empty, "tool", R_OK), nullptr);
}

} // namespace
