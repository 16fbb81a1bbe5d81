// The main operation shared by vrk-ar, vrk-nm and vrk-ranlib.
#include "wrappers/wrapper.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "process/pex.h"
#include "process/relocate.h"
#include "support/configuration.h"
#include "support/text.h"
#include "support/xmalloc.h"
#include "wrappers/search-list.h"

namespace {

// What one run of the wrapper makes: the search lists and the texts it
// allocates, all released when the run ends.
struct wrapper_run {
  wrapper_run() = default;
  wrapper_run(const wrapper_run &) = delete;
  wrapper_run &operator=(const wrapper_run &) = delete;
  ~wrapper_run() {
    for (void *p : owned)
      std::free(p);
  }

  // Release P with the run (null is kept out); P itself is returned.
  template <typename T> T *keep(T *p) {
    if (p)
      owned.push_back(const_cast<void *>(static_cast<const void *>(p)));
    return p;
  }

  // The toolchain's own directories for the target (a "-B" directory
  // first), and the directories of PATH.
  search_list tool_dirs;
  search_list path_dirs;
  std::vector<void *> owned;
};

// The base that relocation starts from: the invocation name, or
// VRK_EXEC_PREFIX followed by the program's own installed name.
const char *relocation_base(wrapper_run &run, const char *personality, const char *argv0) {
  if (const char *exec_prefix = std::getenv("VRK_EXEC_PREFIX"))
    return run.keep(concat(exec_prefix, "vrk-", personality, nullptr));
  return argv0;
}

// DIR relocated relative to the program, or DIR itself when the program
// runs from its configured place.
const char *relocated_dir(wrapper_run &run, const char *base, const char *dir) {
  char *moved = run.keep(relative_prefix(base, config::standard_bindir_prefix, dir, true));
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

// Whether the tool is asked for its version: "--version" or "-V" (the
// spelling all three tools share) among its arguments ARGS before a "--".
bool asks_for_version(char *const *args) {
  for (; *args && std::strcmp(*args, "--") != 0; ++args)
    if (std::strcmp(*args, "--version") == 0 || std::strcmp(*args, "-V") == 0)
      return true;
  return false;
}

// The wrapper's own lines before the tool's banner: which wrapper of which
// version, and what it runs.  Written out before the tool starts, since
// both share standard output.
void print_wrapper_version(const char *personality, const char *tool, const char *plugin) {
  std::printf("vrk-%s %s%s\n", personality, config::package_version, config::version_string);
  std::printf("Runs %s with the plugin %s.\n", tool, plugin);
  std::fflush(stdout);
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
  wrapper_run run;
  search_list &tool_dirs = run.tool_dirs;
  search_list &path_dirs = run.path_dirs;
  const char *invocation = argv[0];
  const char *base = relocation_base(run, personality, argv[0]);
  const char *exec_dir = relocated_dir(run, base, config::standard_exec_prefix);
  const char *libexec_dir = relocated_dir(run, base, config::standard_libexec_prefix);

  char *tools = concat(exec_dir, config::target_name, "/", config::version_number, "/",
                       "../../../../", config::target_name, "/", "bin", nullptr);
  dirs_from_string(tools, &tool_dirs);
  std::free(tools);
  char *aux = concat(libexec_dir, config::target_name, "/", config::version_number, "/",
                     nullptr);
  dirs_from_string(aux, &tool_dirs);
  std::free(aux);
  dirs_from_env("PATH", &path_dirs);

  // The "-B" option is removed from a copy of the vector, so the caller's
  // stays as it was.
  char **user_args = run.keep(static_cast<char **>(
      xmalloc((static_cast<std::size_t>(argc) + 1) * sizeof(char *))));
  std::memcpy(user_args, argv, static_cast<std::size_t>(argc) * sizeof(char *));
  user_args[argc] = nullptr;
  if (char *prefix = take_b_option(&argc, user_args)) {
    prepend_dir(&path_dirs, prefix);
    prepend_dir(&tool_dirs, prefix);
    std::free(prefix);
  }

  char *plugin_path = run.keep(find_in_list(&tool_dirs, wrapper_plugin_name, R_OK));
  if (!plugin_path) {
    std::fprintf(stderr, "%s: Cannot find plugin '%s'\n", invocation, wrapper_plugin_name);
    return 1;
  }
  char *tool_path = run.keep(find_in_list(&tool_dirs, personality, X_OK));
  if (!tool_path)
    tool_path = run.keep(find_in_list(&path_dirs, personality, X_OK));
  if (!tool_path) {
    std::fprintf(stderr, "%s: Cannot find binary '%s'\n", invocation, personality);
    return 1;
  }

  // The tool's path, "--plugin", the plugin's path, the user's arguments.
  char **tool_argv = run.keep(static_cast<char **>(
      xmalloc((static_cast<std::size_t>(argc) + 3) * sizeof(char *))));
  int n = 0;
  tool_argv[n++] = tool_path;
  tool_argv[n++] = const_cast<char *>("--plugin");
  tool_argv[n++] = plugin_path;
  for (int i = 1; i < argc; ++i) {
    // ar accepts its operation letters without a dash; the plugin option
    // in front of them makes the dash necessary.
    if (i == 1 && std::strcmp(personality, "ar") == 0 && user_args[i][0] != '-')
      tool_argv[n++] = run.keep(concat("-", user_args[i], nullptr));
    else
      tool_argv[n++] = user_args[i];
  }
  tool_argv[n] = nullptr;

  if (asks_for_version(tool_argv + 3))
    print_wrapper_version(personality, tool_path, plugin_path);

  int status = 0;
  int err = 0;
  char *program_name = concat("vrk-", tool_path, nullptr);
  const char *failure = pex_run_once(PEX_LAST_STAGE | PEX_SEARCH_PATH, tool_path, tool_argv,
                                     program_name, nullptr, nullptr, &status, &err);
  std::free(program_name);
  if (failure) {
    std::fprintf(stderr, "Error running %s: %s\n", tool_path, failure);
    return 1;
  }
  return report_status(tool_path, status);
}
