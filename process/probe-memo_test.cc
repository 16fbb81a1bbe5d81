// Remembered probes: every answer is kept for the run, and a directory
// found missing answers for the files in it.
#include "process/probe-memo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(ProbeMemo, AnswersAreKeptAndAMissingDirectoryHoldsNoFiles) {
  std::string root = ::testing::TempDir() + "probe-memo-XXXXXX";
  ASSERT_NE(mkdtemp(root.data()), nullptr);
  std::string dir = root + "/d/", file = dir + "f";

  probe_memo memo;
  EXPECT_FALSE(memo.directory(dir.c_str()));
  ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
  std::fclose(std::fopen(file.c_str(), "w"));
  // The installation is taken not to change during a run.
  EXPECT_FALSE(memo.directory(dir.c_str()));
  EXPECT_FALSE(memo.accessible(file.c_str(), R_OK));

  probe_memo fresh;
  EXPECT_TRUE(fresh.accessible(file.c_str(), R_OK));
  EXPECT_TRUE(fresh.usable_file(file.c_str(), R_OK));
  EXPECT_FALSE(fresh.usable_file(file.c_str(), X_OK));
  EXPECT_TRUE(fresh.directory(dir.c_str()));
  // A file is no directory, and holds nothing.
  EXPECT_FALSE(fresh.directory((file + "/").c_str()));
  EXPECT_FALSE(fresh.accessible((file + "/x").c_str(), F_OK));
  std::remove(file.c_str());
  EXPECT_TRUE(fresh.accessible(file.c_str(), R_OK));

  rmdir(dir.c_str());
  rmdir(root.c_str());
}

} // namespace
