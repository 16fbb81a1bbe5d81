// The installation's message catalogue directory, relocated.
#include "driver/locale-dir.h"

#include <cstdlib>

#include "process/relocate.h"
#include "support/configuration.h"
#include "support/text.h"

const char *installed_locale_dir(const char *argv0, const char *exec_prefix, bool resolve_links) {
  char *moved;
  if (exec_prefix) {
    // The same base the program prefixes use for this variable: a name
    // inside the configured "lib/vrk/" directory.
    char *name = concat(exec_prefix, "vrk", nullptr);
    moved = relative_prefix(name, config::standard_exec_prefix, config::locale_dir,
                            resolve_links);
    std::free(name);
  } else {
    moved = relative_prefix(argv0, config::standard_bindir_prefix, config::locale_dir,
                            resolve_links);
  }
  return moved ? moved : config::locale_dir;
}
