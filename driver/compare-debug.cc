// -fcompare-debug: the second compilation of each input and the
// byte-for-byte comparison of the two final dumps.
#include "driver/compare-debug.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "spec/interpreter.h"

namespace {

// Compare two files byte for byte by reading them as streams.
// -1: a file could not be opened (reported); 0 equal; 1 different.
int compare_streams(const char *name, const char *first, const char *second) {
  std::FILE *a = std::fopen(first, "rb");
  if (!a) {
    error_noloc("%s: could not open compare-debug file %s", name, first);
    return -1;
  }
  std::FILE *b = std::fopen(second, "rb");
  if (!b) {
    error_noloc("%s: could not open compare-debug file %s", name, second);
    std::fclose(a);
    return -1;
  }
  int result = 0;
  for (;;) {
    int ca = std::getc(a), cb = std::getc(b);
    if (ca != cb) {
      result = 1;
      break;
    }
    if (ca == EOF)
      break;
  }
  std::fclose(a);
  std::fclose(b);
  return result;
}

// The size of a dump, or -1 after the error (it must be a regular file).
off_t dump_length(const char *name, const char *file) {
  struct stat st;
  if (stat(file, &st) != 0 || !S_ISREG(st.st_mode)) {
    error_noloc("%s: could not determine length of compare-debug file %s", name, file);
    return -1;
  }
  return st.st_size;
}

// -1: an error was reported; 0 equal; 1 different (not yet reported).
int compare_dump_files(const char *name, const char *first, const char *second) {
  off_t first_length = dump_length(name, first);
  if (first_length < 0)
    return -1;
  off_t second_length = dump_length(name, second);
  if (second_length < 0)
    return -1;
  if (first_length != second_length) {
    error_noloc("%s: %<-fcompare-debug%> failure (length)", name);
    return -1;
  }

  int fa = open(first, O_RDONLY);
  if (fa < 0) {
    error_noloc("%s: could not open compare-debug file %s", name, first);
    return -1;
  }
  int fb = open(second, O_RDONLY);
  if (fb < 0) {
    error_noloc("%s: could not open compare-debug file %s", name, second);
    close(fa);
    return -1;
  }
  auto length = static_cast<std::size_t>(first_length);
  int result = -2;
  if (length == 0) {
    result = 0;
  } else {
    void *ma = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fa, 0);
    void *mb = ma == MAP_FAILED ? MAP_FAILED : mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fb, 0);
    if (ma != MAP_FAILED && mb != MAP_FAILED)
      result = std::memcmp(ma, mb, length) != 0;
    if (ma != MAP_FAILED)
      munmap(ma, length);
    if (mb != MAP_FAILED)
      munmap(mb, length);
  }
  close(fa);
  close(fb);
  if (result == -2)
    result = compare_streams(name, first, second);
  return result;
}

} // namespace

bool compare_debug_second_compilation(spec_interpreter &in, const char *name, const char *spec) {
  compilation &comp = in.comp;
  compare_debug_state &cd = comp.compare_debug;
  bool verbose = comp.options.x_verbose_flag != 0;
  if (verbose)
    inform(UNKNOWN_LOCATION, "recompiling with %<-fcompare-debug%>");

  // The second compilation sees its own switches (what its specs record
  // on them, liveness and claims, stays with them for the next input).
  cd.mode = -cd.mode;
  std::swap(comp.switches, cd.second_switches);
  int value = in.run_spec(spec);
  std::swap(comp.switches, cd.second_switches);
  cd.mode = -cd.mode;

  bool failed = false;
  if (value < 0) {
    error_noloc("during %<-fcompare-debug%> recompilation");
    failed = true;
  }

  vrk_assert(cd.dumps[1]);
  vrk_assert(std::strcmp(cd.dumps[0], cd.dumps[1]) != 0);

  if (verbose)
    inform(UNKNOWN_LOCATION, "comparing final insns dumps");

  int compared = compare_dump_files(name, cd.dumps[0], cd.dumps[1]);
  if (compared == 1)
    error_noloc("%s: %<-fcompare-debug%> failure", name);
  if (compared != 0)
    failed = true;

  cd.release_dumps();
  return !failed;
}
