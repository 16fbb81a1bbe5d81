// The switches the driver keeps for the specs: options from the command
// line (and from self specs), in the order they were given.
#ifndef VRK_COMPILATION_SWITCHES_H
#define VRK_COMPILATION_SWITCHES_H

#include <cstddef>
#include <cstdint>
#include <vector>

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

// An array of switches that always ends with an entry whose text is null,
// so that it can be walked either by count or up to the terminator.
// Copying a list copies its entries; the texts are shared.
class switch_list {
public:
  switch_list() : entries_(1, saved_switch{}) {}

  int count() const { return static_cast<int>(entries_.size()) - 1; }
  // Entries 0 .. count(); entry count() is the terminator.
  saved_switch &operator[](int i) { return entries_[static_cast<std::size_t>(i)]; }
  const saved_switch &operator[](int i) const { return entries_[static_cast<std::size_t>(i)]; }
  saved_switch *begin() { return entries_.data(); }
  saved_switch *end() { return entries_.data() + count(); }
  const saved_switch *begin() const { return entries_.data(); }
  const saved_switch *end() const { return entries_.data() + count(); }

  // Save a switch: OPTION_TEXT with its leading "-", ARGUMENT_COUNT
  // separate arguments (copied into a new array).
  void save(const char *option_text, std::size_t argument_count, const char *const *arguments,
            bool claimed, bool recognised);
  // Append an entry for TEXT (without "-") as it is: no arguments,
  // recognised, unclaimed.
  void push(const char *text);
  // Forget every entry (the texts are not released).
  void clear() { entries_.assign(1, saved_switch{}); }

private:
  void append(const saved_switch &entry);

  std::vector<saved_switch> entries_;
};

#endif
