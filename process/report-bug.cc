// The -freport-bug reproduction procedure: three reruns of a crashed
// compiler with deterministic settings and its output on standard output;
// when all three crash alike, the third run's preprocessed source is kept
// with the error output and the command line as comments.
#include "process/report-bug.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "diagnostics/diagnostic.h"
#include "process/execute.h"
#include "process/pex.h"
#include "process/temp-files.h"

namespace {

constexpr int attempt_count = 3;
constexpr int internal_error_status = 4;

// Run ARGV alone with its standard output and error going to the named
// files.  The raw wait status, or -1 when it could not be read.  A child
// that cannot be started ends the run, except in the final run, where it
// only means that no preprocessed source is kept.
int run_attempt(const std::vector<const char *> &argv, const char *out_name,
                const char *err_name, bool append, bool final_run = false) {
  pex_pipeline *pex = pex_create(PEX_WITH_PIPES, argv[0], nullptr);
  int flags = PEX_LAST_STAGE | PEX_SEARCH_PATH;
  if (append)
    flags |= PEX_APPEND_STDOUT | PEX_APPEND_STDERR;
  int err = 0;
  const char *failure = pex_run_stage(pex, flags, argv[0], const_cast<char *const *>(argv.data()),
                                      out_name, err_name, &err);
  if (failure) {
    if (!final_run)
      fatal_cannot_execute(argv[0], failure, err);
    pex_destroy(pex);
    return -1;
  }
  int status = 0;
  if (!pex_get_status(pex, 1, &status))
    status = -1;
  pex_destroy(pex);
  return status;
}

bool crashed_again(int status) {
  return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == internal_error_status;
}

bool succeeded(int status) {
  // A child killed by a signal has a small status word too; it did not
  // produce a complete preprocessed file.
  return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void append_banner(const char *name, void (*print_version_banner)(std::FILE *)) {
  std::FILE *f = std::fopen(name, "a");
  if (!f)
    return;
  if (print_version_banner)
    print_version_banner(f);
  std::fputc('\n', f);
  std::fclose(f);
}

// Replace OUT_NAME by the lines of ERR_NAME as "// " comments followed by
// the command line ARGV as a comment.  False when a file cannot be used.
bool write_comment_header(const char *err_name, const char *out_name,
                          const std::vector<const char *> &argv) {
  std::FILE *in = std::fopen(err_name, "r");
  if (!in)
    return false;
  std::FILE *out = std::fopen(out_name, "w");
  if (!out) {
    std::fclose(in);
    return false;
  }
  char piece[256];
  bool at_line_start = true;
  while (std::fgets(piece, sizeof piece, in)) {
    if (at_line_start)
      std::fputs("// ", out);
    std::fputs(piece, out);
    std::size_t len = std::strlen(piece);
    at_line_start = len > 0 && piece[len - 1] == '\n';
  }
  std::fclose(in);
  std::fputs("\n//", out);
  for (const char *word : argv)
    if (word) {
      std::fputc(' ', out);
      std::fputs(word, out);
    }
  std::fputs("\n\n", out);
  return std::fclose(out) == 0;
}

}  // namespace

bool files_identical(const char *a, const char *b) {
  struct stat sa, sb;
  if (stat(a, &sa) != 0 || stat(b, &sb) != 0 || sa.st_size != sb.st_size)
    return false;
  int fa = open(a, O_RDONLY);
  if (fa < 0)
    return false;
  int fb = open(b, O_RDONLY);
  if (fb < 0) {
    close(fa);
    return false;
  }
  bool same = true;
  char ba[4096], bb[4096];
  for (;;) {
    ssize_t na = read(fa, ba, sizeof ba);
    ssize_t nb = read(fb, bb, sizeof bb);
    if (na < 0 || nb < 0 || na != nb || std::memcmp(ba, bb, static_cast<std::size_t>(na)) != 0) {
      same = false;
      break;
    }
    if (na == 0)
      break;
  }
  close(fa);
  close(fb);
  return same;
}

void try_generate_repro(const char *const *argv, const char *current_input,
                        void (*print_version_banner)(std::FILE *)) {
  if (!current_input || std::strcmp(current_input, "-") == 0)
    return;

  std::vector<const char *> args;
  int out_arg = -1;
  bool quiet = false;
  for (int i = 0; argv[i]; ++i) {
    const char *w = argv[i];
    // Preprocessor crashes and timing output are not reproducible alike.
    if (std::strcmp(w, "-E") == 0 || std::strcmp(w, "-ftime-report") == 0)
      return;
    if (w[0] == '-' && w[1] == 'o') {
      if (out_arg != -1)
        return;
      out_arg = i;
    } else if (std::strcmp(w, "-quiet") == 0) {
      quiet = true;
    }
    args.push_back(w);
  }
  if (out_arg == -1 || !quiet)
    return;
  std::size_t out_index = static_cast<std::size_t>(out_arg);
  if (std::strlen(args[out_index]) > 2) {
    args[out_index] = "-o-";
  } else {
    // A separate "-o" must have its file name after it.
    if (out_index + 1 >= args.size())
      return;
    args[out_index + 1] = "-";
  }
  args.push_back("-frandom-seed=0");
  args.push_back("-fdump-noaddr");
  args.push_back(nullptr);

  char *out_names[attempt_count] = {};
  char *err_names[attempt_count] = {};
  bool reproducible = true;
  for (int k = 0; k < attempt_count; ++k) {
    out_names[k] = create_temp_file(".out");
    err_names[k] = create_temp_file(".err");
    bool last = k == attempt_count - 1;
    if (last)
      append_banner(err_names[k], print_version_banner);
    if (!crashed_again(run_attempt(args, out_names[k], err_names[k], last))) {
      reproducible = false;
      break;
    }
  }
  if (reproducible && (!files_identical(out_names[0], out_names[1]) ||
                       !files_identical(err_names[0], err_names[1])))
    reproducible = false;

  const char *kept = nullptr;
  if (!reproducible) {
    notice_text(stderr, "The bug is not reproducible, so it is likely a hardware or OS problem.\n");
  } else {
    char *out = out_names[attempt_count - 1];
    char *err = err_names[attempt_count - 1];
    if (write_comment_header(err, out, args)) {
      args.back() = "-E";
      args.push_back(nullptr);
      if (succeeded(run_attempt(args, out, err, true, true))) {
        notice_text(stderr,
                    "Preprocessed source stored into %s file, please attach this to your "
                    "bugreport.\n",
                    out);
        kept = out;
      }
    }
  }

  for (int k = 0; k < attempt_count; ++k) {
    if (out_names[k] && out_names[k] != kept)
      unlink(out_names[k]);
    if (err_names[k])
      unlink(err_names[k]);
    std::free(out_names[k]);
    std::free(err_names[k]);
  }
}
