// Temporary files: the directory they are made in, the creation of fresh
// private files, and the driver's registry of files to delete at the end of
// the run or when a compilation fails.
//
// The directory choice and creation (temp-files.cc) are shared with the
// pipeline library and the wrappers; the registry (temp-registry.cc) is the
// driver's and reports through the diagnostic reporter.
#ifndef VRK_PROCESS_TEMP_FILES_H
#define VRK_PROCESS_TEMP_FILES_H

#include <atomic>

// The directory for temporary files, ending in "/": the first usable of
// TMPDIR, TMP, TEMP, "/tmp/", "/var/tmp", "/tmp", else ".".  Chosen once
// per process.
const char *temp_directory();
// The same choice made afresh, as a new text (not cached).
char *choose_temp_directory();

// Create a new empty file, readable and writable by the owner only, named
// <directory>cc<six unique characters><suffix>, and return its name (owned
// by the caller).  Never returns failure: when no file can be made,
// "Cannot create temporary file in <dir>: <error>" goes to standard error
// and the process ends with status 1 (through exit_after_error).
char *create_temp_file(const char *suffix);

// One registered name.  Entries are fully built before they are linked in
// at the head, and never released, so the fatal-signal handler may walk a
// list while the main flow adds to it.
struct temp_file_entry {
  const char *name;
  temp_file_entry *next;
};

// Files deleted at the end of every run, and files deleted only when the
// compilation that made them (or the run) fails.  Newest first.
// Process-wide because the exit hook and the fatal-signal handler must
// find them with no other context.
extern std::atomic<temp_file_entry *> end_delete_list;
extern std::atomic<temp_file_entry *> failure_delete_list;

// When set (the driver's -v), deletion failures are reported as errors;
// read on the same exit paths as the lists.
extern bool temp_files_verbose;

// Record a copy of NAME on the lists asked for; a list never holds the same
// name twice.
void register_temp_file(const char *name, bool delete_at_end, bool delete_on_failure);

// create_temp_file, and the name registered for deletion at the end of
// the run (and on failure when DELETE_ON_FAILURE) before a fatal signal
// can come between: the run's every exit then removes the file, however
// the name is used afterwards.
char *create_registered_temp_file(const char *suffix, bool delete_on_failure);

// Delete NAME when it is a regular file; anything else is left alone.
void delete_regular_file(const char *name);

// Delete every file of end_delete_list and empty it.
void delete_end_files();
// Delete every file of failure_delete_list; the list is kept.
void delete_failure_files();
// Empty failure_delete_list without deleting anything.
void forget_failure_files();

// For the fatal-signal handler: delete the failure files, then the end
// files, and empty end_delete_list.  Async-signal-safe: no allocation, no
// messages, only stat and unlink.
void delete_temp_files_on_signal();

#endif
