// The provenance trace: frames of spec texts and the start of the argument
// under construction.
#include "spec/provenance.h"

#include <cstring>

void provenance_trace::push(spec_origin kind, const char *name, const char *text,
                            const char *file, int line) {
  const char *t = text ? text : "";
  frames_.push_back({kind, name, t, t + std::strlen(t), nullptr, file, line});
}

void provenance_trace::push_copy(const char *copy, const char *original) {
  frames_.push_back({spec_origin::none, nullptr, copy, copy + std::strlen(copy), original,
                     nullptr, 0});
}

void provenance_trace::mark(const char *p) {
  // Innermost first: a copy maps P back into the text it was taken from
  // and the search goes on below it.
  for (auto f = frames_.rbegin(); f != frames_.rend(); ++f) {
    if (p < f->text || p > f->end)
      continue;
    if (f->original) {
      p = f->original + (p - f->text);
      continue;
    }
    start_ = word_origin{};
    start_.kind = f->kind;
    start_.name = f->name;
    start_.file = f->file;
    start_.line = f->line;
    start_.offset = static_cast<int>(p - f->text);
    return;
  }
}

word_origin provenance_trace::current() const {
  word_origin o = start_;
  o.switch_index = switch_index;
  if (switch_index >= 0)
    o.argv_index = -1;  // the switch names its own word
  o.environment = environment;
  o.configured = configured;
  return o;
}
