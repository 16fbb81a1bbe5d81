// POSIX implementation of the pipeline's system operations.  Children are
// started with vfork so that starting a compiler does not copy the driver's
// address space; between vfork and exec the child only moves descriptors,
// switches the environment, execs and writes raw bytes.
#include "process/pex-unix.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/error-text.h"

extern "C" char **environ;

namespace {

// What a failing child passes back through the report pipe.  Parent and
// child share the address space layout, so the call's name travels as a
// pointer to the parent's own text.
struct exec_report {
  const char *call;
  int error;
};
static_assert(sizeof(exec_report) == 16, "the report record is 16 bytes");

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
[[noreturn]] void run_child(pex_pipeline *obj, int flags, const char *executable,
                            char *const *argv, char *const *env, int in, int out,
                            int errdes, int toclose, int report_fd) {
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

  exec_report report{failed, error};
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
  for (int attempt = 0; attempt < 4; ++attempt) {
    pid = vfork();
    if (pid >= 0)
      break;
    vfork_error = errno;
    sleep(sleep_seconds);
    sleep_seconds *= 2;
  }

  if (pid == 0) {
    if (report[0] >= 0)
      close(report[0]);
    run_child(obj, flags, executable, argv, env, in, out, errdes, toclose, report[1]);
  }

  // The child may have replaced the environment pointer in the shared
  // address space.
  environ = saved_environ;

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
      while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
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
  pid_t result;
  if (time) {
    struct rusage usage;
    do
      result = wait4(pid, status, 0, &usage);
    while (result < 0 && errno == EINTR);
    if (result >= 0) {
      time->user_sec = usage.ru_utime.tv_sec;
      time->user_usec = usage.ru_utime.tv_usec;
      time->sys_sec = usage.ru_stime.tv_sec;
      time->sys_usec = usage.ru_stime.tv_usec;
    }
  } else {
    do
      result = waitpid(pid, status, 0);
    while (result < 0 && errno == EINTR);
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
