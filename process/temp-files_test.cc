// Temporary directory choice, private file creation and the deletion
// registry.
#include "process/temp-files.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "diagnostics/diagnostic.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define VRK_LSAN 1
#endif
#endif

namespace {

// The registry never releases its entries (the process ends soon after
// the lists are emptied); keep the leak checker from counting them.
void record(const std::string &name, bool at_end, bool on_failure) {
#ifdef VRK_LSAN
  __lsan::ScopedDisabler keep;
#endif
  register_temp_file(name.c_str(), at_end, on_failure);
}

bool exists(const std::string &name) {
  struct stat st;
  return lstat(name.c_str(), &st) == 0;
}

void touch(const std::string &name) { std::ofstream(name) << "x"; }

int list_length(const std::atomic<temp_file_entry *> &list) {
  int n = 0;
  for (temp_file_entry *e = list.load(); e; e = e->next)
    ++n;
  return n;
}

class TempFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    char templ[] = "/tmp/vrk-temp-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
    forget_failure_files();
    end_delete_list.store(nullptr);
    for (const char *var : {"TMPDIR", "TMP", "TEMP"}) {
      const char *value = std::getenv(var);
      saved_env_.push_back(value ? std::string(value) : std::string("\x01"));
    }
  }
  void TearDown() override {
    const char *vars[] = {"TMPDIR", "TMP", "TEMP"};
    for (int i = 0; i < 3; ++i) {
      if (saved_env_[i] == "\x01")
        unsetenv(vars[i]);
      else
        setenv(vars[i], saved_env_[i].c_str(), 1);
    }
    forget_failure_files();
    end_delete_list.store(nullptr);
    temp_files_verbose = false;
    std::string cmd = "chmod -R u+rwx '" + dir_ + "'; rm -rf '" + dir_ + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }

  std::string path(const char *name) const { return dir_ + "/" + name; }

  std::string dir_;
  std::vector<std::string> saved_env_;
};

TEST_F(TempFilesTest, DirectoryComesFromTheFirstUsableVariable) {
  std::string a = path("a"), b = path("b");
  mkdir(a.c_str(), 0700);
  mkdir(b.c_str(), 0700);
  setenv("TMPDIR", a.c_str(), 1);
  setenv("TMP", b.c_str(), 1);
  char *chosen = choose_temp_directory();
  EXPECT_EQ(std::string(chosen), a + "/");
  std::free(chosen);

  // A plain file is not a directory: the next candidate is taken.
  std::string file = path("file");
  touch(file);
  setenv("TMPDIR", file.c_str(), 1);
  chosen = choose_temp_directory();
  EXPECT_EQ(std::string(chosen), b + "/");
  std::free(chosen);

  // Missing and empty values are skipped as well.
  setenv("TMPDIR", path("missing").c_str(), 1);
  setenv("TMP", "", 1);
  setenv("TEMP", a.c_str(), 1);
  chosen = choose_temp_directory();
  EXPECT_EQ(std::string(chosen), a + "/");
  std::free(chosen);

  // With no variable the system directory is used, written with its own
  // trailing slash and one more.
  unsetenv("TMPDIR");
  unsetenv("TMP");
  unsetenv("TEMP");
  chosen = choose_temp_directory();
  EXPECT_STREQ(chosen, "/tmp//");
  std::free(chosen);
}

TEST_F(TempFilesTest, DirectoryWithoutWritePermissionIsSkipped) {
  if (geteuid() == 0)
    GTEST_SKIP() << "permission bits do not bind the super-user";
  std::string ro = path("ro"), ok = path("ok");
  mkdir(ro.c_str(), 0500);
  mkdir(ok.c_str(), 0700);
  setenv("TMPDIR", ro.c_str(), 1);
  setenv("TMP", ok.c_str(), 1);
  char *chosen = choose_temp_directory();
  EXPECT_EQ(std::string(chosen), ok + "/");
  std::free(chosen);
}

TEST_F(TempFilesTest, CreatedFilesArePrivateAndUnique) {
  const char *dir = temp_directory();
  ASSERT_EQ(dir, temp_directory());  // chosen once
  char *one = create_temp_file(".s");
  char *two = create_temp_file(".s");
  char *bare = create_temp_file(nullptr);
  std::string prefix = std::string(dir) + "cc";
  for (char *name : {one, two}) {
    std::string s = name;
    ASSERT_EQ(s.size(), prefix.size() + 6 + 2);
    EXPECT_EQ(s.compare(0, prefix.size(), prefix), 0);
    EXPECT_EQ(s.substr(s.size() - 2), ".s");
    EXPECT_EQ(s.find("XXXXXX"), std::string::npos);
    struct stat st;
    ASSERT_EQ(stat(name, &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(st.st_size, 0);
  }
  EXPECT_STRNE(one, two);
  EXPECT_EQ(std::strlen(bare), prefix.size() + 6);
  for (char *name : {one, two, bare}) {
    unlink(name);
    std::free(name);
  }
}

TEST_F(TempFilesTest, EndFilesAreDeletedOnceAndTheListEmptied) {
  std::string f = path("f.o");
  touch(f);
  record(f, true, false);
  record(f, true, false);
  EXPECT_EQ(list_length(end_delete_list), 1);
  EXPECT_EQ(list_length(failure_delete_list), 0);
  delete_end_files();
  EXPECT_FALSE(exists(f));
  EXPECT_EQ(end_delete_list.load(), nullptr);

  // Registering with neither flag records nothing.
  register_temp_file(f.c_str(), false, false);  // nothing to keep, nothing allocated
  EXPECT_EQ(end_delete_list.load(), nullptr);
  EXPECT_EQ(failure_delete_list.load(), nullptr);
}

TEST_F(TempFilesTest, OnlyRegularFilesAreDeleted) {
  std::string d = path("became-a-directory");
  std::string missing = path("never-made");
  mkdir(d.c_str(), 0700);
  record(d, true, true);
  record(missing, true, false);
  int errors_before = diagnostic_count(kind_error);
  temp_files_verbose = true;
  delete_failure_files();
  delete_end_files();
  EXPECT_TRUE(exists(d));
  // Neither a directory nor a missing file is worth a message.
  EXPECT_EQ(diagnostic_count(kind_error), errors_before);
}

TEST_F(TempFilesTest, FailureFilesOfEarlierCompilationsSurvive) {
  std::string earlier = path("earlier.s"), later = path("later.s"), end = path("end.o");
  touch(earlier);
  touch(later);
  touch(end);
  // The first compilation succeeds: its failure files are forgotten.
  record(earlier, false, true);
  forget_failure_files();
  EXPECT_EQ(failure_delete_list.load(), nullptr);
  // The second one fails.
  record(later, true, true);
  record(end, true, false);
  delete_failure_files();
  EXPECT_TRUE(exists(earlier));
  EXPECT_FALSE(exists(later));
  EXPECT_TRUE(exists(end));
  // The failure list is kept after deleting.
  EXPECT_EQ(list_length(failure_delete_list), 1);
  delete_end_files();
  EXPECT_FALSE(exists(end));
}

TEST_F(TempFilesTest, SignalCleanupDeletesBothListsQuietly) {
  std::string a = path("a.s"), b = path("b.o");
  touch(a);
  touch(b);
  record(a, false, true);
  record(b, true, false);
  // Newest first.
  record(path("c"), true, false);
  EXPECT_EQ(std::string(end_delete_list.load()->name), path("c"));
  delete_temp_files_on_signal();
  EXPECT_FALSE(exists(a));
  EXPECT_FALSE(exists(b));
  EXPECT_EQ(end_delete_list.load(), nullptr);
  EXPECT_EQ(list_length(failure_delete_list), 1);
}

TEST_F(TempFilesTest, UndeletableFileIsReportedOnlyWhenVerbose) {
  if (geteuid() == 0)
    GTEST_SKIP() << "permission bits do not bind the super-user";
  std::string locked = path("locked");
  mkdir(locked.c_str(), 0700);
  std::string f = locked + "/f.o";
  touch(f);
  chmod(locked.c_str(), 0500);
  int errors_before = diagnostic_count(kind_error);
  delete_regular_file(f.c_str());
  EXPECT_EQ(diagnostic_count(kind_error), errors_before);
  temp_files_verbose = true;
  testing::internal::CaptureStderr();
  delete_regular_file(f.c_str());
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(diagnostic_count(kind_error), errors_before + 1);
  EXPECT_NE(said.find(f), std::string::npos);
  EXPECT_TRUE(exists(f));
}

} // namespace
