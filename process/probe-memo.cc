// Remembered file-system probes of the prefix walks.
#include "process/probe-memo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

// The paths a walk asks about share long beginnings (the prefixes) and
// differ in their last characters, so the hash reads the length and at
// most the last 24 bytes: a probe's cost does not grow with its path.
std::size_t hash_of(unsigned char question, std::string_view path) {
  std::uint64_t h = (path.size() << 8 | question) * 0x9E3779B97F4A7C15ull;
  std::size_t n = path.size();
  std::size_t from = n > 24 ? n - 24 : 0;
  for (std::size_t at = from; at < n; at += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, path.data() + at, n - at < 8 ? n - at : 8);
    h = (h ^ word) * 0x9E3779B97F4A7C15ull;
  }
  return static_cast<std::size_t>(h ^ (h >> 29));
}

}  // namespace

const probe_memo::entry *probe_memo::find(unsigned char question, std::string_view path,
                                          std::size_t hash, std::size_t *slot) const {
  if (slots_.empty())
    return nullptr;
  std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    *slot = i;
    if (slots_[i] == 0)
      return nullptr;
    const entry &e = entries_[static_cast<std::size_t>(slots_[i] - 1)];
    if (e.hash == hash && e.question == question && e.path == path)
      return &e;
  }
}

void probe_memo::grow() {
  slots_.assign(slots_.empty() ? 256 : slots_.size() * 2, 0);
  std::size_t mask = slots_.size() - 1;
  for (std::size_t k = 0; k < entries_.size(); ++k) {
    std::size_t i = entries_[k].hash & mask;
    while (slots_[i] != 0)
      i = (i + 1) & mask;
    slots_[i] = static_cast<int>(k + 1);
  }
}

template <class F> bool probe_memo::answer(unsigned char question, std::string_view path, F ask) {
  std::size_t slot = 0;
  std::size_t hash = hash_of(question, path);
  if (const entry *known = find(question, path, hash, &slot))
    return known->yes;
  bool yes = ask();
  if ((entries_.size() + 1) * 2 > slots_.size()) {
    grow();
    find(question, path, hash, &slot);
  }
  entries_.push_back({std::string(path), hash, question, yes});
  slots_[slot] = static_cast<int>(entries_.size());
  return yes;
}

bool probe_memo::accessible(const char *path, int mode) {
  return answer(static_cast<unsigned char>(mode & 7), path,
                [&] { return !in_missing_directory(path) && access(path, mode) == 0; });
}

bool probe_memo::in_missing_directory(const char *path) const {
  // A prefix walk asks about the same directories for file after file;
  // one already found to be no directory holds none of them.
  const char *slash = std::strrchr(path, '/');
  if (!slash)
    return false;
  std::string_view directory(path, static_cast<std::size_t>(slash + 1 - path));
  std::size_t slot;
  const entry *known =
      find(directory_question, directory, hash_of(directory_question, directory), &slot);
  return known && !known->yes;
}

bool probe_memo::usable_file(const char *path, int mode) {
  if (!accessible(path, mode))
    return false;
  if (!(mode & X_OK))
    return true;
  return answer(file_question, path, [&] {
    struct stat st;
    return stat(path, &st) == 0 && !S_ISDIR(st.st_mode);
  });
}

bool probe_memo::directory(const char *path) {
  return answer(directory_question, path, [&] {
    std::size_t length = std::strlen(path);
    std::string dot(path, length);
    dot += length && path[length - 1] == '/' ? "." : "/.";
    struct stat st;
    return stat(dot.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  });
}
