// Job-server detection over a MAKEFLAGS value.  The caller reads the
// environment (through the environment manager) and passes the value in.
#include "options/jobserver.h"

#include <climits>
#include <cstring>
#include <fcntl.h>

namespace {

constexpr const char jobserver_word[] = "--jobserver-auth=";
constexpr const char fifo_prefix[] = "fifo:";

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One "%d" conversion: leading white space, optional sign, digits.  A value
// that does not fit an int counts as not read.
bool scan_int(const char *&p, int *out) {
  while (is_space(*p))
    ++p;
  bool negative = false;
  if (*p == '+' || *p == '-')
    negative = *p++ == '-';
  if (*p < '0' || *p > '9')
    return false;
  long long v = 0;
  bool overflow = false;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (!overflow) {
      v = v * 10 + (*p - '0');
      if (v > (long long)INT_MAX + 1)
        overflow = true;
    }
  }
  if (negative)
    v = -v;
  if (overflow || v > INT_MAX || v < INT_MIN)
    return false;
  *out = int(v);
  return true;
}

bool descriptor_open(int fd) { return fcntl(fd, F_GETFD) >= 0; }

const char *find_last(const char *haystack, const char *needle) {
  const char *last = nullptr;
  for (const char *p = std::strstr(haystack, needle); p; p = std::strstr(p + 1, needle))
    last = p;
  return last;
}

}  // namespace

jobserver_state::jobserver_state(const char *makeflags) {
  if (makeflags == nullptr)
    return;
  const char *word = find_last(makeflags, jobserver_word);
  if (word == nullptr)
    return;
  const char *ending = word + sizeof jobserver_word - 1;

  if (std::strncmp(ending, fifo_prefix, sizeof fifo_prefix - 1) == 0) {
    const char *path = ending + sizeof fifo_prefix - 1;
    const char *blank = std::strchr(path, ' ');
    pipe_path.assign(path, blank ? std::size_t(blank - path) : std::strlen(path));
    active = true;
    return;
  }

  const char *p = ending;
  int r = -1, w = -1;
  bool both = scan_int(p, &r) && *p++ == ',' && scan_int(p, &w);
  if (both) {
    read_fd = r;
    write_fd = w;
  } else if (r != -1) {
    read_fd = r;
  }
  if (both && r > 0 && w > 0 && descriptor_open(r) && descriptor_open(w)) {
    active = true;
    return;
  }

  // Unusable: drop the word (up to the next blank) from the flags.
  skipped_makeflags = "MAKEFLAGS=";
  skipped_makeflags.append(makeflags, std::size_t(word - makeflags));
  if (const char *blank = std::strchr(word, ' '))
    skipped_makeflags.append(blank);
}
