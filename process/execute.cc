// Command execution: one command group from the spec interpreter, run as a
// pipeline of children through the process-execution library.
#include "process/execute.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>

#include "diagnostics/diagnostic.h"
#include "process/pex.h"
#include "process/prefixes.h"
#include "process/report-bug.h"
#include "support/char-table.h"
#include "support/text-area.h"

namespace {

// One command of the group: the program name as written in the buffer and
// its argument vector (argv[0] is the resolved path when one was found).
struct command {
  const char *prog;
  std::vector<const char *> argv;  // null-terminated
};

// The characters a -### word may hold without quotes; the listing of a
// build's every command goes through this test.
constexpr char_table plain_word_chars("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                      "0123456789_-./");

bool needs_timing_quotes(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' ||
         c == '"' || c == '$' || c == '\\';
}

// The listing is built in a text area, whose appends are inline: it holds
// every word of every command.  The std::string forms below are for the
// timing report and the tests.
struct string_output {
  std::string &text;
  void append(const char *p, std::size_t n) { text.append(p, n); }
  void append_char(char c) { text += c; }
};

template <class Out> void put_quoted(Out &out, const char *word) {
  out.append_char('"');
  // Runs that need no backslash are copied whole.
  for (const char *p = word;;) {
    std::size_t run = std::strcspn(p, "\"$\\");
    out.append(p, run);
    p += run;
    if (!*p)
      break;
    out.append_char('\\');
    out.append_char(*p++);
  }
  out.append_char('"');
}

template <class Out> void put_dry_run_word(Out &out, const char *word) {
  if (*word == '\0') {
    out.append("\"\"", 2);
    return;
  }
  const char *p = word;
  while (plain_word_chars(*p))
    ++p;
  if (*p)
    put_quoted(out, word);
  else
    out.append(word, static_cast<std::size_t>(p - word));
}

void append_quoted(std::string &out, const char *word) {
  string_output to{out};
  put_quoted(to, word);
}

// The -v / -### listing of the group, written with one call.
void echo_commands(const std::vector<command> &commands, const execute_context &ctx) {
  // Process-wide: one buffer for every group's listing, grown once.
  static text_area text;
  text.clear();
  if (ctx.help_requested)
    text.append_char('\n');
  for (std::size_t i = 0; i < commands.size(); ++i) {
    for (const char *const *w = commands[i].argv.data(); *w; ++w) {
      text.append_char(' ');
      if (ctx.dry_run)
        put_dry_run_word(text, *w);
      else if (**w == '\0')
        text.append("\"\"", 2);
      else
        text.append(*w);
    }
    if (i + 1 < commands.size())
      text.append(" |\n", 3);
    else
      text.append_char('\n');
  }
  std::fwrite(text.base(), 1, text.length(), stderr);
  // Out before the commands' own output; a listing alone (-###) may stay
  // in its buffer.
  if (!ctx.dry_run)
    std::fflush(stderr);
}

void report_times(const command &cmd, const pex_times &t, const execute_context &ctx) {
  double user = static_cast<double>(t.user_sec) + static_cast<double>(t.user_usec) / 1.0e6;
  double sys = static_cast<double>(t.sys_sec) + static_cast<double>(t.sys_usec) / 1.0e6;
  if (user + sys == 0)
    return;
  if (ctx.report_times)
    notice_text(stderr, "# %s %.2f %.2f\n", cmd.prog, user, sys);
  if (ctx.timing_report_file) {
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%g %g", user, sys);
    std::string line = numbers;
    line += ' ';
    append_timing_word(line, cmd.prog);
    for (std::size_t j = 1; cmd.argv[j]; ++j) {
      line += ' ';
      append_timing_word(line, cmd.argv[j]);
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), ctx.timing_report_file);
    std::fflush(ctx.timing_report_file);
  }
}

// Whether PATH names a compiler proper ("kfront..." as its last component
// after some "/"): only those get the reproduction procedure.
bool is_compiler_proper(const char *path) {
  const char *slash = std::strrchr(path, '/');
  return slash && std::strncmp(slash + 1, "kfront", 6) == 0;
}

}  // namespace

std::vector<std::string> split_wrapper_words(const char *text) {
  std::vector<std::string> words;
  const char *start = text;
  for (;;) {
    const char *comma = std::strchr(start, ',');
    if (!comma) {
      // The last piece stays even when empty.
      words.emplace_back(start);
      return words;
    }
    if (comma != start)
      words.emplace_back(start, static_cast<std::size_t>(comma - start));
    start = comma + 1;
  }
}

void append_dry_run_word(std::string &out, const char *word) {
  string_output to{out};
  put_dry_run_word(to, word);
}

void append_timing_word(std::string &out, const char *word) {
  for (const char *p = word; *p; ++p)
    if (needs_timing_quotes(static_cast<unsigned char>(*p))) {
      append_quoted(out, word);
      return;
    }
  out += word;
}

void fatal_cannot_execute(const char *program, const char *failure, int err) {
  errno = err;
  if (err != 0)
    fatal_error(UNKNOWN_LOCATION, "cannot execute %qs: %s: %m", program, failure);
  fatal_error(UNKNOWN_LOCATION, "cannot execute %qs: %s", program, failure);
}

namespace {

// The statuses of the finished group: 0 when every child succeeded, -1
// otherwise.  A child killed by an interrupt or an unexpected signal ends
// the driver; a compiler proper's internal error may be reproduced.
int judge_statuses(const std::vector<command> &commands, const std::vector<int> &statuses,
                   const std::vector<pex_times> &times, const execute_context &ctx) {
  bool timed = !times.empty();
  int n = static_cast<int>(commands.size());
  int result = 0;
  for (int i = 0; i < n; ++i) {
    const command &c = commands[static_cast<std::size_t>(i)];
    int status = statuses[static_cast<std::size_t>(i)];
    if (WIFSTOPPED(status) || WIFCONTINUED(status)) {
      // Not an end of the child.
    } else if (WIFSIGNALED(status)) {
      int sig = WTERMSIG(status);
      switch (sig) {
      case SIGPIPE:
        // Fallout of another stage of a pipeline dying; no message.
        if (ctx.signalled_children)
          ++*ctx.signalled_children;
        result = -1;
        break;
      case SIGINT:
      case SIGQUIT:
      case SIGKILL:
      case SIGTERM:
        // TRANSLATORS: the system's description of the signal, then the
        // program's name.
        fatal_error(UNKNOWN_LOCATION, "%s signal terminated program %s", strsignal(sig), c.prog);
      default:
        internal_error_no_backtrace("%s signal terminated program %s", strsignal(sig), c.prog);
      }
    } else if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
      int code = WEXITSTATUS(status);
      if (ctx.report_bug && i == 0 && code == 4 && is_compiler_proper(c.argv[0]))
        try_generate_repro(c.argv.data(), ctx.current_input, ctx.print_version_banner);
      if (ctx.worst_exit_status && code > *ctx.worst_exit_status)
        *ctx.worst_exit_status = code;
      result = -1;
    }
    if (timed)
      report_times(c, times[static_cast<std::size_t>(i)], ctx);
  }
  return result;
}

} // namespace

int execute(const std::vector<const char *> &words, const execute_context &ctx) {
  vrk_assert(!words.empty());
  std::vector<const char *> buffer;
  std::vector<char *> owned;  // resolved paths, released on return
  std::vector<std::string> wrapper_words;

  auto resolve = [&owned, &ctx](const char *name) -> const char * {
    char *path = ctx.programs ? ctx.programs->find_program(name) : nullptr;
    if (!path)
      return name;
    owned.push_back(path);
    return path;
  };

  if (ctx.wrapper) {
    wrapper_words = split_wrapper_words(ctx.wrapper);
    buffer.reserve(words.size() + wrapper_words.size() + 1);
    for (const std::string &w : wrapper_words)
      buffer.push_back(w.c_str());
    buffer.push_back(resolve(words[0]));
    buffer.insert(buffer.end(), words.begin() + 1, words.end());
  } else {
    buffer = words;
  }

  // Split at the "|" words.  The wrapper program itself is not resolved:
  // it is found along PATH.
  std::vector<command> commands;
  commands.push_back({buffer[0], {}});
  if (!ctx.wrapper)
    commands.back().argv.push_back(resolve(buffer[0]));
  else
    commands.back().argv.push_back(buffer[0]);
  for (std::size_t i = 1; i < buffer.size(); ++i) {
    if (std::strcmp(buffer[i], "|") == 0 && i + 1 < buffer.size()) {
      commands.back().argv.push_back(nullptr);
      ++i;
      commands.push_back({buffer[i], {resolve(buffer[i])}});
    } else {
      commands.back().argv.push_back(buffer[i]);
    }
  }
  commands.back().argv.push_back(nullptr);

  if (ctx.plan_group) {
    std::vector<const char *const *> argvs;
    argvs.reserve(commands.size());
    for (const command &c : commands)
      argvs.push_back(c.argv.data());
    ctx.plan_group(ctx.plan_data, argvs);
  } else if (ctx.verbose || ctx.dry_run) {
    echo_commands(commands, ctx);
  }
  if (ctx.dry_run) {
    if (ctx.executed_group_count)
      ++*ctx.executed_group_count;
    for (char *p : owned)
      std::free(p);
    return 0;
  }

  bool timed = ctx.report_times || ctx.timing_report_file;
  int n = static_cast<int>(commands.size());
  pex_pipeline *pex =
      pex_create(PEX_WITH_PIPES | (timed ? PEX_WITH_TIMES : 0), ctx.program_name, ctx.temp_base);
  for (int i = 0; i < n; ++i) {
    const command &c = commands[static_cast<std::size_t>(i)];
    int err = 0;
    // A name that was not resolved is still the buffer's own text.
    int flags = (i + 1 == n ? PEX_LAST_STAGE : 0) | (c.argv[0] == c.prog ? PEX_SEARCH_PATH : 0);
    const char *failure = pex_run_stage(pex, flags, c.argv[0],
                                        const_cast<char *const *>(c.argv.data()), nullptr,
                                        nullptr, &err);
    if (failure)
      fatal_cannot_execute(c.argv[0], failure, err);
  }
  if (ctx.executed_group_count)
    ++*ctx.executed_group_count;

  std::vector<int> statuses(commands.size());
  std::vector<pex_times> times(timed ? commands.size() : 0);
  if (!pex_get_status(pex, n, statuses.data()))
    fatal_error(UNKNOWN_LOCATION, "failed to get exit status: %m");
  if (timed && !pex_collect_times(pex, n, times.data()))
    fatal_error(UNKNOWN_LOCATION, "failed to get process times: %m");
  pex_destroy(pex);

  int result = judge_statuses(commands, statuses, times, ctx);

  for (char *p : owned)
    std::free(p);
  return result;
}
