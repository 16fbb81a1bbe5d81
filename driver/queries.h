// Queries answered instead of compiling: the -print- options, --help,
// --version and the -v banner.
#ifndef VRK_DRIVER_QUERIES_H
#define VRK_DRIVER_QUERIES_H

#include <cstdio>

#include "diagnostics/intl.h"

struct compilation;

// True when a query was answered and the run stops (status 0).
bool answer_queries(compilation &comp);

// The -v banner: target, configuration, thread model, version.
void print_version_banner(std::FILE *stream);

// The --help text (data in usage-text.cc).
extern const char *const usage_lines_head[];
extern const int usage_lines_head_count;
extern const char *const usage_lines_tail[];
extern const int usage_lines_tail_count;
// The usage of INVOCATION_NAME; VERBOSE: -v was given.
void print_usage(const char *invocation_name, bool verbose);

#endif
