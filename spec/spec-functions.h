// The built-in spec functions called as %:NAME(ARGS).  Each receives its
// expanded arguments (ARGC words, ARGV[ARGC] null) and returns a text that
// the caller interprets in place of the call, or null for nothing (false
// in a group condition).  A handler that answers "true" returns "".
// Returned texts are constants or allocations kept for the run.
#ifndef VRK_SPEC_SPEC_FUNCTIONS_H
#define VRK_SPEC_SPEC_FUNCTIONS_H

class spec_interpreter;

// Environment and files (spec-functions-files.cc).
const char *getenv_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *if_exists_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *if_exists_else_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *if_exists_then_else_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *include_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *find_file_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *find_plugindir_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *print_asm_header_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *fortran_preinclude_file_spec_function(spec_interpreter &in, int argc,
                                                  const char **argv);

// Output files, sanitizers, dumps and library pass-through
// (spec-functions-misc.cc).
const char *sanitize_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *replace_outfile_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *remove_outfile_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *pass_through_libs_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *dumps_spec_function(spec_interpreter &in, int argc, const char **argv);

// Numeric and version comparisons (spec-functions-compare.cc).
const char *version_compare_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *greater_than_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *debug_level_greater_than_spec_function(spec_interpreter &in, int argc,
                                                   const char **argv);
const char *dwarf_version_greater_than_spec_function(spec_interpreter &in, int argc,
                                                     const char **argv);

// -fcompare-debug (spec-functions-compare-debug.cc).
const char *compare_debug_dump_opt_spec_function(spec_interpreter &in, int argc, const char **argv);
const char *compare_debug_self_opt_spec_function(spec_interpreter &in, int argc, const char **argv);
// compare-debug-dump-opt stores the dump name of each compilation in the
// run's compare-debug record.

// TEXT quoted as one spec argument: blank, tab, newline, "|", "%" and
// backslash get a backslash before them; the empty text becomes %" (the
// escape for an empty argument).  A new text.
char *quote_spec_argument(const char *text);

// Whether TEXT is a version number: decimal numbers without leading zeros
// separated by single dots.
bool is_version_number(const char *text);
// Version-string order of two version numbers: digit runs compare
// numerically (however long), a text that is a prefix of the other sorts
// first.  Negative, zero or positive.
int compare_version_numbers(const char *a, const char *b);

#endif
