// The reproduction procedure for an internal compiler error under
// -freport-bug: rerun the failed compiler command to see whether the crash
// repeats identically, and if so keep its preprocessed source, with the
// error output and the command line as comments, for the bug report.
#ifndef VRK_PROCESS_REPORT_BUG_H
#define VRK_PROCESS_REPORT_BUG_H

#include <cstdio>

// ARGV is the failed compiler command (null-terminated; ARGV[0] is the
// program path).  CURRENT_INPUT is the input being compiled (null when
// none).  PRINT_VERSION_BANNER (may be null) writes the -v banner into the
// kept error output.  Gives up silently when the command is not one that
// can be rerun with its output on standard output.
void try_generate_repro(const char *const *argv, const char *current_input,
                        void (*print_version_banner)(std::FILE *stream));

// Whether the files A and B have the same size and contents.  False when
// either cannot be read.
bool files_identical(const char *a, const char *b);

#endif
