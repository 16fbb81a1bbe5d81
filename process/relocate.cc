// relative_prefix and split_directories: relocation of configured
// directories relative to the program's actual location.
#include "process/relocate.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "support/text.h"
#include "support/xmalloc.h"

namespace {

// The executable regular file that a search along PATH finds for NAME, as
// a new text; null when none does.
char *find_on_path(const char *name) {
  const char *path = std::getenv("PATH");
  if (!path)
    return nullptr;
  for (;;) {
    const char *end = std::strchr(path, ':');
    std::size_t len = end ? static_cast<std::size_t>(end - path) : std::strlen(path);
    char *candidate;
    if (len == 0)
      candidate = concat("./", name, nullptr);
    else {
      char *dir = xstrndup(path, len);
      candidate = concat(dir, dir[len - 1] == '/' ? "" : "/", name, nullptr);
      std::free(dir);
    }
    struct stat st;
    if (access(candidate, X_OK) == 0 && stat(candidate, &st) == 0 && S_ISREG(st.st_mode))
      return candidate;
    std::free(candidate);
    if (!end)
      return nullptr;
    path = end + 1;
  }
}

} // namespace

char **split_directories(const char *path, int *count) {
  if (count)
    *count = 0;
  if (!path || !*path)
    return nullptr;

  // Every component but possibly the last ends at a "/": at most one more
  // component than there are "/" characters.
  int room = 2;
  for (const char *p = path; *p; ++p)
    if (*p == '/')
      ++room;
  auto **dirs = static_cast<char **>(xmalloc(static_cast<std::size_t>(room) * sizeof(char *)));

  int n = 0;
  const char *start = path;
  const char *p = path;
  while (*p) {
    if (*p == '/') {
      while (*p == '/')
        ++p;
      dirs[n++] = xstrndup(start, static_cast<std::size_t>(p - start));
      start = p;
    } else {
      ++p;
    }
  }
  if (p != start)
    dirs[n++] = xstrndup(start, static_cast<std::size_t>(p - start));
  dirs[n] = nullptr;
  if (count)
    *count = n;
  return dirs;
}

void free_split_directories(char **dirs) {
  if (!dirs)
    return;
  for (char **p = dirs; *p; ++p)
    std::free(*p);
  std::free(dirs);
}

namespace {

// Where PROGNAME is: found along PATH when it has no "/", with symbolic
// links resolved when RESOLVE_LINKS.  A new text.
//
// A driver relocates several directories from its own name: the last
// answer is remembered for the process (the file system is taken to stay
// put while the driver runs), which saves a walk of PATH and a readlink
// per directory level each time.
char *program_location(const char *progname, bool resolve_links) {
  static std::string last_name, last_location;
  static bool last_resolved = false;
  if (!last_name.empty() && last_name == progname && last_resolved == resolve_links)
    return xstrdup(last_location.c_str());

  char *full_progname = nullptr;
  if (!std::strchr(progname, '/'))
    full_progname = find_on_path(progname);
  if (!full_progname)
    full_progname = xstrdup(progname);
  if (resolve_links) {
    if (char *canonical = realpath(full_progname, nullptr)) {
      std::free(full_progname);
      // realpath's result comes from the C library's allocator.
      full_progname = xstrdup(canonical);
      std::free(canonical);
    }
  }
  last_name = progname;
  last_location = full_progname;
  last_resolved = resolve_links;
  return full_progname;
}

}  // namespace

char *relative_prefix(const char *progname, const char *bin_prefix, const char *target_dir,
                      bool resolve_links) {
  if (!progname || !bin_prefix || !target_dir)
    return nullptr;

  char *full_progname = program_location(progname, resolve_links);

  int prog_count, bin_count, target_count;
  char **prog_dirs = split_directories(full_progname, &prog_count);
  char **bin_dirs = split_directories(bin_prefix, &bin_count);
  char **target_dirs = split_directories(target_dir, &target_count);
  std::free(full_progname);

  char *result = nullptr;
  if (prog_dirs && bin_dirs && target_dirs) {
    // The program's own file name is not part of its directory.
    --prog_count;
    std::free(prog_dirs[prog_count]);
    prog_dirs[prog_count] = nullptr;

    bool same_place = prog_count == bin_count;
    for (int i = 0; same_place && i < prog_count; ++i)
      same_place = std::strcmp(prog_dirs[i], bin_dirs[i]) == 0;

    int common = 0;
    while (common < bin_count && common < target_count &&
           std::strcmp(bin_dirs[common], target_dirs[common]) == 0)
      ++common;

    if (!same_place && prog_count > 0 && common > 0) {
      std::size_t len = 1;
      for (int i = 0; i < prog_count; ++i)
        len += std::strlen(prog_dirs[i]);
      len += 3 * static_cast<std::size_t>(bin_count - common);
      for (int i = common; i < target_count; ++i)
        len += std::strlen(target_dirs[i]);

      result = static_cast<char *>(xmalloc(len));
      char *end = result;
      auto append = [&end](const char *text) {
        std::size_t n = std::strlen(text);
        std::memcpy(end, text, n);
        end += n;
      };
      for (int i = 0; i < prog_count; ++i)
        append(prog_dirs[i]);
      for (int i = common; i < bin_count; ++i)
        append("../");
      for (int i = common; i < target_count; ++i)
        append(target_dirs[i]);
      *end = '\0';
    }
  }

  free_split_directories(prog_dirs);
  free_split_directories(bin_dirs);
  free_split_directories(target_dirs);
  return result;
}
