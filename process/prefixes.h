// Search prefixes: the three ordered directory lists along which the driver
// finds its child programs, start files, libraries and specs files, the walk
// over a list (machine subdirectories and multilib variants), the lookups
// built on it, and the rewriting of configured installation paths so that
// an installed tree can be moved.
//
// Everything a walk depends on is held by one `search_paths` object that
// its owner passes in: the lists, the machine suffixes, the multilib
// directories chosen for the run and the installation root.  Nothing here
// knows where those values come from.
//
// Nothing here prints, except the fatal error of add_sysroot_prefix for a
// relative system directory.  Lookups return new texts the caller owns, or
// null when nothing is found.
#ifndef VRK_PROCESS_PREFIXES_H
#define VRK_PROCESS_PREFIXES_H

#include <cstddef>
#include <string>
#include <vector>

#include "process/probe-memo.h"
#include "support/configuration.h"

// Priorities: every -B directory precedes every other directory.
enum : int {
  PREFIX_PRIORITY_B_OPT = 0,
  PREFIX_PRIORITY_LAST = 1,
};

struct prefix_entry {
  char *prefix;                // directory text, normally ending in "/"
  prefix_entry *next;
  int require_machine_suffix;  // 0: bare and multiarch too; 1: machine/version
                               // only; 2: machine/version and machine only
  int priority;                // PREFIX_PRIORITY_*
  int os_multilib;             // multilib variant uses the OS multilib dir
};

struct prefix_list {
  prefix_entry *plist;  // first entry, null when empty
  int max_len;          // longest entry text added so far
  const char *name;     // "exec", "startfile", or null
};

// Release every entry of LIST and empty it.
void free_prefix_list(prefix_list *list);

// The multilib variant a walk adds (each null when none): the library
// directory M, the OS library directory OM and the multiarch directory MA.
struct multilib_dirs {
  const char *dir = nullptr;
  const char *os_dir = nullptr;
  const char *multiarch_dir = nullptr;
};

// Called with each candidate directory in a buffer that has room for
// EXTRA_SPACE more characters; a non-null result ends the walk.  Returning
// PATH itself hands the buffer to walk_prefixes' caller.
using prefix_callback = void *(*)(char *path, void *data);

class search_paths {
public:
  search_paths() = default;
  search_paths(const search_paths &) = delete;
  search_paths &operator=(const search_paths &) = delete;
  ~search_paths();

  prefix_list exec_prefixes{nullptr, 0, "exec"};            // child programs
  prefix_list startfile_prefixes{nullptr, 0, "startfile"};  // libraries, start files, specs files
  prefix_list include_prefixes{nullptr, 0, nullptr};        // include/ and include-fixed/ parents

  // "aarch64-portbld-freebsd15.0/13.2.0/" and "aarch64-portbld-freebsd15.0/",
  // set when the specs are loaded; a walk before that uses the configured
  // texts.
  const char *machine_suffix = nullptr;
  const char *machine_only_suffix = nullptr;
  // Set by the multilib selection.
  multilib_dirs multilib;
  // The installation root that keyed paths are relative to.
  const char *standard_prefix = config::prefix;
  // The configured assembler and linker that find_program prefers for "as"
  // and "ld" (tests point them into a scratch tree).
  const char *configured_assembler = config::default_assembler;
  const char *configured_linker = config::default_linker;

  // Add DIRECTORY (after relocate_path with COMPONENT) to LIST behind every
  // entry of lower or equal priority.
  void add_search_prefix(prefix_list &list, const char *directory, const char *component,
                         int priority, int require_machine_suffix, int os_multilib);

  // Add a system directory to startfile_prefixes, under SYSROOT_DIR and
  // SYSROOT_SUFFIX when a system root is set.  A relative DIRECTORY is a
  // fatal error.
  void add_sysroot_prefix(const char *directory, const char *component, const char *sysroot_dir,
                          const char *sysroot_suffix);

  // standard_prefix = the first LENGTH characters of TEXT.
  void set_standard_prefix(const char *text, std::size_t length);

  // relocate_path under this object's standard_prefix.
  char *relocate(const char *path, const char *component) const;

  void *walk_prefixes(const prefix_list &list, bool use_multilib, std::size_t extra_space,
                      prefix_callback callback, void *data) const;

  // NAME found along LIST, accessible with MODE (access(2) bits; for X_OK
  // it must also exist and not be a directory).  An absolute NAME is only
  // tested.
  char *find_file_on_prefixes(const prefix_list &list, const char *name, int mode,
                              bool use_multilib) const;

  // A child program: the configured assembler/linker for "as"/"ld" when
  // executable, else along exec_prefixes without multilib variants.  The
  // answers are remembered under a key made of everything the lookup
  // reads (the entries of exec_prefixes, the suffixes, the multiarch
  // directory, the configured tools), so any change to those starts
  // afresh; only a change to the file system itself goes unnoticed.
  char *find_program(const char *name);

  // "NAME=" followed by the candidate directories of LIST joined by ":".
  char *join_prefix_list(const prefix_list &list, const char *name, bool check_directories,
                         bool use_multilib) const;

  // is_searchable_dir, asking the file system once per path and run.
  bool searchable_dir(const char *path, bool for_linker) const;

private:
  struct program_lookup {
    std::string name;
    std::string path;  // empty: not found
  };
  // Calls PART(text, length) with each part of what program lookups
  // read; the parts joined are the key of the remembered lookups.
  template <class F> void for_each_lookup_key_part(F part) const;
  bool program_lookups_current() const;

  std::vector<program_lookup> program_lookups_;
  std::string program_lookups_key_;
  // Every probe of a walk goes through here; the lists may change between
  // walks, the answers for a path do not.
  mutable probe_memo probes_;
};

// PATH rewritten for an installation root taken from the environment
// (COMPONENT "VRK" -> VRK_ROOT, "OBJKIT" -> OBJKIT_ROOT) when it lies under
// STANDARD_PREFIX, then with "dir/../" folded where dir does not exist.
// Always a new text.  MEMO, when given, answers the probes of the folding.
char *relocate_path(const char *path, const char *component, const char *standard_prefix,
                    probe_memo *memo = nullptr);

// Expand a leading "@KEY" (environment KEY_ROOT, else STANDARD_PREFIX) or
// "$KEY" (environment KEY), repeatedly.  Always a new text.
char *translate_prefix_key(const char *text, const char *standard_prefix);

// PATH/. exists and is a directory; with FOR_LINKER, "/lib" and "/usr/lib"
// count as not searchable (the linker searches them anyway).
bool is_searchable_dir(const char *path, bool for_linker);

#endif
