// Tests of job-server detection over MAKEFLAGS values, with real pipes for
// the descriptor form.
#include "options/jobserver.h"

#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace {

TEST(jobserver, ValuesWithoutUsableDescriptors) {
  struct {
    const char *flags;
    bool active;
    const char *skipped, *pipe_path;
  } cases[] = {
      {nullptr, false, "", ""},
      {" -j8 -k", false, "", ""},
      {"--jobserver-auth=fifo:/tmp/js foo", true, "", "/tmp/js"},
      {"-j4 --jobserver-auth=fifo:/nonexistent/pipe", true, "", "/nonexistent/pipe"},
      // Malformed descriptor pairs: the word goes, blanks around it stay.
      {"--jobserver-auth=", false, "MAKEFLAGS=", ""},
      {"--jobserver-auth=3", false, "MAKEFLAGS=", ""},
      {"--jobserver-auth=3;4", false, "MAKEFLAGS=", ""},
      {"--jobserver-auth=-3,-4", false, "MAKEFLAGS=", ""},
      {"--jobserver-auth=99999999999999999999,4", false, "MAKEFLAGS=", ""},
      {"-j2 --jobserver-auth=0,1 -- VAR=1", false, "MAKEFLAGS=-j2  -- VAR=1", ""},
  };
  for (auto &c : cases) {
    jobserver_state js(c.flags);
    const char *name = c.flags ? c.flags : "(unset)";
    EXPECT_EQ(js.active, c.active) << name;
    EXPECT_EQ(js.skipped_makeflags, c.skipped) << name;
    EXPECT_EQ(js.pipe_path, c.pipe_path) << name;
  }
}

TEST(jobserver, DescriptorsMustBeOpen) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  std::string open_pair = std::to_string(fds[0]) + "," + std::to_string(fds[1]);
  std::string flags = " -j8 --jobserver-auth=" + open_pair;
  jobserver_state js(flags.c_str());
  EXPECT_TRUE(js.active);
  EXPECT_EQ(js.read_fd, fds[0]);
  EXPECT_EQ(js.write_fd, fds[1]);
  EXPECT_TRUE(js.skipped_makeflags.empty());

  // Only the last word counts: it is removed when unusable, the first
  // stays in the cleaned value; an unusable earlier one does not matter.
  std::string later_bad = "--jobserver-auth=" + open_pair + " --jobserver-auth=" +
                          std::to_string(fds[0]) + ",999 -k";
  jobserver_state bad(later_bad.c_str());
  EXPECT_FALSE(bad.active);
  EXPECT_EQ(bad.skipped_makeflags, "MAKEFLAGS=--jobserver-auth=" + open_pair + "  -k");
  std::string later_good = "--jobserver-auth=998,999 -j4 --jobserver-auth=" + open_pair;
  EXPECT_TRUE(jobserver_state(later_good.c_str()).active);

  close(fds[1]);
  jobserver_state closed(flags.c_str());
  EXPECT_FALSE(closed.active);
  EXPECT_EQ(closed.skipped_makeflags, "MAKEFLAGS= -j8 ");
  close(fds[0]);
}

}  // namespace
