#include "driver/switches.h"

#include <cstring>

#include "support/text.h"
#include "support/xmalloc.h"

saved_switch *saved_switches;
int saved_switch_count;
input_entry *input_entries;
int input_count;

namespace {

int switch_capacity;
int input_capacity;

// Room for one more entry (16 first, then doubling).
template <typename T> void reserve_one(T *&array, int count, int &capacity) {
  if (count < capacity)
    return;
  capacity = capacity ? capacity * 2 : 16;
  array = static_cast<T *>(xrealloc(array, sizeof(T) * static_cast<std::size_t>(capacity)));
}

} // namespace

void save_switch(const char *option_text, std::size_t argument_count,
                 const char *const *arguments, bool claimed, bool recognised) {
  reserve_one(saved_switches, saved_switch_count, switch_capacity);
  saved_switch &sw = saved_switches[saved_switch_count++];
  sw.text = xstrdup(option_text + 1);
  if (argument_count) {
    auto copy = static_cast<const char **>(xmalloc(sizeof(char *) * (argument_count + 1)));
    for (std::size_t i = 0; i < argument_count; i++)
      copy[i] = arguments[i];
    copy[argument_count] = nullptr;
    sw.arguments = copy;
  } else {
    sw.arguments = nullptr;
  }
  sw.liveness = 0;
  sw.recognised = recognised;
  sw.claimed = claimed;
  sw.order_marked = false;
}

void push_switch(const char *text) {
  reserve_one(saved_switches, saved_switch_count, switch_capacity);
  saved_switches[saved_switch_count++] = {text, nullptr, 0, true, false, false};
}

void add_input(const char *name, const char *language) {
  reserve_one(input_entries, input_count, input_capacity);
  input_entry &in = input_entries[input_count++];
  in = {};
  in.name = name;
  in.language = language;
}

void terminate_switches_and_inputs() {
  reserve_one(saved_switches, saved_switch_count, switch_capacity);
  saved_switches[saved_switch_count] = {};
  reserve_one(input_entries, input_count, input_capacity);
  input_entries[input_count] = {};
}
