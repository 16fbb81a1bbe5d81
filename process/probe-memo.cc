// Remembered file-system probes of the prefix walks.
#include "process/probe-memo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

template <class F> bool probe_memo::answer(int question, const char *path, F ask) {
  std::map<std::string, bool, std::less<>> &answers = answers_[question];
  std::string_view key(path);
  auto known = answers.find(key);
  if (known != answers.end())
    return known->second;
  bool yes = ask();
  answers.emplace(key, yes);
  return yes;
}

bool probe_memo::accessible(const char *path, int mode) {
  return answer(mode & 7, path, [&] { return !in_missing_directory(path) && access(path, mode) == 0; });
}

bool probe_memo::in_missing_directory(const char *path) const {
  // A prefix walk asks about the same directories for file after file;
  // one already found to be no directory holds none of them.
  const char *slash = std::strrchr(path, '/');
  if (!slash)
    return false;
  const std::map<std::string, bool, std::less<>> &directories = answers_[directory_question];
  auto known = directories.find(std::string_view(path, static_cast<std::size_t>(slash + 1 - path)));
  return known != directories.end() && !known->second;
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
