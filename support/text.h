// Text helpers over the checked allocation routines.  Every result is a
// new allocation that the caller owns (the driver keeps them for the run).
#ifndef VRK_SUPPORT_TEXT_H
#define VRK_SUPPORT_TEXT_H

#include <cstdarg>
#include <cstddef>

char *xstrdup(const char *s);
char *xstrndup(const char *s, std::size_t n);

// Concatenate texts up to a terminating null pointer:
//   concat("a", b, "c", nullptr)
char *concat(const char *first, ...) __attribute__((sentinel));

// printf into a new text.
char *xasprintf(const char *format, ...) __attribute__((format(printf, 1, 2)));
char *xvasprintf(const char *format, std::va_list ap);

#endif
