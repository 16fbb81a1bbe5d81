// The driver's registry of temporary files to delete at the end of the run
// or when a compilation fails.  Kept apart from the file creation so that
// the wrappers, which only create files, do not pull in the reporter.
#include <cerrno>
#include <csignal>
#include <cstring>
#include <initializer_list>
#include <sys/stat.h>
#include <unistd.h>

#include "diagnostics/diagnostic.h"
#include "process/temp-files.h"
#include "support/text.h"
#include "support/xmalloc.h"

std::atomic<temp_file_entry *> end_delete_list{nullptr};
std::atomic<temp_file_entry *> failure_delete_list{nullptr};
bool temp_files_verbose = false;

namespace {

bool list_holds(const temp_file_entry *entry, const char *name) {
  for (; entry; entry = entry->next)
    if (std::strcmp(entry->name, name) == 0)
      return true;
  return false;
}

// Put NAME at the head of LIST unless it is there already.  *COPY is the
// one copy of the name that both lists share, made on first need.
void push_name(std::atomic<temp_file_entry *> &list, const char *name, const char **copy) {
  if (list_holds(list.load(std::memory_order_acquire), name))
    return;
  if (!*copy)
    *copy = xstrdup(name);
  auto *entry = static_cast<temp_file_entry *>(xmalloc(sizeof(temp_file_entry)));
  entry->name = *copy;
  entry->next = list.load(std::memory_order_relaxed);
  // The entry is complete before it becomes visible to a signal handler.
  list.store(entry, std::memory_order_release);
}

// stat and unlink only: safe from a signal handler.  Returns false when an
// existing regular file could not be removed (errno tells why).
bool unlink_if_regular(const char *name) {
  struct stat st;
  if (stat(name, &st) != 0 || !S_ISREG(st.st_mode))
    return true;
  return unlink(name) == 0;
}

void delete_list_quietly(const temp_file_entry *entry) {
  for (; entry; entry = entry->next)
    unlink_if_regular(entry->name);
}

} // namespace

void register_temp_file(const char *name, bool delete_at_end, bool delete_on_failure) {
  const char *copy = nullptr;
  if (delete_at_end)
    push_name(end_delete_list, name, &copy);
  if (delete_on_failure)
    push_name(failure_delete_list, name, &copy);
}

char *create_registered_temp_file(const char *suffix, bool delete_on_failure) {
  // Between the creation of the file and its registration a fatal signal
  // would find a file that the handler does not know: hold the signals
  // back until the name is on the list.
  sigset_t fatal_signals, previous;
  sigemptyset(&fatal_signals);
  for (int sig : {SIGINT, SIGHUP, SIGTERM, SIGPIPE})
    sigaddset(&fatal_signals, sig);
  sigprocmask(SIG_BLOCK, &fatal_signals, &previous);
  char *name = create_temp_file(suffix);
  register_temp_file(name, true, delete_on_failure);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  return name;
}

void delete_regular_file(const char *name) {
  if (!unlink_if_regular(name) && temp_files_verbose)
    error_noloc("%s: %m", name);
}

void delete_end_files() {
  for (const temp_file_entry *entry = end_delete_list.load(std::memory_order_acquire); entry;
       entry = entry->next)
    delete_regular_file(entry->name);
  end_delete_list.store(nullptr, std::memory_order_release);
}

void delete_failure_files() {
  for (const temp_file_entry *entry = failure_delete_list.load(std::memory_order_acquire);
       entry; entry = entry->next)
    delete_regular_file(entry->name);
}

void forget_failure_files() { failure_delete_list.store(nullptr, std::memory_order_release); }

void delete_temp_files_on_signal() {
  int saved_errno = errno;
  delete_list_quietly(failure_delete_list.load(std::memory_order_acquire));
  delete_list_quietly(end_delete_list.load(std::memory_order_acquire));
  end_delete_list.store(nullptr, std::memory_order_release);
  errno = saved_errno;
}
