// Program search lists of the archive-tool wrappers.
#include "wrappers/search-list.h"

#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "support/path-list.h"
#include "support/text.h"
#include "support/xmalloc.h"

namespace {

search_dir *new_entry(search_list *list, const char *dir) {
  auto *entry = static_cast<search_dir *>(xmalloc(sizeof(search_dir)));
  entry->dir = xstrdup(dir);
  entry->next = nullptr;
  int len = static_cast<int>(std::strlen(dir));
  if (len > list->max_len)
    list->max_len = len;
  return entry;
}

} // namespace

search_list::~search_list() {
  for (search_dir *e = entries; e;) {
    search_dir *next = e->next;
    std::free(e->dir);
    std::free(e);
    e = next;
  }
}

void append_dir(search_list *list, const char *dir) {
  search_dir *entry = new_entry(list, dir);
  if (list->last)
    list->last->next = entry;
  else
    list->entries = entry;
  list->last = entry;
}

void prepend_dir(search_list *list, const char *dir) {
  search_dir *entry = new_entry(list, dir);
  entry->next = list->entries;
  list->entries = entry;
  if (!list->last)
    list->last = entry;
}

void dirs_from_string(const char *text, search_list *list) {
  for (;;) {
    const char *end = std::strchr(text, ':');
    std::size_t len = end ? static_cast<std::size_t>(end - text) : std::strlen(text);
    char *dir = path_list_dir(text, len);
    append_dir(list, dir);
    std::free(dir);
    if (!end)
      return;
    text = end + 1;
  }
}

void dirs_from_env(const char *name, search_list *list) {
  if (const char *value = std::getenv(name))
    dirs_from_string(value, list);
}

char *find_in_list(const search_list *list, const char *name, int mode) {
  if (name[0] == '/')
    return access(name, mode) == 0 ? xstrdup(name) : nullptr;

  // One buffer, sized by the longest entry, for every candidate.
  std::size_t name_len = std::strlen(name);
  auto *candidate =
      static_cast<char *>(xmalloc(static_cast<std::size_t>(list->max_len) + name_len + 1));
  for (const search_dir *entry = list->entries; entry; entry = entry->next) {
    std::size_t dir_len = std::strlen(entry->dir);
    std::memcpy(candidate, entry->dir, dir_len);
    std::memcpy(candidate + dir_len, name, name_len + 1);
    struct stat st;
    if (stat(candidate, &st) == 0 && !S_ISDIR(st.st_mode) && access(candidate, mode) == 0)
      return candidate;
  }
  std::free(candidate);
  return nullptr;
}
