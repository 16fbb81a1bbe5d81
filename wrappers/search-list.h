// Program search lists of the archive-tool wrappers: an ordered list of
// directories, filled from colon-separated texts or one directory at a
// time, along which a file name is looked up.
#ifndef VRK_WRAPPERS_SEARCH_LIST_H
#define VRK_WRAPPERS_SEARCH_LIST_H

struct search_dir {
  char *dir;          // owned; meant to end in "/"
  search_dir *next;
};

// Owns its entries.
struct search_list {
  search_list() = default;
  search_list(const search_list &) = delete;
  search_list &operator=(const search_list &) = delete;
  ~search_list();

  search_dir *entries = nullptr;
  search_dir *last = nullptr;
  int max_len = 0;    // longest entry ever added
};

// Add a copy of DIR at the end / at the front of LIST.
void append_dir(search_list *list, const char *dir);
void prepend_dir(search_list *list, const char *dir);

// Split TEXT at every ":" and append one entry per element, in order: an
// empty element becomes "./", an element not ending in "/" gets one.
void dirs_from_string(const char *text, search_list *list);
// dirs_from_string with the value of the environment variable NAME, when
// it is set.
void dirs_from_env(const char *name, search_list *list);

// Look NAME up: an absolute name is tested directly with access(MODE);
// otherwise the first entry + NAME that exists, is not a directory and
// passes access(MODE).  A new text, or null.
char *find_in_list(const search_list *list, const char *name, int mode);

#endif
