// Search prefixes: the three ordered directory lists along which the driver
// finds its child programs, start files, libraries and specs files, the walk
// over a list (machine subdirectories and multilib variants), the lookups
// built on it, and the rewriting of configured installation paths so that
// an installed tree can be moved.
//
// Nothing here prints, except the fatal error of add_sysroot_prefix for a
// relative system directory.  Lookups return new texts the caller owns, or
// null when nothing is found.
#ifndef VRK_PROCESS_PREFIXES_H
#define VRK_PROCESS_PREFIXES_H

#include <cstddef>

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

extern prefix_list exec_prefixes;       // child programs
extern prefix_list startfile_prefixes;  // libraries, start files, specs files
extern prefix_list include_prefixes;    // include/ and include-fixed/ parents

// "aarch64-portbld-freebsd15.0/13.2.0/" and "aarch64-portbld-freebsd15.0/",
// set once when the specs are loaded; a walk before that uses the
// configured texts.
extern const char *machine_suffix;
extern const char *machine_only_suffix;

// The installation root that keyed paths are relative to; starts as
// "/usr/local/tolv13".
extern const char *standard_prefix;

// The configured assembler and linker that find_program prefers for "as"
// and "ld" ("/usr/local/bin/as", "/usr/local/bin/ld"); variables so that
// tests can point them into a scratch tree.
extern const char *configured_assembler;
extern const char *configured_linker;

// Add DIRECTORY (after relocate_path with COMPONENT) to LIST behind every
// entry of lower or equal priority.
void add_search_prefix(prefix_list *list, const char *directory, const char *component,
                       int priority, int require_machine_suffix, int os_multilib);

// Add a system directory to startfile_prefixes, under the system root and
// sysroot suffix when one is set.  A relative DIRECTORY is a fatal error.
void add_sysroot_prefix(const char *directory, const char *component);

// Release every entry of LIST and empty it.
void free_prefix_list(prefix_list *list);

// standard_prefix = the first LENGTH characters of TEXT.
void set_standard_prefix(const char *text, std::size_t length);

// PATH rewritten for an installation root taken from the environment
// (COMPONENT "VRK" -> VRK_ROOT, "OBJKIT" -> OBJKIT_ROOT) when it lies under
// standard_prefix, then with "dir/../" folded where dir does not exist.
// Always a new text.
char *relocate_path(const char *path, const char *component);

// Expand a leading "@KEY" (environment KEY_ROOT, else standard_prefix) or
// "$KEY" (environment KEY), repeatedly.  Always a new text.
char *translate_prefix_key(const char *text);

// Called with each candidate directory in a buffer that has room for
// EXTRA_SPACE more characters; a non-null result ends the walk.  Returning
// PATH itself hands the buffer to walk_prefixes' caller.
using prefix_callback = void *(*)(char *path, void *data);

void *walk_prefixes(const prefix_list *list, bool use_multilib, std::size_t extra_space,
                    prefix_callback callback, void *data);

// NAME found along LIST, accessible with MODE (access(2) bits; for X_OK it
// must also exist and not be a directory).  An absolute NAME is only tested.
char *find_file_on_prefixes(const prefix_list *list, const char *name, int mode,
                            bool use_multilib);

// A child program: the configured assembler/linker for "as"/"ld" when
// executable, else along exec_prefixes without multilib variants.
char *find_program(const char *name);
// Answers of find_program are remembered for the run and forgotten when
// exec_prefixes, the suffixes or the configured tools change; a caller that
// changes the file system under them forgets them explicitly.
void forget_program_lookups();

// "NAME=" followed by the candidate directories of LIST joined by ":".
char *join_prefix_list(const prefix_list *list, const char *name, bool check_directories,
                       bool use_multilib);

// PATH/. exists and is a directory; with FOR_LINKER, "/lib" and "/usr/lib"
// count as not searchable (the linker searches them anyway).
bool is_searchable_dir(const char *path, bool for_linker);

#endif
