// Saved switches and inputs: arrays grown in place (16 entries first,
// doubling), and the switch sets that -fcompare-debug swaps.
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

switch_set current_switch_set() {
  return {saved_switches, saved_switch_count, switch_capacity};
}

switch_set copy_current_switches() {
  switch_set copy = {nullptr, saved_switch_count, switch_capacity};
  if (switch_capacity) {
    copy.switches = static_cast<saved_switch *>(
        xmalloc(sizeof(saved_switch) * static_cast<std::size_t>(switch_capacity)));
    // The entries in use and the terminator, when there is one.
    int used = saved_switch_count < switch_capacity ? saved_switch_count + 1 : saved_switch_count;
    std::memcpy(copy.switches, saved_switches, sizeof(saved_switch) * static_cast<std::size_t>(used));
  }
  return copy;
}

void make_switch_set_current(const switch_set &set) {
  saved_switches = set.switches;
  saved_switch_count = set.count;
  switch_capacity = set.capacity;
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
