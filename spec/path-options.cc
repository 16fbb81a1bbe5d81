// %D and %I: options naming the directories of a prefix list that exist
// (library directories as -L, header directories as -isystem), plus the
// multilib, multiarch, prefix and sysroot options that precede them.
#include <cstring>
#include <string>

#include "driver/driver-state.h"
#include "process/prefixes.h"
#include "spec/interpreter.h"
#include "spec/multilib.h"
#include "spec/spec-list.h"

namespace {

struct path_walk_info {
  const char *append;     // appended to every candidate (may be empty)
  std::size_t append_length;
  const char *option;     // "-L", "-isystem"
  bool separate_options;  // option and directory as two arguments
};

void *path_option_walk(char *path, void *data) {
  const path_walk_info *info = static_cast<const path_walk_info *>(data);
  std::size_t length = std::strlen(path);
  if (info->append_length)
    std::memcpy(path + length, info->append, info->append_length + 1);

  // Relative directories are passed on too: both walks name every
  // candidate that exists.
  if (!is_searchable_dir(path, true))
    return nullptr;

  do_spec_1(info->option, true, nullptr);
  if (info->separate_options)
    do_spec_1(" ", false, nullptr);

  if (!info->append_length) {
    // Keep "/" itself a directory name.
    length = std::strlen(path);
    if (length > 1 && path[length - 1] == '/')
      path[length - 1] = '\0';
  }
  do_spec_1(path, true, nullptr);
  do_spec_1(" ", false, nullptr);
  return nullptr;
}

void walk_with(const prefix_list &list, bool use_multilib, const std::string &append,
               const char *option, bool separate) {
  path_walk_info info{append.c_str(), append.size(), option, separate};
  run_paths.walk_prefixes(list, use_multilib, append.size(), path_option_walk, &info);
}

// An option and its value as two arguments.
void push_option_pair(const char *option, const char *value) {
  do_spec_1(option, true, nullptr);
  do_spec_1(" ", false, nullptr);
  do_spec_1(value, true, nullptr);
  do_spec_1(" ", false, nullptr);
}

} // namespace

void do_library_dir_options() { walk_with(run_paths.startfile_prefixes, true, "", "-L", false); }

void do_header_options() {
  if (run_paths.multilib.dir)
    push_option_pair("-imultilib", run_paths.multilib.dir);
  if (run_paths.multilib.multiarch_dir)
    push_option_pair("-imultiarch", run_paths.multilib.multiarch_dir);
  if (install_exec_prefix)
    push_option_pair("-iprefix", install_exec_prefix);
  if ((sysroot_overridden || (sysroot_dir && sysroot_hdrs_suffix)) && sysroot_dir) {
    std::string root = sysroot_dir;
    if (sysroot_hdrs_suffix)
      root += sysroot_hdrs_suffix;
    push_option_pair("-isysroot", root.c_str());
  }

  walk_with(run_paths.include_prefixes, false, "include", "-isystem", true);

  if (sysroot_hdrs_suffix_spec && *sysroot_hdrs_suffix_spec) {
    std::string fixed = "include-fixed/";
    if (run_paths.multilib.dir)
      fixed += run_paths.multilib.dir;
    walk_with(run_paths.include_prefixes, false, fixed, "-isystem", true);
  } else {
    if (run_paths.multilib.multiarch_dir)
      walk_with(run_paths.include_prefixes, false, std::string("include-fixed/") + run_paths.multilib.multiarch_dir,
                "-isystem", true);
    walk_with(run_paths.include_prefixes, false, "include-fixed", "-isystem", true);
  }
}
