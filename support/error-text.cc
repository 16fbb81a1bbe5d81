// The system's description of an error number, with a fixed wording for
// numbers the C library does not know.
#include "support/error-text.h"

#include <cstdio>
#include <cstring>

const char *error_text(int errnum) {
  static char buffer[64];
  // strerrorname_np answers null for numbers the C library does not know,
  // where strerror would invent an "Unknown error" text of its own.
  if (strerrorname_np(errnum))
    return std::strerror(errnum);
  std::snprintf(buffer, sizeof buffer, "undocumented error #%d", errnum);
  return buffer;
}
