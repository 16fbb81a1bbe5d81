// Collecting the plan: one entry per command as execute hands the group
// over, with the origins the interpreter kept beside its words.
#include "driver/plan.h"

#include <algorithm>
#include <cstring>

#include "compilation/compilation.h"
#include "compilation/env-manager.h"
#include "spec/interpreter.h"

namespace {

// The environment the driver set so far: the last text of every name, in
// the order the names were first set.
std::vector<std::string> driver_environment() {
  std::vector<std::string> out;
  for (const char *text : env.put_texts()) {
    const char *eq = std::strchr(text, '=');
    std::size_t n = eq ? static_cast<std::size_t>(eq - text) + 1 : std::strlen(text);
    auto same = std::find_if(out.begin(), out.end(),
                             [&](const std::string &s) { return s.compare(0, n, text, n) == 0; });
    if (same != out.end())
      *same = text;
    else
      out.emplace_back(text);
  }
  return out;
}

word_origin wrapper_origin() {
  word_origin o;
  o.kind = spec_origin::program;
  o.configured = "-wrapper";
  return o;
}

} // namespace

void record_plan_group(void *data, const std::vector<const char *const *> &commands) {
  spec_interpreter &in = *static_cast<spec_interpreter *>(data);
  in.comp.plan->record_group(in, commands);
}

void run_plan::record_group(spec_interpreter &in,
                            const std::vector<const char *const *> &commands) {
  const std::vector<word_origin> &origins = in.args.origins;
  std::size_t words = 0;
  for (const char *const *argv : commands)
    for (const char *const *w = argv; *w; ++w)
      words++;
  // Words execute put in front of the buffer's (the -wrapper words).
  std::size_t buffer_words = in.args.buffer.size() - (commands.size() - 1);
  std::size_t wrapper_words = words > buffer_words ? words - buffer_words : 0;

  std::vector<std::string> environment = driver_environment();
  std::size_t b = 0;  // index in the interpreter's buffer
  for (std::size_t c = 0; c < commands.size(); ++c) {
    plan_command pc;
    pc.group = groups_;
    pc.environment = environment;
    pc.stdin_pipe = c > 0;
    pc.stdout_pipe = c + 1 < commands.size();
    std::size_t k = 0;
    for (const char *const *w = commands[c]; *w; ++w, ++k) {
      pc.arguments.emplace_back(*w);
      if (c == 0 && k < wrapper_words)
        pc.origins.push_back(wrapper_origin());
      else
        pc.origins.push_back(b < origins.size() ? origins[b++] : word_origin{});
    }
    b++;  // the "|" between two commands
    for (auto &rf : trace.response_files) {
      std::string word = std::string("@") + rf.name;
      if (std::find(pc.arguments.begin(), pc.arguments.end(), word) != pc.arguments.end())
        pc.response_files.push_back(std::move(rf));
    }
    note_files(pc);
    for (const plan_file &w : pc.writes)
      first_writes_.emplace(w.path, w.deleted);
    commands_.push_back(std::move(pc));
  }
  trace.response_files.clear();
  groups_++;
}

// Reads and writes, judged from the words: the word after "-o" and a %w
// word are written; a temporary is written by the first command that
// names it and read by later ones; an input of the run, and a response
// file, is read.
void run_plan::note_files(plan_command &c) {
  for (std::size_t i = 1; i < c.arguments.size(); ++i) {
    const std::string &word = c.arguments[i];
    const word_origin &o = c.origins[i];
    plan_file f;
    f.path = word;
    if (word[0] == '-') {
      std::size_t eq = word.rfind('=');
      f.path = eq == std::string::npos ? std::string() : word.substr(eq + 1);
    }
    f.temporary = (o.file_roles & (word_deleted_always | word_deleted_on_failure)) != 0;
    if (o.file_roles & word_deleted_always)
      f.deleted = "end";
    else if (o.file_roles & word_deleted_on_failure)
      f.deleted = "failure";
    bool after_o = c.arguments[i - 1] == "-o";
    if (after_o)
      f.path = word;
    if (f.path.empty())
      continue;
    bool seen = temporaries_seen_.count(f.path) != 0;
    if (after_o || (o.file_roles & word_output) || (f.temporary && !seen)) {
      if (f.temporary && !seen)
        temporaries_seen_.insert(f.path);
      c.writes.push_back(std::move(f));
      continue;
    }
    // An input's name is read where the specs copied the input (%i, %o),
    // not where a spec function repeats it (-dumpbase a.c).
    bool input = seen || (o.argv_index >= 0 && is_input_name(f.path));
    if (!input && word[0] == '@') {
      f.path = word.substr(1);
      for (const auto &rf : c.response_files)
        input = input || f.path == rf.name;
      f.temporary = input;
      f.deleted = input && !comp_.save_temps_mode ? "end" : nullptr;
    }
    if (input)
      add_read(c, std::move(f));
  }
  // The files a response file names are read by its command too.
  for (const auto &rf : c.response_files)
    for (std::size_t i = 0; i < rf.words.size() && i < rf.origins.size(); ++i) {
      plan_file f;
      f.path = rf.words[i];
      if (f.path.empty() || f.path[0] == '-')
        continue;  // options (-Wl, pieces are inputs of the run too)
      bool seen = temporaries_seen_.count(f.path) != 0;
      bool input = seen || (rf.origins[i].argv_index >= 0 && is_input_name(f.path));
      if (!input)
        continue;
      f.temporary = seen;
      if (seen)
        f.deleted = temporary_deletion(f.path);
      add_read(c, std::move(f));
    }
}

void run_plan::add_read(plan_command &c, plan_file f) {
  auto same = [&f](const plan_file &r) { return r.path == f.path; };
  if (std::find_if(c.reads.begin(), c.reads.end(), same) == c.reads.end())
    c.reads.push_back(std::move(f));
}

const char *run_plan::temporary_deletion(const std::string &path) const {
  auto first = first_writes_.find(path);
  return first == first_writes_.end() ? nullptr : first->second;
}

bool run_plan::is_input_name(const std::string &path) {
  if (input_names_.empty())
    for (int k = 0; k < comp_.inputs.count(); ++k)
      input_names_.insert(comp_.inputs[k].name);
  return input_names_.count(path) != 0;
}
