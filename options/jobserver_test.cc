// Tests of job-server detection over MAKEFLAGS values, with real pipes for
// the descriptor form.
#include "options/jobserver.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

struct pipe_pair {
  int fds[2] = {-1, -1};
  pipe_pair() { EXPECT_EQ(pipe(fds), 0); }
  ~pipe_pair() {
    for (int fd : fds)
      if (fd >= 0)
        close(fd);
  }
  void close_write() {
    close(fds[1]);
    fds[1] = -1;
  }
};

// A descriptor number that is certainly closed.
int closed_descriptor() {
  int fd = open("/dev/null", O_RDONLY);
  EXPECT_GE(fd, 0);
  close(fd);
  return fd;
}

TEST(jobserver, UnsetOrWithoutWordDoesNothing) {
  jobserver_state none(nullptr);
  EXPECT_FALSE(none.active);
  EXPECT_TRUE(none.skipped_makeflags.empty());
  jobserver_state plain(" -j8 -k");
  EXPECT_FALSE(plain.active);
  EXPECT_TRUE(plain.skipped_makeflags.empty());
  EXPECT_EQ(plain.read_fd, -1);
}

TEST(jobserver, OpenDescriptorPairIsActive) {
  pipe_pair p;
  std::string flags = " -j8 --jobserver-auth=" + std::to_string(p.fds[0]) + "," +
                      std::to_string(p.fds[1]);
  jobserver_state js(flags.c_str());
  EXPECT_TRUE(js.active);
  EXPECT_EQ(js.read_fd, p.fds[0]);
  EXPECT_EQ(js.write_fd, p.fds[1]);
  EXPECT_TRUE(js.skipped_makeflags.empty());
}

TEST(jobserver, ClosedDescriptorRemovesTheWord) {
  pipe_pair p;
  int write_fd = p.fds[1];
  p.close_write();
  std::string flags = " -j8 --jobserver-auth=" + std::to_string(p.fds[0]) + "," +
                      std::to_string(write_fd);
  jobserver_state js(flags.c_str());
  EXPECT_FALSE(js.active);
  EXPECT_EQ(js.skipped_makeflags, "MAKEFLAGS= -j8 ");
}

TEST(jobserver, TextAfterTheWordKeepsItsBlank) {
  int a = closed_descriptor();
  std::string flags = "-j2 --jobserver-auth=" + std::to_string(a) + "," + std::to_string(a) +
                      " -- VAR=1";
  jobserver_state js(flags.c_str());
  EXPECT_FALSE(js.active);
  EXPECT_EQ(js.skipped_makeflags, "MAKEFLAGS=-j2  -- VAR=1");
}

TEST(jobserver, NamedPipeIsTakenWithoutChecking) {
  jobserver_state js("--jobserver-auth=fifo:/tmp/js foo");
  EXPECT_TRUE(js.active);
  EXPECT_EQ(js.pipe_path, "/tmp/js");
  EXPECT_TRUE(js.skipped_makeflags.empty());
  jobserver_state at_end("-j4 --jobserver-auth=fifo:/nonexistent/pipe");
  EXPECT_TRUE(at_end.active);
  EXPECT_EQ(at_end.pipe_path, "/nonexistent/pipe");
}

TEST(jobserver, DescriptorZeroAndMalformedValuesAreUnusable) {
  pipe_pair p;
  std::string zero = "--jobserver-auth=0," + std::to_string(p.fds[1]);
  jobserver_state js(zero.c_str());
  EXPECT_FALSE(js.active);
  EXPECT_EQ(js.skipped_makeflags, "MAKEFLAGS=");

  const char *bad[] = {"--jobserver-auth=", "--jobserver-auth=3", "--jobserver-auth=x,y",
                       "--jobserver-auth=3;4", "--jobserver-auth=-3,-4",
                       "--jobserver-auth=99999999999999999999,4"};
  for (const char *flags : bad) {
    jobserver_state m(flags);
    EXPECT_FALSE(m.active) << flags;
    EXPECT_EQ(m.skipped_makeflags, "MAKEFLAGS=") << flags;
  }
}

TEST(jobserver, OnlyTheLastWordIsExamined) {
  pipe_pair p;
  int closed = closed_descriptor();
  std::string good = std::to_string(p.fds[0]) + "," + std::to_string(p.fds[1]);
  std::string bad = std::to_string(closed) + "," + std::to_string(closed);
  // Usable last word: active, even though the first is not.
  std::string flags1 = "--jobserver-auth=" + bad + " --jobserver-auth=" + good;
  EXPECT_TRUE(jobserver_state(flags1.c_str()).active);
  // Unusable last word: only it is removed; the first stays.
  std::string flags2 = "--jobserver-auth=" + good + " --jobserver-auth=" + bad + " -k";
  jobserver_state js(flags2.c_str());
  EXPECT_FALSE(js.active);
  EXPECT_EQ(js.skipped_makeflags, "MAKEFLAGS=--jobserver-auth=" + good + "  -k");
}

}  // namespace
