// The environment variables exported for the child programs.
#include "driver/child-env.h"

#include <cstdlib>
#include <cstring>

#include "compilation/compilation.h"
#include "compilation/env-manager.h"
#include "options/jobserver.h"
#include "spec/interpreter.h"
#include "spec/spec-list.h"
#include "support/text-area.h"
#include "support/text.h"

namespace {

// Hand NAME=VALUE to the environment in an allocation of its own that is
// never released (putenv keeps the pointer).
void put_variable(const char *name, const std::string &value) {
  env.xput(concat(name, "=", value.c_str(), nullptr));
}

// TEXT with each single quote in it written as '\'' (end the quoted text,
// a quoted quote, quote again).  Runs without a quote are copied whole.
void append_quote_escaped(text_area &out, const char *text) {
  for (const char *p = text;;) {
    const char *quote = std::strchr(p, '\'');
    if (!quote) {
      out.append(p);
      return;
    }
    out.append(p, static_cast<std::size_t>(quote - p));
    out.append("'\\''", 4);
    p = quote + 1;
  }
}

// TEXT between single quotes, each quote in it written as '\''.
void append_single_quoted(text_area &out, const char *text) {
  out.append_char('\'');
  append_quote_escaped(out, text);
  out.append_char('\'');
}

}  // namespace

char *escape_white_space(const char *text) {
  std::string out;
  for (const char *p = text; *p; ++p) {
    if (*p == ' ' || *p == '\t')
      out += '\\';
    out += *p;
  }
  return xstrdup(out.c_str());
}

void export_assembler_options(const compilation &comp) {
  const std::vector<const char *> &assembler_passthrough = comp.assembler_passthrough;
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

void export_lto_wrapper_path(compilation &comp) {
  if (comp.stops_before_link)
    return;
  char *path = comp.search.find_program("ltorelay");
  if (!path)
    return;
  char *escaped = escape_white_space(path);
  std::free(path);
  set_static_spec(&named_specs.lto_wrapper_spec, escaped, true);
  env.xput(concat("COLLECT_LTO_WRAPPER=", escaped, nullptr));
}

void export_offload_targets(compilation &comp) {
  const char *&list = comp.offload_target_list;
  if (list && *list)
    env.xput(concat("OFFLOAD_TARGET_NAMES=", list, nullptr));
  std::free(const_cast<char *>(list));
  list = nullptr;
}

void append_vrk_options(text_area &out, const compilation &comp) {
  const switch_list &switches = comp.switches;
  int count = switches.count();
  for (int i = 0; i < count; ++i) {
    const saved_switch &sw = switches[i];
    // A switch removed by %< is dropped; one removed by %> is still passed
    // on.  Its separating blank stays either way.
    if ((sw.liveness & (live_removed | live_keep_for_children)) != live_removed) {
      out.append("'-", 2);
      append_quote_escaped(out, sw.text);
      out.append_char('\'');
      if (sw.arguments)
        for (const char *const *arg = sw.arguments; *arg; ++arg) {
          out.append_char(' ');
          append_single_quoted(out, *arg);
        }
    }
    if (i + 1 < count)
      out.append_char(' ');
  }
  if (comp.aux_dir) {
    if (count > 0)
      out.append_char(' ');
    out.append("'-dumpdir' ");
    append_single_quoted(out, comp.aux_dir);
  }
}

std::string collect_vrk_options_value(const compilation &comp) {
  text_area out;
  append_vrk_options(out, comp);
  return std::string(out.base(), out.length());
}

void export_vrk_options(spec_interpreter &in) {
  // Made again, in one pass straight into the text the environment keeps,
  // when the switches or the auxiliary directory changed since the last
  // command group; otherwise that group's text is set again.
  compilation &comp = in.comp;
  auto &last = comp.exported_options;
  bool same_aux_dir = comp.aux_dir ? last.has_aux_dir && last.aux_dir == comp.aux_dir
                                   : !last.has_aux_dir;
  if (!last.text || last.generation != comp.switches.generation() || !same_aux_dir) {
    text_area out;
    out.append("COLLECT_VRK_OPTIONS=");
    append_vrk_options(out, comp);
    last.text = out.finish();
    last.generation = comp.switches.generation();
    last.has_aux_dir = comp.aux_dir != nullptr;
    last.aux_dir = comp.aux_dir ? comp.aux_dir : "";
  }
  env.xput(last.text);
}

void export_compiler_path(const search_paths &search) {
  env.xput(search.join_prefix_list(search.exec_prefixes, "COMPILER_PATH", true, false));
}

void export_library_path(const search_paths &search) {
  env.xput(search.join_prefix_list(search.startfile_prefixes, "LIBRARY_PATH", true, true));
}

void export_makeflags(const jobserver_state &jobserver) {
  if (!jobserver.active && !jobserver.skipped_makeflags.empty())
    env.xput(xstrdup(jobserver.skipped_makeflags.c_str()));
}
