// POSIX implementation of the pipeline's system operations.  Children are
// started with vfork so that starting a compiler does not copy the driver's
// address space; between vfork and exec the child only moves descriptors,
// switches the environment, execs and writes raw bytes.
#include "process/pex-unix.h"

#include <cerrno>
#include <cstdint>
#include <csignal>
#include <cstring>
#include <type_traits>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "process/live-children.h"
#include "support/error-text.h"

extern "C" char **environ;

namespace {

// What a failing child passes back through the report pipe.  Parent and
// child share the address space layout, so the call's name travels as a
// pointer to the parent's own text.
// Every byte of the record is written to the pipe, so none may be padding
// (padding would carry uninitialised memory into the write).
struct exec_report {
  const char *call;
  std::int32_t error;
  std::int32_t reserved;  // always 0
};
static_assert(sizeof(exec_report) == 16, "the report record is 16 bytes");
static_assert(std::has_unique_object_representations_v<exec_report>,
              "the report record has no padding");

int unix_open_input_file(pex_pipeline *, const char *name, bool) {
  return open(name, O_RDONLY);
}

int unix_open_output_file(pex_pipeline *, const char *name, bool, bool append) {
  return open(name, O_WRONLY | O_CREAT | (append ? O_APPEND : O_TRUNC), 0666);
}

int unix_close_descriptor(pex_pipeline *, int fd) { return close(fd); }

// Raw write of a whole text to descriptor 2; false when it fails.
bool child_write(const char *text) {
  std::size_t len = std::strlen(text);
  while (len > 0) {
    ssize_t n = write(2, text, len);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    text += n;
    len -= static_cast<std::size_t>(n);
  }
  return true;
}

// The child side between vfork and exec.  Never returns.
// The parent's handlers must not run in the child before the exec: it
// shares the parent's memory and would clean up the parent's files.  So
// the child starts with every signal blocked (see unix_spawn_child), sets
// each handled signal back to the default, and only then takes the
// parent's signal mask back for the program it runs.
void reset_signals_for_exec(const sigset_t *parent_mask) {
  for (int sig = 1; sig < NSIG; sig++) {
    struct sigaction action;
    if (sigaction(sig, nullptr, &action) == 0 && action.sa_handler != SIG_DFL &&
        action.sa_handler != SIG_IGN) {
      action.sa_handler = SIG_DFL;
      action.sa_flags = 0;
      sigaction(sig, &action, nullptr);
    }
  }
  sigprocmask(SIG_SETMASK, parent_mask, nullptr);
}

[[noreturn]] void run_child(pex_pipeline *obj, int flags, const char *executable,
                            char *const *argv, char *const *env, int in, int out,
                            int errdes, int toclose, int report_fd,
                            const sigset_t *parent_mask) {
  const char *failed = nullptr;
  int error = 0;
  auto move_fd = [&](int from, int to) {
    if (failed || from == to)
      return;
    if (dup2(from, to) < 0) {
      failed = "dup2";
      error = errno;
    } else if (close(from) < 0) {
      failed = "close";
      error = errno;
    }
  };
  move_fd(in, 0);
  move_fd(out, 1);
  move_fd(errdes, 2);
  if (!failed && toclose >= 0 && close(toclose) < 0) {
    failed = "close";
    error = errno;
  }
  if (!failed && (flags & PEX_MERGE_STDERR) && dup2(1, 2) < 0) {
    failed = "dup2";
    error = errno;
  }
  if (!failed) {
    reset_signals_for_exec(parent_mask);
    if (env)
      environ = const_cast<char **>(env);
    if (flags & PEX_SEARCH_PATH) {
      execvp(executable, argv);
      failed = "execvp";
    } else {
      execv(executable, argv);
      failed = "execv";
    }
    error = errno;
  }

  exec_report report{failed, error, 0};
  bool reported = false;
  if (report_fd >= 0) {
    ssize_t n;
    do
      n = write(report_fd, &report, sizeof report);
    while (n < 0 && errno == EINTR);
    reported = n == static_cast<ssize_t>(sizeof report);
  }
  bool wrote = true;
  if (!reported) {
    const char *parts[] = {obj->program_name ? obj->program_name : "",
                           ": error trying to exec '", executable, "': ", failed, ": ",
                           error_text(error), "\n"};
    for (const char *part : parts)
      if (wrote && !child_write(part))
        wrote = false;
  }
  _exit(wrote ? -1 : -2);
}

// Wait until PID has ended, then reap it (with its resource usage when
// USAGE is given) and forget it as a live child.  The child is reaped
// with the signals blocked: a handler then never waits for a process
// that is gone, nor misses one that still runs.
pid_t wait_and_forget(pid_t pid, int *status, struct rusage *usage) {
  siginfo_t info;
  while (waitid(P_PID, pid, &info, WEXITED | WNOWAIT) < 0)
    if (errno != EINTR)
      return -1;
  sigset_t all_signals, previous;
  sigfillset(&all_signals);
  sigprocmask(SIG_SETMASK, &all_signals, &previous);
  pid_t result;
  do
    result = usage ? wait4(pid, status, 0, usage) : waitpid(pid, status, 0);
  while (result < 0 && errno == EINTR);
  int saved_errno = errno;
  note_child_reaped(pid);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  errno = saved_errno;
  return result;
}

pid_t unix_spawn_child(pex_pipeline *obj, int flags, const char *executable,
                       char *const *argv, char *const *env, int in, int out, int errdes,
                       int toclose, const char **errmsg, int *err) {
  // Both ends close on exec: a successful exec shows up in the parent as
  // end-of-file on the read end.
  int report[2] = {-1, -1};
  if (pipe2(report, O_CLOEXEC) < 0)
    report[0] = report[1] = -1;

  char **saved_environ = environ;
  pid_t pid = -1;
  int vfork_error = 0;
  unsigned int sleep_seconds = 1;
  // Signals stay blocked from before the vfork until the new child is
  // noted as live, so that a fatal-signal handler can stop every child.
  sigset_t all_signals, parent_mask;
  sigfillset(&all_signals);
  for (int attempt = 0; attempt < 4; ++attempt) {
    sigprocmask(SIG_SETMASK, &all_signals, &parent_mask);
    pid = vfork();
    if (pid >= 0)
      break;
    vfork_error = errno;
    sigprocmask(SIG_SETMASK, &parent_mask, nullptr);
    sleep(sleep_seconds);
    sleep_seconds *= 2;
  }

  if (pid == 0) {
    if (report[0] >= 0)
      close(report[0]);
    run_child(obj, flags, executable, argv, env, in, out, errdes, toclose, report[1],
              &parent_mask);
  }

  // The child may have replaced the environment pointer in the shared
  // address space.
  environ = saved_environ;
  if (pid > 0) {
    note_child_started(pid);
    sigprocmask(SIG_SETMASK, &parent_mask, nullptr);
  }

  const char *failed = nullptr;
  int error = 0;
  if (pid < 0) {
    if (report[0] >= 0) {
      close(report[0]);
      close(report[1]);
    }
    failed = "vfork";
    error = vfork_error;
  } else if (report[0] >= 0) {
    close(report[1]);
    exec_report received{};
    ssize_t n;
    do
      n = read(report[0], &received, sizeof received);
    while (n < 0 && errno == EINTR);
    close(report[0]);
    if (n == static_cast<ssize_t>(sizeof received)) {
      failed = received.call;
      error = received.error;
    } else if (n > 0) {
      // A torn record still says the exec did not happen.
      failed = (flags & PEX_SEARCH_PATH) ? "execvp" : "execv";
      error = 0;
    }
    if (failed) {
      // The child has ended by itself; reap it so that it does not linger.
      int status;
      wait_and_forget(pid, &status, nullptr);
    }
  }

  auto close_parent_end = [&](int fd, int standard) {
    if (fd != standard && fd >= 0 && close(fd) < 0 && !failed) {
      failed = "close";
      error = errno;
    }
  };
  close_parent_end(in, 0);
  close_parent_end(out, 1);
  close_parent_end(errdes, 2);

  if (failed) {
    *errmsg = failed;
    *err = error;
    return -1;
  }
  return pid;
}

int unix_wait_child(pex_pipeline *, pid_t pid, int *status, pex_times *time, bool done,
                    const char **errmsg, int *err) {
  if (done)
    kill(pid, SIGTERM);
  struct rusage usage;
  pid_t result = wait_and_forget(pid, status, time ? &usage : nullptr);
  if (result >= 0 && time) {
    time->user_sec = usage.ru_utime.tv_sec;
    time->user_usec = usage.ru_utime.tv_usec;
    time->sys_sec = usage.ru_stime.tv_sec;
    time->sys_usec = usage.ru_stime.tv_usec;
  }
  if (result < 0) {
    *err = errno;
    *errmsg = "wait";
    return -1;
  }
  return 0;
}

int unix_create_pipe(pex_pipeline *, int fds[2], bool) { return pipe(fds); }

std::FILE *unix_stream_for_reading(pex_pipeline *, int fd, bool) { return fdopen(fd, "r"); }

std::FILE *unix_stream_for_writing(pex_pipeline *, int fd, bool) {
  if (fcntl(fd, F_SETFD, FD_CLOEXEC) < 0)
    return nullptr;
  return fdopen(fd, "w");
}

} // namespace

const pex_system_ops pex_unix_ops = {
    unix_open_input_file, unix_open_output_file, unix_spawn_child,
    unix_close_descriptor, unix_wait_child,      unix_create_pipe,
    unix_stream_for_reading, unix_stream_for_writing,
    nullptr,  // release: nothing to release
};
