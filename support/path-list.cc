// Directory names from the elements of colon-separated directory lists.
#include "support/path-list.h"

#include <cstring>

#include "support/xmalloc.h"

char *path_list_dir(const char *element, std::size_t length) {
  if (length == 0) {
    element = ".";
    length = 1;
  }
  bool add_slash = element[length - 1] != '/';
  auto *dir = static_cast<char *>(xmalloc(length + (add_slash ? 2 : 1)));
  std::memcpy(dir, element, length);
  if (add_slash)
    dir[length++] = '/';
  dir[length] = '\0';
  return dir;
}
