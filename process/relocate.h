// Relocation of configured directories relative to where a program was
// actually started, so that an installed tree still works after it was
// moved.  Pure functions: results are new texts (or null), nothing prints.
#ifndef VRK_PROCESS_RELOCATE_H
#define VRK_PROCESS_RELOCATE_H

// Split PATH into components, each running up to and including a "/" and
// any further "/" characters directly after it; a last component without
// "/" is kept when not empty.  Returns a null-terminated vector of new
// texts and stores the count in *COUNT (when COUNT is not null); null for
// an empty or null path.  Release with free_split_directories.
char **split_directories(const char *path, int *count);
void free_split_directories(char **dirs);

// Where TARGET_DIR lies for a program started as PROGNAME when it was
// configured to live in BIN_PREFIX: the directory the program was really
// found in, then "../" for each component of BIN_PREFIX not shared with
// TARGET_DIR, then the rest of TARGET_DIR.  A PROGNAME without "/" is
// looked up along PATH.  With RESOLVE_LINKS the program's path is made
// canonical first (symbolic links, "." and "..").  Null when any argument
// is null, when the program runs from BIN_PREFIX itself, when its path has
// no directory, or when BIN_PREFIX and TARGET_DIR share no component.
char *relative_prefix(const char *progname, const char *bin_prefix, const char *target_dir,
                      bool resolve_links);

#endif
