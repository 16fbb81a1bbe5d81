// Argument-file syntax: splitting a text into arguments, writing arguments
// so that splitting reads them back exactly, and the in-place expansion of
// "@file" arguments on a command line.
//
// Syntax: arguments are separated by runs of whitespace (space, tab,
// newline, vertical tab, form feed, carriage return).  A backslash makes
// the next character literal (inside quotes too); single and double quotes
// enclose literal text (the other quote included) and are not part of the
// argument; "" is an empty argument.
#ifndef VRK_PROCESS_ARGV_H
#define VRK_PROCESS_ARGV_H

#include <cstdio>
#include <vector>

// Parse TEXT into a null-terminated vector of new texts.  Always at least
// one argument (a text of only whitespace gives one empty argument); null
// when TEXT is null.
char **split_arguments(const char *text);

// Release a vector made by split_arguments (or expand_response_files).
void free_arguments(char **argv);

// Number of entries before the null terminator.
int count_arguments(char *const *argv);

// Write ARGV (null-terminated) to STREAM, one argument per line, in the
// file syntax.  0 on success, 1 on failure (or when STREAM is null).
int write_arguments(char *const *argv, std::FILE *stream);

// Failure texts of expand_response_files.  The caller writes
// "<argv[0]>: error: <text>\n" on standard error and exits with status 1.
inline constexpr char too_many_response_files[] = "too many @-files encountered";
inline constexpr char response_file_is_directory[] = "@-file refers to a directory";

// Replace, in place, every argument after the program name that begins
// with "@" and names a readable file by the arguments in that file
// (nested files too).  Before the first change the vector is copied (the
// copy owns its texts), so comparing *ARGVP with the vector passed tells
// whether anything was expanded.  Arguments naming no readable file stay
// as they are.  Returns null, or one of the failure texts above: on the
// 2000th "@" argument, or when an "@" names a directory.
//
// With ORIGINS, one entry per argument of the result tells which argument
// file it was read from and its word number there (from 1); the file is
// null for arguments given on the command line itself.  ORIGINS stays
// empty when nothing was expanded.
struct argument_origin {
  const char *file;
  int word;
};
const char *expand_response_files(int *argcp, char ***argvp,
                                  std::vector<argument_origin> *origins = nullptr);

#endif
