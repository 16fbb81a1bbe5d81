// The elements of colon-separated directory lists (COMPILER_PATH,
// LIBRARY_PATH, PATH ...), which the driver and the wrappers read alike.
#ifndef VRK_SUPPORT_PATH_LIST_H
#define VRK_SUPPORT_PATH_LIST_H

#include <cstddef>

// The LENGTH characters at ELEMENT as a directory name: "./" when empty
// (the current directory), else the element with a "/" added unless it
// already ends in one.  A new text.
char *path_list_dir(const char *element, std::size_t length);

#endif
