// Copies, concatenations and printf into new texts, all through the
// checked allocation routines.
#include "support/text.h"

#include <cstdio>
#include <cstring>

#include "support/xmalloc.h"

char *xstrdup(const char *s) {
  std::size_t len = std::strlen(s);
  char *copy = static_cast<char *>(xmalloc(len + 1));
  std::memcpy(copy, s, len + 1);
  return copy;
}

char *xstrndup(const char *s, std::size_t n) {
  std::size_t len = strnlen(s, n);
  char *copy = static_cast<char *>(xmalloc(len + 1));
  std::memcpy(copy, s, len);
  copy[len] = '\0';
  return copy;
}

char *concat(const char *first, ...) {
  std::size_t total = 0;
  std::va_list ap;
  va_start(ap, first);
  for (const char *s = first; s; s = va_arg(ap, const char *))
    total += std::strlen(s);
  va_end(ap);

  char *result = static_cast<char *>(xmalloc(total + 1));
  char *end = result;
  va_start(ap, first);
  for (const char *s = first; s; s = va_arg(ap, const char *)) {
    std::size_t len = std::strlen(s);
    std::memcpy(end, s, len);
    end += len;
  }
  va_end(ap);
  *end = '\0';
  return result;
}

char *xvasprintf(const char *format, std::va_list ap) {
  std::va_list copy;
  // One pass into a growing buffer: measuring first costs a call into the
  // C library for every few dozen characters of a long text.
  va_copy(copy, ap);
  char *formatted = nullptr;
  int formatted_length = vasprintf(&formatted, format, copy);
  va_end(copy);
  if (formatted_length >= 0)
    return formatted;

  va_copy(copy, ap);
  int len = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (len < 0)
    len = 0;
  char *result = static_cast<char *>(xmalloc(static_cast<std::size_t>(len) + 1));
  std::vsnprintf(result, static_cast<std::size_t>(len) + 1, format, ap);
  return result;
}

char *xasprintf(const char *format, ...) {
  std::va_list ap;
  va_start(ap, format);
  char *result = xvasprintf(format, ap);
  va_end(ap);
  return result;
}
