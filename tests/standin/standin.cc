// Stand-in for every toolchain program the driver starts (compilers proper,
// assembler, linkers, objcopy) and for the system's ar, nm and ranlib that
// the wrappers start.  The driver tests install this one binary under each
// of those names; it records how it was called and does what the test asks
// of it through environment variables keyed by its own name (basename of
// argv[0]):
//
//   STANDIN_LOG=file          append one record of this invocation to file
//   STANDIN_EXIT_<name>=N     exit with status N (default 0)
//   STANDIN_SIGNAL_<name>=SIG die of signal SIG (SEGV, INT, ... or a number)
//   STANDIN_CORE_<name>=1     allow a core file when dying of a signal
//   STANDIN_STDOUT_<name>=T   write T and a newline on standard output
//   STANDIN_STDERR_<name>=T   write T and a newline on standard error
//   STANDIN_SLEEP_<name>=S    sleep S seconds before exiting
//   STANDIN_SPIN_<name>=MS    use at least MS milliseconds of processor time
//   STANDIN_RUNS_<name>=N:F   count the runs in file F; EXIT and SIGNAL apply
//                             to the first N runs only, later runs succeed
//
// A record looks like
//   program: kfront
//   arg: -quiet
//   arg: @/tmp/list
//   rsp: first word of /tmp/list
//   env: COLLECT_VRK=/.../bin/vrk++
//   end
// and is written with one write() so that the two ends of a pipeline never
// interleave their records.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The variables the driver exports to its children, in its own order.
const char *const exported_variables[] = {
    "VRK_EXEC_PREFIX", "COLLECT_AS_OPTIONS", "COLLECT_VRK",
    "COLLECT_LTO_WRAPPER", "OFFLOAD_TARGET_NAMES", "COLLECT_VRK_OPTIONS",
    "MAKEFLAGS", "COMPILER_PATH", "LIBRARY_PATH", "SOURCE_DATE_EPOCH",
};

std::string program_name;

const char *knob(const char *what) {
  std::string key = std::string("STANDIN_") + what + "_" + program_name;
  return getenv(key.c_str());
}

bool read_fd(int fd, std::string &text) {
  char buf[4096];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
    if (n > 0)
      text.append(buf, n);
  return n == 0;
}

bool read_file(const char *name, std::string &text) {
  int fd = open(name, O_RDONLY);
  if (fd < 0)
    return false;
  bool ok = read_fd(fd, text);
  close(fd);
  return ok;
}

void write_all(int fd, const std::string &text) {
  const char *p = text.data();
  size_t left = text.size();
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return;
    p += n;
    left -= n;
  }
}

// Argument-file syntax: whitespace separates words; a backslash quotes the
// next character; single and double quotes group, each literal inside the
// other; "" is an empty word.
std::vector<std::string> split_words(const std::string &text) {
  std::vector<std::string> words;
  size_t i = 0, n = text.size();
  auto blank = [](char c) { return c && strchr(" \t\n\v\f\r", c); };
  while (true) {
    while (i < n && blank(text[i]))
      i++;
    if (i == n)
      return words;
    std::string word;
    char quote = 0;
    for (; i < n && (quote || !blank(text[i])); i++) {
      char c = text[i];
      if (c == '\\' && i + 1 < n)
        word += text[++i];
      else if (quote && c == quote)
        quote = 0;
      else if (!quote && (c == '\'' || c == '"'))
        quote = c;
      else
        word += c;
    }
    words.push_back(word);
  }
}

int parse_signal(const char *text) {
  if (strncmp(text, "SIG", 3) == 0)
    text += 3;
  for (int sig = 1; sig < NSIG; sig++)
    if (const char *name = sigabbrev_np(sig); name && strcmp(name, text) == 0)
      return sig;
  return atoi(text);
}

// Whether the failure knobs apply to this run: always, unless RUNS limits
// them to the first N runs counted (one byte per run) in its file.
bool failure_applies() {
  const char *runs = knob("RUNS");
  if (!runs)
    return true;
  const char *colon = strchr(runs, ':');
  if (!colon)
    return true;
  std::string counter = colon + 1;
  int fd = open(counter.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0666);
  if (fd >= 0) {
    write_all(fd, "x");
    close(fd);
  }
  struct stat st;
  long seen = stat(counter.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : 0;
  return seen <= atol(runs);
}

// Busy until the process has used MS milliseconds of processor time, so
// that resource-usage reports of the driver have something to show.
void spin(long ms) {
  volatile unsigned long sink = 0;
  for (;;) {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    long used = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000L +
                (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000L;
    if (used >= ms)
      return;
    for (int i = 0; i < 100000; i++)
      sink = sink + i;
  }
}

void die_of_signal(int sig) {
  if (!knob("CORE")) {
    struct rlimit none = {0, 0};
    setrlimit(RLIMIT_CORE, &none);
  }
  // A disposition of "ignore" survives exec; the test wants the signal.
  signal(sig, SIG_DFL);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, sig);
  sigprocmask(SIG_UNBLOCK, &set, nullptr);
  raise(sig);
  _exit(128 + sig);
}

} // namespace

int main(int argc, char **argv) {
  const char *slash = strrchr(argv[0], '/');
  program_name = slash ? slash + 1 : argv[0];

  // The assembler at the end of a pipe reads its input to the end first, so
  // the compiler's record always precedes the assembler's in the log.
  std::string piped;
  struct stat st;
  if (program_name == "as" && fstat(0, &st) == 0 && S_ISFIFO(st.st_mode))
    read_fd(0, piped);

  std::string record = "program: " + program_name + "\n";
  if (!piped.empty())
    record += "stdin: " + std::to_string(piped.size()) + " bytes\n";
  std::vector<std::string> words; // the arguments, response files expanded
  for (int i = 1; i < argc; i++) {
    record += std::string("arg: ") + argv[i] + "\n";
    std::string contents;
    if (argv[i][0] == '@' && read_file(argv[i] + 1, contents)) {
      for (const std::string &w : split_words(contents)) {
        record += "rsp: " + w + "\n";
        words.push_back(w);
      }
    } else {
      words.push_back(argv[i]);
    }
  }
  for (const char *name : exported_variables)
    if (const char *value = getenv(name))
      record += std::string("env: ") + name + "=" + value + "\n";
  record += "end\n";

  if (const char *log = getenv("STANDIN_LOG")) {
    int fd = open(log, O_WRONLY | O_APPEND | O_CREAT, 0666);
    if (fd >= 0) {
      write_all(fd, record);
      close(fd);
    }
  }

  // Produce what the caller expects to find afterwards: the -o file, and
  // the dump that a compiler proper writes for the debug comparison.
  static const char dump_option[] = "-fdump-final-insns=";
  const size_t dump_length = sizeof dump_option - 1;
  std::string output = "standin output of " + program_name + "\n";
  for (size_t i = 0; i < words.size(); i++) {
    const std::string &w = words[i];
    const char *file = nullptr;
    if (w == "-o" && i + 1 < words.size())
      file = words[++i].c_str();
    else if (w.compare(0, dump_length, dump_option) == 0 && w.size() > dump_length)
      file = w.c_str() + dump_length;
    if (!file)
      continue;
    if (strcmp(file, "-") == 0) {
      write_all(1, output);
      continue;
    }
    int fd = open(file, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) {
      fprintf(stderr, "%s: cannot write %s: %s\n", program_name.c_str(), file,
              strerror(errno));
      return 1;
    }
    write_all(fd, output);
    close(fd);
  }

  if (const char *text = knob("STDOUT"))
    write_all(1, std::string(text) + "\n");
  if (const char *text = knob("STDERR"))
    write_all(2, std::string(text) + "\n");
  if (const char *ms = knob("SPIN"))
    spin(atol(ms));
  if (const char *seconds = knob("SLEEP"))
    sleep(atoi(seconds));
  bool fail = failure_applies();
  if (const char *sig = knob("SIGNAL"); sig && fail)
    die_of_signal(parse_signal(sig));
  if (const char *status = knob("EXIT"); status && fail)
    return atoi(status);
  return 0;
}
