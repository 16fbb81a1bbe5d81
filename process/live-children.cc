#include "process/live-children.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <sys/wait.h>

namespace {

// A command group has a handful of stages; a child beyond the table is
// simply not stopped by the handler.  Process-wide: the fatal-signal
// handler and the exit hook read it with no other context.
constexpr int capacity = 64;
std::atomic<pid_t> live[capacity];

} // namespace

void note_child_started(pid_t pid) {
  for (std::atomic<pid_t> &slot : live) {
    pid_t expected = 0;
    if (slot.compare_exchange_strong(expected, pid))
      return;
  }
}

void note_child_reaped(pid_t pid) {
  for (std::atomic<pid_t> &slot : live) {
    pid_t expected = pid;
    if (slot.compare_exchange_strong(expected, 0))
      return;
  }
}

void stop_live_children(int sig) {
  int saved_errno = errno;
  for (std::atomic<pid_t> &slot : live)
    if (pid_t pid = slot.load(); pid > 0)
      kill(pid, sig);
  for (std::atomic<pid_t> &slot : live)
    if (pid_t pid = slot.exchange(0); pid > 0) {
      int status;
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }
  errno = saved_errno;
}
