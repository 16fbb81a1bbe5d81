// Saved switches: each new entry goes before the terminator.
#include "compilation/switches.h"

#include "support/text.h"
#include "support/xmalloc.h"

void switch_list::append(const saved_switch &entry) {
  entries_.back() = entry;
  entries_.push_back(saved_switch{});
}

void switch_list::save(const char *option_text, std::size_t argument_count,
                       const char *const *arguments, bool claimed, bool recognised) {
  const char **copy = nullptr;
  if (argument_count) {
    copy = static_cast<const char **>(xmalloc(sizeof(char *) * (argument_count + 1)));
    for (std::size_t i = 0; i < argument_count; i++)
      copy[i] = arguments[i];
    copy[argument_count] = nullptr;
  }
  append({xstrdup(option_text + 1), copy, 0, recognised, claimed, false});
}

void switch_list::push(const char *text) { append({text, nullptr, 0, true, false, false}); }
