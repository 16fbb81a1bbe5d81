// The two records the driver keeps for the specs: switches from the command
// line (and from self specs), and inputs in command-line order.
#ifndef VRK_DRIVER_SWITCHES_H
#define VRK_DRIVER_SWITCHES_H

#include <cstddef>
#include <cstdint>

struct compiler_entry;

// Liveness bits of a saved switch, maintained by the spec interpreter.
enum : std::uint32_t {
  live_yes = 1,
  live_no = 2,
  live_removed = 4,
  live_removed_by_self_spec = 8,
  live_keep_for_children = 16,
};

struct saved_switch {
  const char *text;        // without the leading "-"; null ends the array
  const char **arguments;  // separate arguments ending with null, or null
  std::uint32_t liveness;  // 0: not yet decided
  bool recognised;
  bool claimed;
  bool order_marked;
};

struct input_entry {
  const char *name;       // file name or linker-input option text; null ends
  const char *language;   // -x language, null for by-suffix, "*" for linker inputs
  compiler_entry *compiler;
  bool compiled;
  bool preprocessed;
};

// The arrays grow in place (16 entries first, doubling) and are terminated
// by `terminate_switches_and_inputs` at the end of command-line processing.
extern saved_switch *saved_switches;
extern int saved_switch_count;
extern input_entry *input_entries;
extern int input_count;

// Save a switch: `option_text` with its leading "-", `argument_count`
// separate arguments (copied into a new array).
void save_switch(const char *option_text, std::size_t argument_count,
                 const char *const *arguments, bool claimed, bool recognised);
// Push a switch entry directly: no arguments, recognised, unclaimed.
void push_switch(const char *text);
void add_input(const char *name, const char *language);

// A whole set of switches, so that -fcompare-debug can keep the switches
// of its first and second compilation and make either one current.
struct switch_set {
  saved_switch *switches;
  int count;
  int capacity;
};
switch_set current_switch_set();
// A copy of the current switches (entries copied, texts shared).
switch_set copy_current_switches();
void make_switch_set_current(const switch_set &set);
void terminate_switches_and_inputs();

#endif
