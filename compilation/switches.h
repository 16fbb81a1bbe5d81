// The switches the driver keeps for the specs: options from the command
// line (and from self specs), in the order they were given, with an index
// by name so that a spec's test of a switch costs what it matches rather
// than the number of switches.
#ifndef VRK_COMPILATION_SWITCHES_H
#define VRK_COMPILATION_SWITCHES_H

#include <algorithm>
#include <array>
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
  // Index of the switch's word on the command line (after argument files
  // are expanded), or -1 when the driver or a self spec made it.
  int argv_index = -1;
};

// An array of switches that always ends with an entry whose text is null,
// so that it can be walked either by count or up to the terminator.
// Copying a list copies its entries and its index; the texts are shared.
//
// Entries are only ever appended (or all forgotten), and neither a text
// nor a first separate argument changes once saved: the index depends on
// nothing else, so liveness and claiming marks never touch it.
class switch_list {
public:
  switch_list() : entries_(1, saved_switch{}) { last_by_lead_.fill(-1); }

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
  void clear();

  // Indices, in increasing order, of the entries whose text begins with
  // the LENGTH characters of NAME (and has no more when WHOLE).
  std::vector<int> named(const char *name, std::size_t length, bool whole);
  // Indices, in increasing order, of the entries whose text begins with
  // LEAD and whose first separate argument begins with the LENGTH
  // characters of ARGUMENT (and has no more when WHOLE): "-D X" as a
  // candidate for "DX".
  std::vector<int> named_by_argument(char lead, const char *argument, std::size_t length,
                                     bool whole);
  // Call TEST(index) for the entries named as by named(), in increasing
  // order, until it answers true; whether it did.  The same as a loop over
  // named(), without its list for the few matches most questions have.
  template <class F> bool any_named(const char *name, std::size_t length, bool whole, F test) {
    if (length == 0 && !whole) {
      for (int i = 0; i < count(); i++)
        if (test(i))
          return true;
      return false;
    }
    // Most questions are about switches nobody gave.
    if (length && last_with_lead(name[0]) < 0)
      return false;
    auto [first, last] =
        range(by_text_, length ? name[0] : '\0', length ? name + 1 : "", length ? length - 1 : 0,
              whole);
    std::size_t found = static_cast<std::size_t>(last - first);
    if (found > few_matches) {
      for (int i : named(name, length, whole))
        if (test(i))
          return true;
      return false;
    }
    // Copied first: a test may sort the bucket under the range.
    int indices[few_matches];
    for (std::size_t k = 0; k < found; k++)
      indices[k] = first[static_cast<std::ptrdiff_t>(k)].index;
    std::sort(indices, indices + found);
    for (std::size_t k = 0; k < found; k++)
      if (test(indices[k]))
        return true;
    return false;
  }
  // Call F(entry) for every entry named as by named(), in no set order.
  template <class F> void for_each_named(const char *name, std::size_t length, bool whole, F f) {
    if (length == 0 && !whole) {
      for (saved_switch &sw : *this)
        f(sw);
      return;
    }
    auto [first, last] =
        range(by_text_, length ? name[0] : '\0', length ? name + 1 : "", length ? length - 1 : 0,
              whole);
    for (auto k = first; k != last; ++k)
      f(entries_[static_cast<std::size_t>(k->index)]);
  }
  // Whether an entry after INDEX has the text LEAD followed by REST.
  bool named_after(int index, char lead, const char *rest);
  // The last entry whose text begins with LEAD, or -1.
  int last_with_lead(char lead) const { return last_by_lead_[static_cast<unsigned char>(lead)]; }

  // A number that changes whenever an answer about the switches may: an
  // entry is added or all are forgotten, or some entry's liveness is
  // recorded or changed (whoever changes it calls note_change).  No two
  // lists share a number unless one is a copy of the other, unchanged.
  std::uint64_t generation() const { return generation_; }
  void note_change() { generation_ = ++last_generation_; }

private:
  // The index: the entries' texts (or first separate arguments) by first
  // character, each bucket in order of position until a question needs
  // more than the first character; then the bucket is sorted by the rest
  // of the text and position, so that every name prefix selects one
  // contiguous run.  Most questions (and all those about many -D words)
  // need no sorting at all.
  struct key {
    const char *rest;
    int index;
  };
  struct bucket {
    std::vector<key> keys;
    bool sorted = false;
  };
  using key_iterator = std::vector<key>::const_iterator;
  static constexpr std::size_t few_matches = 8;

  void append(const saved_switch &entry);
  void build_index();
  static void add_key(bucket &b, const key &k);
  std::pair<key_iterator, key_iterator> range(std::vector<bucket> &buckets, char lead,
                                              const char *rest, std::size_t length, bool whole);

  std::vector<saved_switch> entries_;
  // Built on the first question, then kept current by append().
  bool indexed_ = false;
  std::vector<bucket> by_text_;      // 256 buckets once built
  std::vector<bucket> by_argument_;  // entries with separate arguments only
  std::array<int, 256> last_by_lead_;
  std::uint64_t generation_ = ++last_generation_;
  static inline std::uint64_t last_generation_ = 0;  // process-wide
};

#endif
