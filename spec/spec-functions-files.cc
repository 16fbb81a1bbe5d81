// Spec functions that reach outside the spec text: the environment, file
// existence, lookups along the startfile and include prefixes, further
// specs files, and the assembler help header.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "compilation/compilation.h"
#include "compilation/env-manager.h"
#include "diagnostics/diagnostic.h"
#include "diagnostics/intl.h"
#include "spec/interpreter.h"
#include "spec/spec-functions.h"
#include "spec/specs-file.h"
#include "support/text.h"

namespace {

// Only absolute names are tested: a relative one would depend on the
// directory the driver happens to run in.
bool absolute_and_readable(const char *path) {
  return path[0] == '/' && access(path, R_OK) == 0;
}

constexpr const char tool_finclude_dir[] =
    "/usr/local/tolv13/lib/vrk/aarch64-portbld-freebsd15.0/13.2.0/../../../../"
    "aarch64-portbld-freebsd15.0/include/finclude/";
constexpr const char system_finclude_dir[] = "/usr/include/finclude/";

} // namespace

const char *getenv_spec_function(spec_interpreter &in, int argc, const char **argv) {
  if (argc != 2)
    return nullptr;
  const char *var = argv[0];
  const char *value = env.getenv(var);
  if (!value) {
    if (in.comp.undefined_env_tolerated)
      return concat("/", var, nullptr);
    fatal_error(UNKNOWN_LOCATION, "environment variable %qs not defined", var);
  }
  // Every character escaped, so nothing in the value acts as spec syntax.
  std::size_t length = std::strlen(value);
  std::string result;
  result.reserve(2 * length + std::strlen(argv[1]));
  for (std::size_t i = 0; i < length; i++) {
    result += '\\';
    result += value[i];
  }
  result += argv[1];
  return xstrdup(result.c_str());
}

const char *if_exists_spec_function(spec_interpreter &in, int argc, const char **argv) {
  if (argc == 1 && absolute_and_readable(argv[0]))
    return argv[0];
  return nullptr;
}

const char *if_exists_else_spec_function(spec_interpreter &in, int argc, const char **argv) {
  if (argc != 2)
    return nullptr;
  return absolute_and_readable(argv[0]) ? argv[0] : argv[1];
}

const char *if_exists_then_else_spec_function(spec_interpreter &in, int argc, const char **argv) {
  if (argc != 2 && argc != 3)
    return nullptr;
  if (absolute_and_readable(argv[0]))
    return argv[1];
  return argc == 3 ? argv[2] : nullptr;
}

const char *include_spec_function(spec_interpreter &in, int argc, const char **argv) {
  vrk_assert(argc == 1);
  const search_paths &search = in.comp.search;
  char *found = search.find_file_on_prefixes(search.startfile_prefixes, argv[0], R_OK, true);
  read_specs_file(in.comp, found ? found : argv[0], false, false);
  std::free(found);
  return nullptr;
}

const char *find_file_spec_function(spec_interpreter &in, int argc, const char **argv) {
  vrk_assert(argc == 1);
  const char *name = argv[0];
  if (name[0] == '/')
    return access(name, R_OK) == 0 ? xstrdup(name) : name;
  const search_paths &search = in.comp.search;
  char *found = search.find_file_on_prefixes(search.startfile_prefixes, name, R_OK, true);
  return found ? found : name;
}

const char *find_plugindir_spec_function(spec_interpreter &in, int argc, const char **argv) {
  vrk_assert(argc == 0);
  const search_paths &search = in.comp.search;
  char *found = search.find_file_on_prefixes(search.startfile_prefixes, "plugin", R_OK, true);
  char *option = concat("-iplugindir=", found ? found : "plugin", nullptr);
  std::free(found);
  return option;
}

const char *print_asm_header_spec_function(spec_interpreter &in, int argc, const char **argv) {
  std::fputs(translate("Assembler options\n=================\n\n"), stdout);
  std::fputs(translate("Use \"-Wa,OPTION\" to pass \"OPTION\" to the assembler.\n\n"), stdout);
  std::fflush(stdout);
  return nullptr;
}

const char *fortran_preinclude_file_spec_function(spec_interpreter &in, int argc,
                                                  const char **argv) {
  if (argc != 3)
    return nullptr;
  const char *option = argv[0];
  const char *file = argv[1];

  search_paths &search = in.comp.search;
  const char *sysroot_dir = in.comp.sysroot_dir;
  const char *sysroot_hdrs_suffix = in.comp.sysroot_hdrs_suffix;
  char *found = search.find_file_on_prefixes(search.include_prefixes, file, R_OK, false);
  if (!found) {
    prefix_list extra = {nullptr, 0, nullptr};
    search.add_search_prefix(extra, argv[2], nullptr, 0, 0, 0);
    search.add_search_prefix(extra, tool_finclude_dir, nullptr, 0, 0, 0);
    if (sysroot_dir) {
      std::size_t root_length = std::strlen(sysroot_dir);
      if (root_length && sysroot_dir[root_length - 1] == '/')
        root_length--;
      std::string dir(sysroot_dir, root_length);
      if (sysroot_hdrs_suffix)
        dir += sysroot_hdrs_suffix;
      dir += system_finclude_dir;
      search.add_search_prefix(extra, dir.c_str(), "VRK", 0, 0, 0);
    } else {
      search.add_search_prefix(extra, system_finclude_dir, "VRK", 0, 0, 0);
    }
    found = search.find_file_on_prefixes(extra, file, R_OK, false);
    free_prefix_list(&extra);
  }
  if (!found)
    return nullptr;
  char *result = concat(option, found, nullptr);
  std::free(found);
  return result;
}
