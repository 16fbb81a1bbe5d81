// Choice of the temporary directory and creation of fresh private files.
#include "process/temp-files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "support/error-exit.h"
#include "support/error-text.h"
#include "support/text.h"

namespace {

// Process-wide: the directory is chosen once per process (the pipeline
// library and the wrappers ask too, with no run record at hand).
const char *temp_directory_cache = nullptr;

// Readable, writable and searchable by this process, and a directory.
bool usable_temp_directory(const char *dir) {
  struct stat st;
  return dir && access(dir, R_OK | W_OK | X_OK) == 0 && stat(dir, &st) == 0 &&
         S_ISDIR(st.st_mode);
}

} // namespace

char *choose_temp_directory() {
  const char *candidates[] = {std::getenv("TMPDIR"), std::getenv("TMP"), std::getenv("TEMP"),
                              "/tmp/", "/var/tmp", "/tmp"};
  const char *chosen = ".";
  for (const char *dir : candidates)
    if (usable_temp_directory(dir)) {
      chosen = dir;
      break;
    }
  return concat(chosen, "/", nullptr);
}

const char *temp_directory() {
  if (!temp_directory_cache)
    temp_directory_cache = choose_temp_directory();
  return temp_directory_cache;
}

char *create_temp_file(const char *suffix) {
  if (!suffix)
    suffix = "";
  const char *dir = temp_directory();
  char *name = concat(dir, "cc", "XXXXXX", suffix, nullptr);
  int fd = mkstemps(name, static_cast<int>(std::strlen(suffix)));
  // A name too long for the system, a full disc or a directory turned
  // read-only: the user's problem, not a fault of the program, so the run
  // ends with an error status and its clean-up, not with a core dump.
  if (fd < 0) {
    std::fprintf(stderr, "Cannot create temporary file in %s: %s\n", dir, error_text(errno));
    std::free(name);
    exit_after_error(1);
  }
  if (close(fd) != 0) {
    unlink(name);
    std::free(name);
    exit_after_error(1);
  }
  return name;
}
