// The system's description of an error number, with a fixed wording for
// numbers the C library does not know.
#include "support/error-text.h"

#include <cstdio>
#include <cstring>

const char *error_text(int errnum) {
  // Shared by all callers, like the system's own strerror text: used at
  // once, before the next call.
  static char buffer[64];
  // strerrorname_np answers null for numbers the C library does not know,
  // where strerror would invent an "Unknown error" text of its own.
  if (strerrorname_np(errnum))
    return std::strerror(errnum);
  std::snprintf(buffer, sizeof buffer, "undocumented error #%d", errnum);
  return buffer;
}
