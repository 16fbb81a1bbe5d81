// Saved switches: each new entry goes before the terminator, and into the
// index once the index exists.
#include "compilation/switches.h"

#include <algorithm>
#include <cstring>

#include "support/text.h"
#include "support/xmalloc.h"

namespace {

constexpr std::size_t bucket_count = 256;

std::size_t bucket_of(char lead) { return static_cast<unsigned char>(lead); }

// The part of TEXT after its first character (TEXT itself when empty).
const char *rest_of(const char *text) { return text[0] ? text + 1 : text; }

template <class K> bool key_less(const K &a, const K &b) {
  int c = std::strcmp(a.rest, b.rest);
  return c != 0 ? c < 0 : a.index < b.index;
}

template <class I> std::vector<int> sorted_indices(I first, I last, bool already_sorted) {
  std::vector<int> indices;
  if (first == last)
    return indices;
  indices.reserve(static_cast<std::size_t>(last - first));
  for (I k = first; k != last; ++k)
    indices.push_back(k->index);
  if (!already_sorted)
    std::sort(indices.begin(), indices.end());
  return indices;
}

} // namespace

void switch_list::add_key(bucket &b, const key &k) {
  // The new entry is the last one: an unsorted bucket stays in order of
  // position by appending.
  if (b.sorted)
    b.keys.insert(std::upper_bound(b.keys.begin(), b.keys.end(), k, key_less<key>), k);
  else
    b.keys.push_back(k);
}

void switch_list::append(const saved_switch &entry) {
  note_change();
  int index = count();
  entries_.back() = entry;
  entries_.push_back(saved_switch{});
  char lead = entry.text[0];
  last_by_lead_[bucket_of(lead)] = index;
  if (!indexed_)
    return;
  add_key(by_text_[bucket_of(lead)], {rest_of(entry.text), index});
  if (entry.arguments && entry.arguments[0])
    add_key(by_argument_[bucket_of(lead)], {entry.arguments[0], index});
}

void switch_list::build_index() {
  by_text_.assign(bucket_count, bucket{});
  by_argument_.assign(bucket_count, bucket{});
  for (int i = 0; i < count(); i++) {
    const saved_switch &sw = entries_[static_cast<std::size_t>(i)];
    by_text_[bucket_of(sw.text[0])].keys.push_back({rest_of(sw.text), i});
    if (sw.arguments && sw.arguments[0])
      by_argument_[bucket_of(sw.text[0])].keys.push_back({sw.arguments[0], i});
  }
  indexed_ = true;
}

void switch_list::clear() {
  note_change();
  entries_.assign(1, saved_switch{});
  last_by_lead_.fill(-1);
  indexed_ = false;
  by_text_.clear();
  by_argument_.clear();
}

// The keys of bucket LEAD whose rest begins with the LENGTH characters of
// REST (and has no more when WHOLE).
std::pair<switch_list::key_iterator, switch_list::key_iterator>
switch_list::range(std::vector<bucket> &buckets, char lead, const char *rest, std::size_t length,
                   bool whole) {
  if (!indexed_)
    build_index();
  bucket &b = buckets[bucket_of(lead)];
  // Most questions are about switches nobody gave.
  if (b.keys.empty() || (length == 0 && !whole))
    return {b.keys.cbegin(), b.keys.cend()};
  if (!b.sorted) {
    std::sort(b.keys.begin(), b.keys.end(), key_less<key>);
    b.sorted = true;
  }
  auto order = [&](const key &k) { return std::strncmp(k.rest, rest, length); };
  auto first = std::partition_point(b.keys.cbegin(), b.keys.cend(),
                                    [&](const key &k) { return order(k) < 0; });
  auto last =
      std::partition_point(first, b.keys.cend(), [&](const key &k) { return order(k) == 0; });
  // A text equal to the prefix sorts before every longer one.
  if (whole)
    last = std::partition_point(first, last, [&](const key &k) { return k.rest[length] == '\0'; });
  return {first, last};
}

std::vector<int> switch_list::named(const char *name, std::size_t length, bool whole) {
  if (length == 0 && !whole) {
    std::vector<int> all(static_cast<std::size_t>(count()));
    for (int i = 0; i < count(); i++)
      all[static_cast<std::size_t>(i)] = i;
    return all;
  }
  std::size_t rest_length = length ? length - 1 : 0;
  auto [first, last] = range(by_text_, length ? name[0] : '\0', length ? name + 1 : "",
                             rest_length, whole);
  // A whole first-character bucket is still in order of position.
  bool in_order = !by_text_[bucket_of(length ? name[0] : '\0')].sorted;
  return sorted_indices(first, last, in_order);
}

std::vector<int> switch_list::named_by_argument(char lead, const char *argument,
                                                std::size_t length, bool whole) {
  auto [first, last] = range(by_argument_, lead, argument, length, whole);
  return sorted_indices(first, last, !by_argument_[bucket_of(lead)].sorted);
}

bool switch_list::named_after(int index, char lead, const char *rest) {
  auto [first, last] = range(by_text_, lead, rest, std::strlen(rest), true);
  // Keys with the same text are in order of position.
  return first != last && (last - 1)->index > index;
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
