// %D and %I: options naming the directories of a prefix list that exist
// (library directories as -L, header directories as -isystem), plus the
// multilib, multiarch, prefix and sysroot options that precede them.
#include <cstring>
#include <string>

#include "compilation/compilation.h"
#include "process/prefixes.h"
#include "spec/interpreter.h"
#include "spec/spec-list.h"

namespace {

struct path_walk_info {
  spec_interpreter *in;
  const char *list_name;  // the prefix list walked, for the provenance trace
  const char *append;     // appended to every candidate (may be empty)
  std::size_t append_length;
  const char *option;     // "-L", "-isystem"
  bool separate_options;  // option and directory as two arguments
};

// The variable (LIBRARY_PATH, LPATH) one of whose directories PATH lies
// in, or null.  Only asked for the provenance trace.
const char *environment_source(const provenance_trace &trace, const char *path) {
  for (const char *var : {"LIBRARY_PATH", "LPATH"}) {
    const char *value = var[1] == 'I' ? trace.library_path : trace.lpath;
    while (value && *value) {
      const char *colon = std::strchr(value, ':');
      std::size_t n = colon ? static_cast<std::size_t>(colon - value) : std::strlen(value);
      while (n > 1 && value[n - 1] == '/')
        n--;
      if (n && std::strncmp(path, value, n) == 0 && (path[n] == '/' || path[n] == '\0'))
        return var;
      value = colon ? colon + 1 : nullptr;
    }
  }
  return nullptr;
}

void *path_option_walk(char *path, void *data) {
  const path_walk_info *info = static_cast<const path_walk_info *>(data);
  spec_interpreter &in = *info->in;
  std::size_t length = std::strlen(path);
  if (info->append_length)
    std::memcpy(path + length, info->append, info->append_length + 1);

  // Relative directories are passed on too: both walks name every
  // candidate that exists.
  if (!in.comp.search.searchable_dir(path, true))
    return nullptr;

  const char *variable = in.trace ? environment_source(*in.trace, path) : nullptr;
  source_scope from(in.trace, variable, variable ? nullptr : info->list_name);
  in.do_spec_1(info->option, true, nullptr);
  if (info->separate_options)
    in.do_spec_1(" ", false, nullptr);

  if (!info->append_length) {
    // Keep "/" itself a directory name.
    length = std::strlen(path);
    if (length > 1 && path[length - 1] == '/')
      path[length - 1] = '\0';
  }
  in.do_spec_1(path, true, nullptr);
  in.do_spec_1(" ", false, nullptr);
  return nullptr;
}

void walk_with(spec_interpreter &in, const prefix_list &list, bool use_multilib,
               const std::string &append, const char *option, bool separate) {
  path_walk_info info{&in, list.name ? list.name : "prefixes", append.c_str(), append.size(), option, separate};
  in.comp.search.walk_prefixes(list, use_multilib, append.size(), path_option_walk, &info);
}

// An option and its value as two arguments.
void push_option_pair(spec_interpreter &in, const char *option, const char *value) {
  in.do_spec_1(option, true, nullptr);
  in.do_spec_1(" ", false, nullptr);
  in.do_spec_1(value, true, nullptr);
  in.do_spec_1(" ", false, nullptr);
}

} // namespace

void spec_interpreter::do_library_dir_options() {
  walk_with(*this, comp.search.startfile_prefixes, true, "", "-L", false);
}

void spec_interpreter::do_header_options() {
  const multilib_dirs &multilib = comp.search.multilib;
  const char *sysroot_dir = comp.sysroot_dir;
  const char *hdrs_suffix = comp.sysroot_hdrs_suffix;
  const prefix_list &include = comp.search.include_prefixes;
  if (multilib.dir)
    push_option_pair(*this, "-imultilib", multilib.dir);
  if (multilib.multiarch_dir)
    push_option_pair(*this, "-imultiarch", multilib.multiarch_dir);
  if (comp.install_exec_prefix)
    push_option_pair(*this, "-iprefix", comp.install_exec_prefix);
  if ((comp.sysroot_overridden || (sysroot_dir && hdrs_suffix)) && sysroot_dir) {
    std::string root = sysroot_dir;
    if (hdrs_suffix)
      root += hdrs_suffix;
    push_option_pair(*this, "-isysroot", root.c_str());
  }

  walk_with(*this, include, false, "include", "-isystem", true);

  if (named_specs.sysroot_hdrs_suffix_spec && *named_specs.sysroot_hdrs_suffix_spec) {
    std::string fixed = "include-fixed/";
    if (multilib.dir)
      fixed += multilib.dir;
    walk_with(*this, include, false, fixed, "-isystem", true);
  } else {
    if (multilib.multiarch_dir)
      walk_with(*this, include, false, std::string("include-fixed/") + multilib.multiarch_dir,
                "-isystem", true);
    walk_with(*this, include, false, "include-fixed", "-isystem", true);
  }
}
