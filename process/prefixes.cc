// Search prefix lists, the walk over them and the lookups built on it, and
// the rewriting of configured installation paths (environment roots and
// "dir/../" folding) that lets an installed tree be moved.
#include "process/prefixes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "support/text-area.h"
#include "support/text.h"
#include "support/xmalloc.h"

namespace {

// A hostile environment (VRK_ROOT="@VRK/x") would otherwise expand forever.
constexpr int max_key_expansions = 16;

bool is_sep(char c) { return c == '/'; }

// Fold "dir/../" where dir cannot be reached: the kernel could not resolve
// "dir/.." either, while a tree moved next to the driver may not have every
// intermediate directory of the configured layout.
void fold_dotdot(char *result, probe_memo *memo) {
  char *p = std::strchr(result, '.');
  while (p) {
    if (!(p[1] == '.' && is_sep(p[2]) && p != result && is_sep(p[-1]))) {
      p = std::strchr(p + 1, '.');
      continue;
    }
    *p = '\0';
    if (memo ? memo->accessible(result, X_OK) : access(result, X_OK) == 0) {
      *p = '.';
      return;
    }
    // Walk back over the separators and one component; a component that
    // is itself "." or ".." is stepped over as well.
    char *dest = p;
    do {
      --dest;
      while (dest != result && is_sep(*dest))
        --dest;
      while (dest != result && !is_sep(dest[-1]))
        --dest;
    } while (dest != result && *dest == '.');
    if (*dest == '.' || is_sep(*dest)) {
      *p = '.';
      return;
    }
    const char *src = p + 3;
    while (is_sep(*src))
      ++src;
    char *resume = dest;
    while ((*dest++ = *src++) != '\0')
      ;
    p = std::strchr(resume, '.');
  }
}

struct walk_suffixes {
  char *multi_suffix;       // machine suffix + M
  char *just_multi_suffix;  // machine-only suffix + M
  const char *plain_suffix; // machine suffix without M
  const char *plain_just;   // machine-only suffix without M
  char *multi_dir;          // M or null
  char *multi_os_dir;       // OM or null
  char *multiarch_dir;      // MA or null
};

char *dir_with_slash(const char *dir) { return concat(dir, "/", nullptr); }

bool selected(const char *dir) { return dir && std::strcmp(dir, ".") != 0; }

std::size_t longest(std::initializer_list<const char *> texts) {
  std::size_t n = 0;
  for (const char *t : texts)
    if (t && std::strlen(t) > n)
      n = std::strlen(t);
  return n;
}

// Copy PREFIX and SUFFIX into BUFFER and ask the callback.
void *try_candidate(char *buffer, const char *prefix, const char *suffix,
                    prefix_callback callback, void *data) {
  std::strcpy(buffer, prefix);
  if (suffix)
    std::strcat(buffer, suffix);
  return callback(buffer, data);
}

struct probe_data {
  const char *name;
  int mode;
  probe_memo *memo;
};

void *probe_file(char *path, void *data) {
  auto *probe = static_cast<probe_data *>(data);
  std::strcat(path, probe->name);
  return probe->memo->usable_file(path, probe->mode) ? path : nullptr;
}

struct join_data {
  text_area *text;
  bool check_directories;
  bool first;
  const search_paths *search;
};

void *add_to_joined(char *path, void *data) {
  auto *join = static_cast<join_data *>(data);
  if (join->check_directories && !join->search->searchable_dir(path, false))
    return nullptr;
  if (!join->first)
    join->text->append_char(':');
  join->text->append(path);
  join->first = false;
  return nullptr;
}

} // namespace

search_paths::~search_paths() {
  free_prefix_list(&exec_prefixes);
  free_prefix_list(&startfile_prefixes);
  free_prefix_list(&include_prefixes);
}

void search_paths::add_search_prefix(prefix_list &list, const char *directory,
                                     const char *component, int priority,
                                     int require_machine_suffix, int os_multilib) {
  prefix_entry **link = &list.plist;
  while (*link && (*link)->priority <= priority)
    link = &(*link)->next;

  auto *entry = static_cast<prefix_entry *>(xmalloc(sizeof(prefix_entry)));
  entry->prefix = relocate(directory, component);
  int len = static_cast<int>(std::strlen(entry->prefix));
  if (len > list.max_len)
    list.max_len = len;
  entry->require_machine_suffix = require_machine_suffix;
  entry->priority = priority;
  entry->os_multilib = os_multilib;
  entry->next = *link;
  *link = entry;
}

void search_paths::add_sysroot_prefix(const char *directory, const char *component,
                                      const char *sysroot_dir, const char *sysroot_suffix) {
  if (!is_sep(directory[0]))
    fatal_error(UNKNOWN_LOCATION, "system path %qs is not absolute", directory);
  char *path;
  if (sysroot_dir) {
    std::size_t root_len = std::strlen(sysroot_dir);
    if (root_len && is_sep(sysroot_dir[root_len - 1]))
      root_len--;
    char *root = xstrndup(sysroot_dir, root_len);
    path = concat(root, sysroot_suffix ? sysroot_suffix : "", directory, nullptr);
    std::free(root);
    component = "VRK";
  } else {
    path = xstrdup(directory);
  }
  add_search_prefix(startfile_prefixes, path, component, PREFIX_PRIORITY_LAST, 0, 1);
  std::free(path);
}

void search_paths::set_standard_prefix(const char *text, std::size_t length) {
  standard_prefix = xstrndup(text, length);
}

char *translate_prefix_key(const char *text, const char *standard_prefix) {
  char *result = xstrdup(text);
  for (int round = 0; round < max_key_expansions && (result[0] == '@' || result[0] == '$');
       round++) {
    const char *rest = result + 1;
    while (*rest && !is_sep(*rest))
      rest++;
    char *key = xstrndup(result + 1, static_cast<std::size_t>(rest - (result + 1)));
    const char *value;
    if (result[0] == '@') {
      char *var = concat(key, "_ROOT", nullptr);
      value = std::getenv(var);
      std::free(var);
      if (!value)
        value = standard_prefix ? standard_prefix : config::prefix;
    } else {
      value = std::getenv(key);
      if (!value)
        value = config::prefix;
    }
    std::free(key);
    char *next = concat(value, rest, nullptr);
    std::free(result);
    result = next;
  }
  return result;
}

char *relocate_path(const char *path, const char *component, const char *standard_prefix,
                    probe_memo *memo) {
  char *result = nullptr;
  if (component && standard_prefix) {
    std::size_t len = std::strlen(standard_prefix);
    if (std::strncmp(path, standard_prefix, len) == 0 &&
        (path[len] == '\0' || is_sep(path[len]))) {
      char *keyed = component[0] == '$' ? concat(component, path + len, nullptr)
                                        : concat("@", component, path + len, nullptr);
      result = translate_prefix_key(keyed, standard_prefix);
      std::free(keyed);
    }
  }
  if (!result)
    result = xstrdup(path);
  fold_dotdot(result, memo);
  return result;
}

char *search_paths::relocate(const char *path, const char *component) const {
  return relocate_path(path, component, standard_prefix, &probes_);
}

void *search_paths::walk_prefixes(const prefix_list &list, bool use_multilib,
                                  std::size_t extra_space, prefix_callback callback,
                                  void *data) const {
  walk_suffixes s{};
  s.plain_suffix = machine_suffix ? machine_suffix : config::machine_suffix;
  s.plain_just = machine_only_suffix ? machine_only_suffix : config::machine_only_suffix;
  if (use_multilib && selected(multilib.dir))
    s.multi_dir = dir_with_slash(multilib.dir);
  if (use_multilib && selected(multilib.os_dir))
    s.multi_os_dir = dir_with_slash(multilib.os_dir);
  if (multilib.multiarch_dir)
    s.multiarch_dir = dir_with_slash(multilib.multiarch_dir);
  s.multi_suffix = concat(s.plain_suffix, s.multi_dir ? s.multi_dir : "", nullptr);
  s.just_multi_suffix = concat(s.plain_just, s.multi_dir ? s.multi_dir : "", nullptr);

  std::size_t room = static_cast<std::size_t>(list.max_len) + extra_space +
                     longest({s.multi_suffix, s.just_multi_suffix, s.multi_os_dir,
                              s.multiarch_dir}) +
                     1;
  auto *buffer = static_cast<char *>(xmalloc(room));
  void *result = nullptr;

  // One pass over the list; MULTI selects the first (multilib) form.
  auto pass = [&](bool multi) -> void * {
    const char *machine = multi ? s.multi_suffix : s.plain_suffix;
    const char *machine_only = multi ? s.just_multi_suffix : s.plain_just;
    bool machine_dirs = multi || s.multi_dir;
    for (const prefix_entry *pl = list.plist; pl; pl = pl->next) {
      void *r;
      if (machine_dirs) {
        if ((r = try_candidate(buffer, pl->prefix, machine, callback, data)))
          return r;
        if (pl->require_machine_suffix == 2 &&
            (r = try_candidate(buffer, pl->prefix, machine_only, callback, data)))
          return r;
        if (pl->require_machine_suffix == 0 && s.multiarch_dir &&
            (r = try_candidate(buffer, pl->prefix, s.multiarch_dir, callback, data)))
          return r;
      }
      if (pl->require_machine_suffix != 0)
        continue;
      if (multi) {
        const char *variant = pl->os_multilib ? s.multi_os_dir : s.multi_dir;
        if ((r = try_candidate(buffer, pl->prefix, variant, callback, data)))
          return r;
      } else if (pl->os_multilib ? s.multi_os_dir != nullptr : s.multi_dir != nullptr) {
        if ((r = try_candidate(buffer, pl->prefix, nullptr, callback, data)))
          return r;
      }
    }
    return nullptr;
  };

  result = pass(true);
  if (!result && (s.multi_dir || s.multi_os_dir))
    result = pass(false);

  if (result != buffer)
    std::free(buffer);
  std::free(s.multi_suffix);
  std::free(s.just_multi_suffix);
  std::free(s.multi_dir);
  std::free(s.multi_os_dir);
  std::free(s.multiarch_dir);
  return result;
}

char *search_paths::find_file_on_prefixes(const prefix_list &list, const char *name, int mode,
                                          bool use_multilib) const {
  if (is_sep(name[0]))
    return access(name, mode) == 0 ? xstrdup(name) : nullptr;
  probe_data probe{name, mode, &probes_};
  return static_cast<char *>(
      walk_prefixes(list, use_multilib, std::strlen(name), probe_file, &probe));
}

template <class F> void search_paths::for_each_lookup_key_part(F part) const {
  // Entries are separated by a character that no path holds, so that two
  // different lists never give the same key.
  for (const prefix_entry *pl = exec_prefixes.plist; pl; pl = pl->next) {
    part(pl->prefix, std::strlen(pl->prefix));
    const char flags[3] = {'\0', static_cast<char>('0' + pl->require_machine_suffix),
                           static_cast<char>('0' + pl->os_multilib)};
    part(flags, 3);
  }
  for (const char *text : {machine_suffix, machine_only_suffix, multilib.multiarch_dir,
                           configured_assembler, configured_linker}) {
    part("\n", 1);
    if (text)
      part(text, std::strlen(text));
  }
}

bool search_paths::program_lookups_current() const {
  // Compared in place: a driver looks up its programs once per command.
  std::size_t at = 0;
  bool same = true;
  for_each_lookup_key_part([&](const char *text, std::size_t length) {
    same = same && at + length <= program_lookups_key_.size() &&
           std::memcmp(program_lookups_key_.data() + at, text, length) == 0;
    at += length;
  });
  return same && at == program_lookups_key_.size();
}

char *search_paths::find_program(const char *name) {
  if (!program_lookups_current()) {
    program_lookups_.clear();
    program_lookups_key_.clear();
    for_each_lookup_key_part([this](const char *text, std::size_t length) {
      program_lookups_key_.append(text, length);
    });
  }
  for (const program_lookup &known : program_lookups_)
    if (known.name == name)
      return known.path.empty() ? nullptr : xstrdup(known.path.c_str());
  char *found;
  if (std::strcmp(name, "as") == 0 && access(configured_assembler, X_OK) == 0)
    found = xstrdup(configured_assembler);
  else if (std::strcmp(name, "ld") == 0 && access(configured_linker, X_OK) == 0)
    found = xstrdup(configured_linker);
  else
    found = find_file_on_prefixes(exec_prefixes, name, X_OK, false);
  program_lookups_.push_back({name, found ? found : ""});
  return found;
}

char *search_paths::join_prefix_list(const prefix_list &list, const char *name,
                                     bool check_directories, bool use_multilib) const {
  text_area text;
  text.append(name);
  text.append_char('=');
  join_data join{&text, check_directories, true, this};
  walk_prefixes(list, use_multilib, 0, add_to_joined, &join);
  return text.finish();
}

// The linker searches these itself.
static bool is_linker_default_dir(const char *path) {
  return std::strcmp(path, "/lib") == 0 || std::strcmp(path, "/lib/") == 0 ||
         std::strcmp(path, "/usr/lib") == 0 || std::strcmp(path, "/usr/lib/") == 0;
}

bool search_paths::searchable_dir(const char *path, bool for_linker) const {
  return !(for_linker && is_linker_default_dir(path)) && probes_.directory(path);
}

bool is_searchable_dir(const char *path, bool for_linker) {
  std::size_t len = std::strlen(path);
  bool has_sep = len && is_sep(path[len - 1]);
  char *dot = concat(path, has_sep ? "." : "/.", nullptr);
  bool searchable;
  if (for_linker && (std::strcmp(dot, "/lib/.") == 0 || std::strcmp(dot, "/usr/lib/.") == 0)) {
    searchable = false;
  } else {
    struct stat st;
    searchable = stat(dot, &st) == 0 && S_ISDIR(st.st_mode);
  }
  std::free(dot);
  return searchable;
}

void free_prefix_list(prefix_list *list) {
  for (prefix_entry *pl = list->plist; pl;) {
    prefix_entry *next = pl->next;
    std::free(pl->prefix);
    std::free(pl);
    pl = next;
  }
  list->plist = nullptr;
  list->max_len = 0;
}
