// Saved switches: each new entry goes before the terminator, and into the
// index once the index exists.
#include "compilation/switches.h"

#include <algorithm>
#include <cstring>

#include "support/text.h"
#include "support/xmalloc.h"

namespace {

// Order of index keys: first character, rest of the text, position.
template <class K> bool key_less(const K &a, const K &b) {
  if (a.lead != b.lead)
    return static_cast<unsigned char>(a.lead) < static_cast<unsigned char>(b.lead);
  int c = std::strcmp(a.rest, b.rest);
  return c != 0 ? c < 0 : a.index < b.index;
}

} // namespace

void switch_list::insert_key(std::vector<key> &keys, const key &k) {
  keys.insert(std::upper_bound(keys.begin(), keys.end(), k, key_less<key>), k);
}

void switch_list::append(const saved_switch &entry) {
  int index = count();
  entries_.back() = entry;
  entries_.push_back(saved_switch{});
  char lead = entry.text[0];
  last_by_lead_[static_cast<unsigned char>(lead)] = index;
  if (!indexed_)
    return;
  insert_key(by_text_, {lead, lead ? entry.text + 1 : entry.text, index});
  if (entry.arguments && entry.arguments[0])
    insert_key(by_argument_, {lead, entry.arguments[0], index});
}

void switch_list::build_index() {
  by_text_.clear();
  by_argument_.clear();
  by_text_.reserve(static_cast<std::size_t>(count()));
  for (int i = 0; i < count(); i++) {
    const saved_switch &sw = entries_[static_cast<std::size_t>(i)];
    char lead = sw.text[0];
    by_text_.push_back({lead, lead ? sw.text + 1 : sw.text, i});
    if (sw.arguments && sw.arguments[0])
      by_argument_.push_back({lead, sw.arguments[0], i});
  }
  std::sort(by_text_.begin(), by_text_.end(), key_less<key>);
  std::sort(by_argument_.begin(), by_argument_.end(), key_less<key>);
  indexed_ = true;
}

void switch_list::clear() {
  entries_.assign(1, saved_switch{});
  last_by_lead_.fill(-1);
  indexed_ = false;
  by_text_.clear();
  by_argument_.clear();
}

// The keys whose first character is LEAD and whose rest begins with the
// LENGTH characters of REST (and has no more when WHOLE).
std::pair<switch_list::key_iterator, switch_list::key_iterator>
switch_list::range(const std::vector<key> &keys, char lead, const char *rest, std::size_t length,
                   bool whole) {
  if (!indexed_)
    build_index();
  auto order = [&](const key &k) {
    if (k.lead != lead)
      return static_cast<unsigned char>(k.lead) < static_cast<unsigned char>(lead) ? -1 : 1;
    return std::strncmp(k.rest, rest, length);
  };
  auto first = std::partition_point(keys.begin(), keys.end(),
                                    [&](const key &k) { return order(k) < 0; });
  auto last =
      std::partition_point(first, keys.end(), [&](const key &k) { return order(k) == 0; });
  // A text equal to the prefix sorts before every longer one.
  if (whole)
    last = std::partition_point(first, last, [&](const key &k) { return k.rest[length] == '\0'; });
  return {first, last};
}

std::pair<switch_list::key_iterator, switch_list::key_iterator>
switch_list::text_range(const char *name, std::size_t length, bool whole) {
  if (length == 0) {
    if (whole)
      return range(by_text_, '\0', "", 0, true);
    if (!indexed_)
      build_index();
    return {by_text_.cbegin(), by_text_.cend()};
  }
  return range(by_text_, name[0], name + 1, length - 1, whole);
}

namespace {

template <class I> std::vector<int> sorted_indices(I first, I last) {
  std::vector<int> indices;
  if (first == last)
    return indices;
  indices.reserve(static_cast<std::size_t>(last - first));
  for (I k = first; k != last; ++k)
    indices.push_back(k->index);
  std::sort(indices.begin(), indices.end());
  return indices;
}

} // namespace

std::vector<int> switch_list::named(const char *name, std::size_t length, bool whole) {
  auto [first, last] = text_range(name, length, whole);
  return sorted_indices(first, last);
}

std::vector<int> switch_list::named_by_argument(char lead, const char *argument,
                                                std::size_t length, bool whole) {
  auto [first, last] = range(by_argument_, lead, argument, length, whole);
  return sorted_indices(first, last);
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
