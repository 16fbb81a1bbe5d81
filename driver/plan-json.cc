// Writing the plan: the JSON document (doc/plan.schema.json) and the
// readable provenance lines of -v.
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "compilation/compilation.h"
#include "driver/plan.h"
#include "support/configuration.h"
#include "support/json-writer.h"

namespace {

const char *origin_kind_name(spec_origin kind) {
  switch (kind) {
  case spec_origin::named: return "named";
  case spec_origin::compilers_row: return "compilers_row";
  case spec_origin::link_command: return "link_command";
  case spec_origin::self_spec: return "self_spec";
  case spec_origin::function: return "function";
  case spec_origin::program: return "driver";
  case spec_origin::none: break;
  }
  return nullptr;
}

std::string current_directory() {
  std::string dir(256, '\0');
  while (!getcwd(dir.data(), dir.size())) {
    if (errno != ERANGE)
      return std::string();
    dir.resize(dir.size() * 2);
  }
  dir.resize(std::char_traits<char>::length(dir.c_str()));
  return dir;
}

struct plan_writer {
  const compilation &comp;
  const run_plan &plan;
  json_writer out;

  void null_or(const char *name, const char *text) {
    out.key(name);
    out.string(text);
  }

  void argument_source(int argv_index) {
    const std::vector<argument_origin> &from = plan.argument_origins;
    bool known = argv_index >= 0 && static_cast<std::size_t>(argv_index) < from.size() &&
                 from[static_cast<std::size_t>(argv_index)].file;
    out.key("argument_file");
    out.string(known ? from[static_cast<std::size_t>(argv_index)].file : nullptr);
    out.key("word_number");
    if (known)
      out.number(from[static_cast<std::size_t>(argv_index)].word);
    else
      out.null();
  }

  void switch_of(int index) {
    out.key("switch");
    if (index < 0 || index >= comp.switches.count()) {
      out.null();
      return;
    }
    const saved_switch &sw = comp.switches[index];
    out.begin_object();
    out.key("index");
    out.number(index);
    out.key("text");
    out.string(std::string("-") + sw.text);
    out.key("argv_index");
    if (sw.argv_index >= 0)
      out.number(sw.argv_index);
    else
      out.null();
    argument_source(sw.argv_index);
    out.end_object();
  }

  void origin(const word_origin &o) {
    out.begin_object();
    out.key("spec");
    if (const char *kind = origin_kind_name(o.kind)) {
      out.begin_object();
      null_or("kind", kind);
      null_or("name", o.name);
      null_or("file", o.file);
      out.key("line");
      if (o.file)
        out.number(o.line);
      else
        out.null();
      out.end_object();
    } else {
      out.null();
    }
    out.key("offset");
    if (o.offset >= 0 && o.kind != spec_origin::none)
      out.number(o.offset);
    else
      out.null();
    switch_of(o.switch_index);
    out.key("argument");
    if (o.argv_index >= 0 && o.argv_index < plan.argc) {
      out.begin_object();
      out.key("argv_index");
      out.number(o.argv_index);
      null_or("text", plan.argv[o.argv_index]);
      argument_source(o.argv_index);
      out.end_object();
    } else {
      out.null();
    }
    null_or("environment", o.environment);
    null_or("configured", o.configured);
    out.end_object();
  }

  void files(const char *name, const std::vector<plan_file> &list) {
    out.key(name);
    out.begin_array();
    for (const plan_file &f : list) {
      out.begin_object();
      null_or("path", f.path.c_str());
      out.key("temporary");
      out.boolean(f.temporary);
      null_or("deleted", f.temporary ? (f.deleted ? f.deleted : "kept") : nullptr);
      out.end_object();
    }
    out.end_array();
  }

  void environment(const std::vector<std::string> &texts) {
    out.key("environment");
    out.begin_object();
    for (const std::string &t : texts) {
      std::size_t eq = t.find('=');
      out.key(t.substr(0, eq).c_str());
      out.string(eq == std::string::npos ? "" : t.c_str() + eq + 1);
    }
    out.end_object();
  }

  void response_files(const plan_command &c) {
    out.key("response_files");
    out.begin_array();
    for (const auto &rf : c.response_files) {
      out.begin_object();
      null_or("name", rf.name);
      out.key("contents");
      out.begin_array();
      for (const char *w : rf.words)
        out.string(w);
      out.end_array();
      out.key("provenance");
      out.begin_array();
      for (std::size_t i = 0; i < rf.words.size(); ++i)
        origin(i < rf.origins.size() ? rf.origins[i] : word_origin{});
      out.end_array();
      out.end_object();
    }
    out.end_array();
  }

  void command(std::size_t number, const plan_command &c) {
    out.begin_object();
    out.key("number");
    out.number(static_cast<long long>(number));
    out.key("group");
    out.number(c.group);
    null_or("program", c.arguments[0].c_str());
    out.key("arguments");
    out.begin_array();
    for (const std::string &a : c.arguments)
      out.string(a);
    out.end_array();
    out.key("provenance");
    out.begin_array();
    for (const word_origin &o : c.origins)
      origin(o);
    out.end_array();
    environment(c.environment);
    out.key("reads_pipe");
    out.boolean(c.stdin_pipe);
    out.key("writes_pipe");
    out.boolean(c.stdout_pipe);
    files("reads", c.reads);
    files("writes", c.writes);
    response_files(c);
    out.end_object();
  }

  void command_line() {
    out.key("command_line");
    out.begin_array();
    for (int i = 0; i < plan.argc; ++i) {
      out.begin_object();
      out.key("index");
      out.number(i);
      null_or("word", plan.argv[i]);
      argument_source(i);
      out.end_object();
    }
    out.end_array();
  }

  void document(const std::vector<plan_command> &commands) {
    out.begin_object();
    out.key("version");
    out.number(1);
    out.key("driver");
    out.begin_object();
    null_or("program", comp.invocation_name);
    null_or("version", config::version_string);
    null_or("target", config::target_name);
    out.end_object();
    null_or("directory", current_directory().c_str());
    command_line();
    out.key("commands");
    out.begin_array();
    for (std::size_t i = 0; i < commands.size(); ++i)
      command(i, commands[i]);
    out.end_array();
    out.end_object();
  }
};

} // namespace

std::string run_plan::json() const {
  plan_writer w{comp_, *this, {}};
  w.document(commands_);
  std::string text = w.out.text();
  text += '\n';
  return text;
}

void run_plan::append_file_word(std::string &out, int argv_index) const {
  std::size_t a = static_cast<std::size_t>(argv_index);
  if (a < argument_origins.size() && argument_origins[a].file)
    out += " (" + std::string(argument_origins[a].file) + " word " +
           std::to_string(argument_origins[a].word) + ")";
}

void run_plan::append_origin_text(std::string &out, const word_origin &o) const {
  const char *sep = "";
  if (const char *kind = origin_kind_name(o.kind)) {
    out += kind;
    if (o.name) {
      out += ' ';
      out += o.name;
    }
    if (o.file) {
      out += " (" + std::string(o.file) + ":" + std::to_string(o.line) + ")";
    }
    if (o.offset >= 0)
      out += " offset " + std::to_string(o.offset);
    sep = ", ";
  }
  if (o.switch_index >= 0 && o.switch_index < comp_.switches.count()) {
    const saved_switch &sw = comp_.switches[o.switch_index];
    out += sep;
    out += "switch -";
    out += sw.text;
    if (sw.argv_index >= 0) {
      out += " at argv[" + std::to_string(sw.argv_index) + "]";
      append_file_word(out, sw.argv_index);
    }
    sep = ", ";
  }
  if (o.argv_index >= 0 && o.argv_index < argc) {
    out += sep;
    out += "argument " + std::string(argv[o.argv_index]) + " at argv[" +
           std::to_string(o.argv_index) + "]";
    append_file_word(out, o.argv_index);
    sep = ", ";
  }
  if (o.environment) {
    out += sep;
    out += "environment ";
    out += o.environment;
    sep = ", ";
  }
  if (o.configured) {
    out += sep;
    out += "configured ";
    out += o.configured;
    sep = ", ";
  }
  if (!*sep)
    out += "unknown";
}

void run_plan::write_readable(std::FILE *stream) const {
  std::string text;
  for (std::size_t n = 0; n < commands_.size(); ++n) {
    const plan_command &c = commands_[n];
    for (std::size_t w = 0; w < c.arguments.size(); ++w) {
      text += "plan: " + std::to_string(n) + ":" + std::to_string(w) + " ";
      append_json_string(text, c.arguments[w].c_str());
      text += " <- ";
      append_origin_text(text, c.origins[w]);
      text += '\n';
    }
  }
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}
