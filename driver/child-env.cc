// The environment variables exported for the child programs.
#include "driver/child-env.h"

#include <cstdlib>
#include <cstring>

#include "driver/driver-state.h"
#include "driver/env-manager.h"
#include "driver/switches.h"
#include "options/jobserver.h"
#include "process/prefixes.h"
#include "spec/spec-list.h"
#include "support/text.h"

namespace {

// Hand NAME=VALUE to the environment in an allocation of its own that is
// never released (putenv keeps the pointer).
void put_variable(const char *name, const std::string &value) {
  env.xput(concat(name, "=", value.c_str(), nullptr));
}

}  // namespace

void append_single_quoted(std::string &out, const char *text) {
  out += '\'';
  for (const char *p = text; *p; ++p) {
    if (*p == '\'')
      out += "'\\''";
    else
      out += *p;
  }
  out += '\'';
}

char *escape_white_space(const char *text) {
  std::string out;
  for (const char *p = text; *p; ++p) {
    if (*p == ' ' || *p == '\t')
      out += '\\';
    out += *p;
  }
  return xstrdup(out.c_str());
}

void export_assembler_options() {
  if (assembler_passthrough.empty())
    return;
  // Unlike COLLECT_VRK_OPTIONS, quotes inside an entry are not escaped;
  // the children read this text exactly as it is written here.
  std::string value;
  for (std::size_t i = 0; i < assembler_passthrough.size(); ++i) {
    if (i)
      value += ' ';
    value += '\'';
    value += assembler_passthrough[i];
    value += '\'';
  }
  put_variable("COLLECT_AS_OPTIONS", value);
}

void export_driver_path(const char *argv0) { env.xput(concat("COLLECT_VRK=", argv0, nullptr)); }

void export_lto_wrapper_path() {
  if (stops_before_link)
    return;
  char *path = run_paths.find_program("ltorelay");
  if (!path)
    return;
  char *escaped = escape_white_space(path);
  std::free(path);
  set_static_spec(&lto_wrapper_spec, escaped, true);
  env.xput(concat("COLLECT_LTO_WRAPPER=", escaped, nullptr));
}

void export_offload_targets() {
  if (offload_target_list && *offload_target_list)
    env.xput(concat("OFFLOAD_TARGET_NAMES=", offload_target_list, nullptr));
  std::free(const_cast<char *>(offload_target_list));
  offload_target_list = nullptr;
}

std::string collect_vrk_options_value() {
  std::string value;
  for (int i = 0; i < saved_switch_count; ++i) {
    const saved_switch &sw = saved_switches[i];
    // A switch removed by %< is dropped; one removed by %> is still passed
    // on.  Its separating blank stays either way.
    if ((sw.liveness & (live_removed | live_keep_for_children)) != live_removed) {
      std::string text = "-";
      text += sw.text;
      append_single_quoted(value, text.c_str());
      if (sw.arguments)
        for (const char *const *arg = sw.arguments; *arg; ++arg) {
          value += ' ';
          append_single_quoted(value, *arg);
        }
    }
    if (i + 1 < saved_switch_count)
      value += ' ';
  }
  if (aux_dir) {
    if (saved_switch_count > 0)
      value += ' ';
    value += "'-dumpdir' ";
    append_single_quoted(value, aux_dir);
  }
  return value;
}

void export_vrk_options() { put_variable("COLLECT_VRK_OPTIONS", collect_vrk_options_value()); }

void export_compiler_path() { env.xput(run_paths.join_prefix_list(run_paths.exec_prefixes, "COMPILER_PATH", true, false)); }

void export_library_path() {
  env.xput(run_paths.join_prefix_list(run_paths.startfile_prefixes, "LIBRARY_PATH", true, true));
}

void export_makeflags(const jobserver_state &jobserver) {
  if (!jobserver.active && !jobserver.skipped_makeflags.empty())
    env.xput(xstrdup(jobserver.skipped_makeflags.c_str()));
}
