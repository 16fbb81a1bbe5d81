// What every fuzz target shares: fatal errors and internal errors end one
// input instead of the process, every input of the spec machinery gets a
// fresh run record and interpreter, and the process-wide state that a run
// leaves behind (reporter counters, named specs, temporary files) is put
// back before the next input.
#ifndef VRK_FUZZ_FUZZ_SUPPORT_H
#define VRK_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class spec_interpreter;

// Thrown through the reporter's exit (support/error-exit.h) in place of
// ending the process.
struct fuzz_exit {
  int status;
};

// Once per process: the exit hook, a private temporary directory (TMPDIR,
// so that the temporary files an input makes land there), the reporter,
// the option tables.  The current directory is left alone: libFuzzer
// writes its corpus there.
void fuzz_initialize();

// Run F; true when it returned, false when it ended in a fatal or
// internal error.  The reporter is made ready for the next input either
// way.
template <typename F> bool fuzz_run(F &&f) {
  try {
    f();
  } catch (const fuzz_exit &) {
    extern void fuzz_after_exit();
    fuzz_after_exit();
    return false;
  }
  return true;
}

// The bytes as a text, cut at the first NUL (the parsers see C strings).
std::string fuzz_text(const std::uint8_t *data, std::size_t size);

// The private directory made by fuzz_initialize, ending in "/".
const std::string &fuzz_directory();

// A stream to /dev/null, opened once (a fatal error inside a target
// must not leave a descriptor open per input).
std::FILE *fuzz_null_stream();

// Write DATA to a file of that directory; returns its name.
std::string fuzz_write_file(const char *name, const std::string &data);

// A fresh run record and interpreter over it, replacing the previous
// input's: the compilers table, the current input "dir/foo.c", the
// switches -O2 -fno-common -D FOO -o out.o -mcpu=cortex-a53+crc -Wall -g
// (liveness undecided), two output slots; the built-in named specs and
// multilib tables; every temporary file of the previous input is deleted.
// A recorder takes the commands, so nothing runs; self-spec options are
// decoded and ignored.
spec_interpreter &fuzz_reset_spec_state();

#endif
