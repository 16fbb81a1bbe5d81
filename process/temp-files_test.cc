// Temporary directory choice, private file creation and the deletion
// registry.  The driver tests cover the order of TMPDIR, TMP and TEMP and
// the clean-up of whole runs end to end (temps-cleanup.test), and a name
// the system refuses (fatal-cleanup.test).
#include "process/temp-files.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "diagnostics/diagnostic.h"
#include "support/scratch-dir-test-support.h"

namespace {

bool exists(const std::string &name) { return access(name.c_str(), F_OK) == 0; }

int list_length(const std::atomic<temp_file_entry *> &list) {
  int n = 0;
  for (temp_file_entry *e = list.load(); e; e = e->next)
    ++n;
  return n;
}

class TempFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    diagnostic_initialize("vrk++");
    forget_failure_files();
    end_delete_list.store(nullptr);
  }
  void TearDown() override {
    forget_failure_files();
    end_delete_list.store(nullptr);
    temp_files_verbose = false;
  }
  // Register NAME on the lists asked for (the registry keeps its copies
  // until the process ends).
  static void record(const std::string &name, bool at_end, bool on_failure) {
    register_temp_file(name.c_str(), at_end, on_failure);
  }
  scratch_dir scratch_;
};

TEST_F(TempFilesTest, DirectoryChoiceSkipsUnusableCandidates) {
  auto chosen = [] {
    char *dir = choose_temp_directory();
    std::string s = dir;
    std::free(dir);
    return s;
  };
  // None set: the system directory, written with its own trailing slash
  // and one more.  (The variables stay unset for this test process.)
  for (const char *name : {"TMPDIR", "TMP", "TEMP"})
    unsetenv(name);
  EXPECT_EQ(chosen(), "/tmp//");
  // A directory without write permission is skipped (permission bits do
  // not bind the super-user).
  if (geteuid() != 0) {
    setenv("TMPDIR", scratch_.dir("read-only", 0500).c_str(), 1);
    setenv("TMP", scratch_.dir("ok").c_str(), 1);
    EXPECT_EQ(chosen(), scratch_.path("ok/"));
    unsetenv("TMPDIR");
    unsetenv("TMP");
  }
}

TEST_F(TempFilesTest, CreatedFilesArePrivateAndUnique) {
  const char *dir = temp_directory();
  ASSERT_EQ(dir, temp_directory()); // chosen once
  std::string prefix = std::string(dir) + "cc";
  char *names[] = {create_temp_file(".s"), create_temp_file(".s"), create_temp_file(nullptr)};
  for (char *name : names) {
    std::string s = name;
    bool suffixed = name != names[2];
    ASSERT_EQ(s.size(), prefix.size() + 6 + (suffixed ? 2 : 0));
    EXPECT_EQ(s.substr(0, prefix.size()), prefix);
    EXPECT_EQ(s.substr(prefix.size() + 6), suffixed ? ".s" : "");
    EXPECT_EQ(s.find("XXXXXX"), std::string::npos);
    struct stat st;
    ASSERT_EQ(stat(name, &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
  }
  EXPECT_STRNE(names[0], names[1]);
  for (char *name : names) {
    unlink(name);
    std::free(name);
  }
}

TEST_F(TempFilesTest, RegisteredFilesAreOnTheirListsFromTheStart) {
  char *at_end = create_registered_temp_file(".s", false);
  char *also_on_failure = create_registered_temp_file("", true);
  EXPECT_EQ(list_length(end_delete_list), 2);
  EXPECT_EQ(list_length(failure_delete_list), 1);
  EXPECT_STREQ(failure_delete_list.load()->name, also_on_failure);
  struct stat st;
  ASSERT_EQ(stat(at_end, &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  delete_end_files();
  EXPECT_FALSE(exists(at_end));
  EXPECT_FALSE(exists(also_on_failure));
  std::free(at_end);
  std::free(also_on_failure);
}

TEST_F(TempFilesTest, RegistryListsAndTheirDeletion) {
  std::string earlier = scratch_.file("earlier.s"), later = scratch_.file("later.s");
  std::string end = scratch_.file("end.o");
  // A compilation that succeeded: its failure files are forgotten.
  record(earlier, false, true);
  forget_failure_files();
  EXPECT_EQ(failure_delete_list.load(), nullptr);
  // One that fails.  A name registered twice is kept once per list.
  record(later, true, true);
  record(end, true, false);
  record(end, true, false);
  record(end, false, false); // neither list
  EXPECT_EQ(list_length(end_delete_list), 2);
  EXPECT_EQ(list_length(failure_delete_list), 1);
  EXPECT_EQ(std::string(end_delete_list.load()->name), end) << "newest first";

  delete_failure_files();
  EXPECT_TRUE(exists(earlier));
  EXPECT_FALSE(exists(later));
  EXPECT_TRUE(exists(end));
  EXPECT_EQ(list_length(failure_delete_list), 1) << "kept after deleting";
  delete_end_files();
  EXPECT_FALSE(exists(end));
  EXPECT_EQ(end_delete_list.load(), nullptr);

  // The fatal-signal clean-up deletes both lists and empties the end list.
  std::string a = scratch_.file("a.s"), b = scratch_.file("b.o");
  forget_failure_files();
  record(a, false, true);
  record(b, true, false);
  delete_temp_files_on_signal();
  EXPECT_FALSE(exists(a));
  EXPECT_FALSE(exists(b));
  EXPECT_EQ(end_delete_list.load(), nullptr);
  EXPECT_EQ(list_length(failure_delete_list), 1);
}

TEST_F(TempFilesTest, OnlyRegularFilesAreDeletedAndFailuresReportedWhenVerbose) {
  std::string d = scratch_.dir("became-a-directory");
  record(d, true, true);
  record(scratch_.path("never-made"), true, false);
  int errors_before = diagnostic_count(kind_error);
  temp_files_verbose = true;
  delete_failure_files();
  delete_end_files();
  EXPECT_TRUE(exists(d));
  // Neither a directory nor a missing file is worth a message.
  EXPECT_EQ(diagnostic_count(kind_error), errors_before);

  if (geteuid() == 0)
    return; // permission bits do not bind the super-user
  std::string f = scratch_.file("locked/f.o");
  chmod(scratch_.path("locked").c_str(), 0500);
  temp_files_verbose = false;
  delete_regular_file(f.c_str());
  EXPECT_EQ(diagnostic_count(kind_error), errors_before);
  temp_files_verbose = true;
  testing::internal::CaptureStderr();
  delete_regular_file(f.c_str());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "vrk++: error: " + f + ": " + std::strerror(EACCES) + "\n");
  EXPECT_EQ(diagnostic_count(kind_error), errors_before + 1);
  EXPECT_TRUE(exists(f));
}

} // namespace
