// run-status PROGRAM ARGS...: run a program and print how it ended, as the
// last line on standard output: "exit status: N" or "killed by signal: NAME"
// (NAME as in SIGSEGV).  Exits 0 itself unless the program could not be run,
// so driver tests can check exact exit statuses with FileCheck.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: run-status program [arguments...]\n");
    return 2;
  }
  fflush(stdout);
  pid_t pid = fork();
  if (pid < 0) {
    perror("run-status: fork");
    return 2;
  }
  if (pid == 0) {
    execvp(argv[1], argv + 1);
    fprintf(stderr, "run-status: cannot run %s: %s\n", argv[1], strerror(errno));
    _exit(127);
  }
  int status;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) {
      perror("run-status: waitpid");
      return 2;
    }
  if (WIFEXITED(status)) {
    printf("exit status: %d\n", WEXITSTATUS(status));
  } else if (WIFSIGNALED(status)) {
    if (const char *name = sigabbrev_np(WTERMSIG(status)))
      printf("killed by signal: SIG%s\n", name);
    else
      printf("killed by signal: %d\n", WTERMSIG(status));
  }
  return 0;
}
