// Program search lists of the wrappers.  The wrapper tests check a -B
// directory put in front of PATH.
#include "wrappers/search-list.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "support/scratch-dir-test-support.h"

namespace {

using dirs = std::vector<std::string>;

// A list with its entries' names.
struct owned_list : search_list {
  dirs names() const {
    dirs result;
    for (const search_dir *e = entries; e; e = e->next)
      result.push_back(e->dir);
    return result;
  }
};

std::string take(char *text) {
  std::string s = text ? text : "<none>";
  std::free(text);
  return s;
}

TEST(SearchList, SplittingKeepsOrderAndEmptyElements) {
  struct {
    const char *text;
    dirs want;
  } cases[] = {{":/usr/bin::/bin/", {"./", "/usr/bin/", "./", "/bin/"}},
               {"/opt/tools:", {"/opt/tools/", "./"}},
               {"", {"./"}}};
  for (const auto &c : cases) {
    owned_list list;
    dirs_from_string(c.text, &list);
    EXPECT_EQ(list.names(), c.want) << c.text;
  }
}

TEST(SearchList, LookupSkipsDirectoriesAndFilesLackingPermission) {
  scratch_dir scratch;
  const std::string &root = scratch.root();
  // "one" holds a directory named like the program, "two" a file that may
  // not be executed, "three" the program.
  scratch.dir("one/ar");
  chmod(scratch.file("two/ar").c_str(), 0644);
  scratch.script("three/ar", "");
  owned_list list;
  dirs_from_string((root + "/one:" + root + "/two:" + root + "/three").c_str(), &list);
  EXPECT_EQ(take(find_in_list(&list, "ar", X_OK)), root + "/three/ar");
  // For reading, the plain file in "two" is good enough.
  EXPECT_EQ(take(find_in_list(&list, "ar", R_OK)), root + "/two/ar");
  EXPECT_EQ(find_in_list(&list, "nm", X_OK), nullptr);

  // Absolute names ignore the list; a relative name along an empty list
  // finds nothing.
  owned_list empty;
  EXPECT_EQ(take(find_in_list(&empty, (root + "/three/ar").c_str(), X_OK)), root + "/three/ar");
  EXPECT_EQ(find_in_list(&empty, (root + "/one/missing").c_str(), R_OK), nullptr);
  EXPECT_EQ(find_in_list(&empty, "ar", R_OK), nullptr);
}

} // namespace
