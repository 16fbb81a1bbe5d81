// The main operation shared by vrk-ar, vrk-nm and vrk-ranlib.
#include "wrappers/wrapper.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

#include "process/pex.h"
#include "process/relocate.h"
#include "support/configuration.h"
#include "support/text.h"
#include "support/xmalloc.h"
#include "wrappers/search-list.h"

namespace {

// The base that relocation starts from: the invocation name, or
// VRK_EXEC_PREFIX followed by the program's own installed name.
const char *relocation_base(const char *personality, const char *argv0) {
  if (const char *exec_prefix = std::getenv("VRK_EXEC_PREFIX"))
    return concat(exec_prefix, "vrk-", personality, nullptr);
  return argv0;
}

// DIR relocated relative to the program, or DIR itself when the program
// runs from its configured place.
const char *relocated_dir(const char *base, const char *dir) {
  char *moved = relative_prefix(base, config::standard_bindir_prefix, dir, true);
  return moved ? moved : dir;
}

// Remove the first "-B" option (and its separate directory) from ARGV and
// return the directory with a trailing "/", or null when there is none.
char *take_b_option(int *argc, char **argv) {
  for (int i = 0; i < *argc; ++i) {
    if (std::strncmp(argv[i], "-B", 2) != 0)
      continue;
    const char *dir;
    int removed;
    if (argv[i][2]) {
      dir = argv[i] + 2;
      removed = 1;
    } else if (i + 1 < *argc) {
      dir = argv[i + 1];
      removed = 2;
    } else {
      std::fprintf(stderr, "Usage: vrk-ar [-B prefix] ar arguments ...\n");
      std::exit(1);
    }
    std::size_t len = std::strlen(dir);
    char *result = len >= 2 && dir[len - 1] != '/' ? concat(dir, "/", nullptr) : xstrdup(dir);
    // Keep the terminating null entry in place.
    std::memmove(argv + i, argv + i + removed,
                 static_cast<std::size_t>(*argc - i - removed + 1) * sizeof(char *));
    *argc -= removed;
    return result;
  }
  return nullptr;
}

int report_status(const char *tool, int status) {
  if (status == 0)
    return 0;
  if (WIFSIGNALED(status)) {
    int sig = WTERMSIG(status);
    std::fprintf(stderr, "%s terminated with signal %d [%s]%s\n", tool, sig, strsignal(sig),
                 WCOREDUMP(status) ? ", core dumped" : "");
    return 1;
  }
  if (WIFEXITED(status))
    return WEXITSTATUS(status);
  return 1;
}

} // namespace

int wrapper_main(const char *personality, int argc, char **argv) {
  const char *invocation = argv[0];
  const char *base = relocation_base(personality, argv[0]);
  const char *exec_dir = relocated_dir(base, config::standard_exec_prefix);
  const char *libexec_dir = relocated_dir(base, config::standard_libexec_prefix);

  search_list tool_dirs;
  search_list path_dirs;
  char *tools = concat(exec_dir, config::target_name, "/", config::version_number, "/",
                       "../../../../", config::target_name, "/", "bin", nullptr);
  dirs_from_string(tools, &tool_dirs);
  char *aux = concat(libexec_dir, config::target_name, "/", config::version_number, "/",
                     nullptr);
  dirs_from_string(aux, &tool_dirs);
  dirs_from_env("PATH", &path_dirs);

  // The argument vector is edited in place; work on a copy of the pointers
  // so the caller's vector stays as it was.
  auto **args = static_cast<char **>(
      xmalloc((static_cast<std::size_t>(argc) + 1) * sizeof(char *)));
  std::memcpy(args, argv, static_cast<std::size_t>(argc) * sizeof(char *));
  args[argc] = nullptr;
  if (char *prefix = take_b_option(&argc, args)) {
    prepend_dir(&path_dirs, prefix);
    prepend_dir(&tool_dirs, prefix);
  }

  char *plugin = find_in_list(&tool_dirs, wrapper_plugin_name, R_OK);
  if (!plugin) {
    std::fprintf(stderr, "%s: Cannot find plugin '%s'\n", invocation, wrapper_plugin_name);
    return 1;
  }
  char *tool = find_in_list(&tool_dirs, personality, X_OK);
  if (!tool)
    tool = find_in_list(&path_dirs, personality, X_OK);
  if (!tool) {
    std::fprintf(stderr, "%s: Cannot find binary '%s'\n", invocation, personality);
    return 1;
  }

  // The tool's path, "--plugin", the plugin's path, the user's arguments.
  auto **nargv = static_cast<char **>(
      xmalloc((static_cast<std::size_t>(argc) + 3) * sizeof(char *)));
  int n = 0;
  nargv[n++] = tool;
  nargv[n++] = const_cast<char *>("--plugin");
  nargv[n++] = plugin;
  for (int i = 1; i < argc; ++i) {
    // ar accepts its operation letters without a dash; the plugin option
    // in front of them makes the dash necessary.
    if (i == 1 && std::strcmp(personality, "ar") == 0 && args[i][0] != '-')
      nargv[n++] = concat("-", args[i], nullptr);
    else
      nargv[n++] = args[i];
  }
  nargv[n] = nullptr;

  int status = 0;
  int err = 0;
  char *program_name = concat("vrk-", tool, nullptr);
  const char *failure = pex_run_once(PEX_LAST_STAGE | PEX_SEARCH_PATH, tool, nargv,
                                     program_name, nullptr, nullptr, &status, &err);
  if (failure) {
    std::fprintf(stderr, "Error running %s: %s\n", tool, failure);
    return 1;
  }
  return report_status(tool, status);
}
