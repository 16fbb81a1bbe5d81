// Where the words of the children's command lines come from, recorded
// only when the run's plan is asked for (-plan=json).  The interpreter
// keeps one word_origin beside every argument it pushes; the texts it
// reads are registered as frames, so that a position in a text can be
// told as the spec it belongs to and a byte offset in it.
//
// A null `spec_interpreter::trace` turns all of it off; every hook in the
// interpreter tests that pointer first.
#ifndef VRK_SPEC_PROVENANCE_H
#define VRK_SPEC_PROVENANCE_H

#include <cstdint>
#include <vector>

enum class spec_origin : std::uint8_t {
  none,           // not produced by a spec text the trace knows
  named,          // a named spec (%(name), %1, %a ...)
  compilers_row,  // a row of the compilers table
  link_command,   // the link command
  self_spec,      // a self spec
  function,       // the result of a spec function
  program,        // a text the driver itself puts there (-wrapper words)
};

// File roles of a word, for the plan's files.
enum : std::uint8_t {
  word_deleted_always = 1,      // a temporary deleted at the end of the run
  word_deleted_on_failure = 2,  // deleted when the run fails
  word_output = 4,              // %w: the output of the input's compilation
};

struct word_origin {
  spec_origin kind = spec_origin::none;
  std::uint8_t file_roles = 0;
  const char *name = nullptr;  // spec name, row key or function name
  const char *file = nullptr;  // the specs file that set the spec, or null
  int line = 0;                // the line of its value in that file
  int offset = -1;             // byte offset of the escape or literal, -1 unknown
  int switch_index = -1;       // saved switch copied or derived from, -1 none
  int argv_index = -1;         // command-line word (an input) copied from, -1 none
  // Where a word came from outside the specs: an environment variable or
  // a configured value (search paths, installation directories), or null.
  const char *environment = nullptr;
  const char *configured = nullptr;
};

class provenance_trace {
public:
  // Register TEXT (until the matching pop) as the text of a spec.
  void push(spec_origin kind, const char *name, const char *text, const char *file = nullptr,
            int line = 0);
  // Register COPY as a copy of the text at ORIGINAL (a conditional body or
  // function arguments taken out of their spec).
  void push_copy(const char *copy, const char *original);
  void pop() { frames_.pop_back(); }

  // The interpreter is at P with no argument under construction: the next
  // argument starts here.  Texts of no frame (literal switch text, blanks
  // the interpreter adds) leave the previous start in place.
  void mark(const char *p);
  // The origin of an argument pushed now.
  word_origin current() const;
  // The argument under construction copies command-line word INDEX.
  void note_argument(int index) { start_.argv_index = index; }

  // The saved switch whose words are being written (-1 none), and the
  // source of words the interpreter takes from outside the specs.
  int switch_index = -1;
  const char *environment = nullptr;
  const char *configured = nullptr;
  // The caller's LIBRARY_PATH and LPATH (before the driver set its own),
  // to tell the directories they contributed.
  const char *library_path = nullptr;
  const char *lpath = nullptr;

  // The response files written for children, with their words.
  struct response_file {
    const char *name;
    std::vector<const char *> words;
    std::vector<word_origin> origins;
  };
  std::vector<response_file> response_files;

private:
  struct frame {
    spec_origin kind;
    const char *name;
    const char *text;
    const char *end;
    const char *original;  // copies: where the text was taken from
    const char *file;
    int line;
  };
  std::vector<frame> frames_;
  word_origin start_;
};

// Keeps a frame pushed for the life of the object; does nothing when the
// trace is null.
class provenance_scope {
public:
  provenance_scope(provenance_trace *trace, spec_origin kind, const char *name, const char *text,
                   const char *file = nullptr, int line = 0)
      : trace_(trace) {
    if (trace_)
      trace_->push(kind, name, text, file, line);
  }
  provenance_scope(provenance_trace *trace, const char *copy, const char *original)
      : trace_(trace) {
    if (trace_)
      trace_->push_copy(copy, original);
  }
  ~provenance_scope() {
    if (trace_)
      trace_->pop();
  }
  provenance_scope(const provenance_scope &) = delete;
  provenance_scope &operator=(const provenance_scope &) = delete;

private:
  provenance_trace *trace_;
};

// Words pushed during the life of the object copy or derive from saved
// switch INDEX.
class switch_scope {
public:
  switch_scope(provenance_trace *trace, int index) : trace_(trace) {
    if (trace_) {
      saved_ = trace_->switch_index;
      trace_->switch_index = index;
    }
  }
  ~switch_scope() {
    if (trace_)
      trace_->switch_index = saved_;
  }
  switch_scope(const switch_scope &) = delete;
  switch_scope &operator=(const switch_scope &) = delete;

private:
  provenance_trace *trace_;
  int saved_ = -1;
};

// Words pushed during the life of the object come from the environment
// variable or configured value named (either may be null).
class source_scope {
public:
  source_scope(provenance_trace *trace, const char *environment, const char *configured)
      : trace_(trace) {
    if (trace_) {
      saved_environment_ = trace_->environment;
      saved_configured_ = trace_->configured;
      trace_->environment = environment;
      trace_->configured = configured;
    }
  }
  ~source_scope() {
    if (trace_) {
      trace_->environment = saved_environment_;
      trace_->configured = saved_configured_;
    }
  }
  source_scope(const source_scope &) = delete;
  source_scope &operator=(const source_scope &) = delete;

private:
  provenance_trace *trace_;
  const char *saved_environment_ = nullptr;
  const char *saved_configured_ = nullptr;
};

#endif
