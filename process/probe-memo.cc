// Remembered file-system probes of the prefix walks.
#include "process/probe-memo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

template <class F> bool probe_memo::answer(std::string &key, F ask) {
  auto known = answers_.find(key);
  if (known != answers_.end())
    return known->second;
  bool yes = ask();
  answers_.emplace(std::move(key), yes);
  return yes;
}

bool probe_memo::accessible(const char *path, int mode) {
  // The first character tells the question apart from other modes.
  std::string key(1, static_cast<char>('0' + mode));
  key += path;
  return answer(key, [&] { return access(path, mode) == 0; });
}

bool probe_memo::usable_file(const char *path, int mode) {
  if (!accessible(path, mode))
    return false;
  if (!(mode & X_OK))
    return true;
  std::string key = "f";
  key += path;
  return answer(key, [&] {
    struct stat st;
    return stat(path, &st) == 0 && !S_ISDIR(st.st_mode);
  });
}

bool probe_memo::directory(const char *path) {
  std::size_t length = std::strlen(path);
  std::string key = "d";
  key += path;
  return answer(key, [&] {
    std::string dot(path, length);
    dot += length && path[length - 1] == '/' ? "." : "/.";
    struct stat st;
    return stat(dot.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  });
}
