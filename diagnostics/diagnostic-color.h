// Colours and terminal hyperlinks for diagnostics: the colour table and its
// VRK_COLORS overrides, and the decisions whether colour and hyperlinks are
// written to standard error.
#ifndef VRK_DIAGNOSTICS_DIAGNOSTIC_COLOR_H
#define VRK_DIAGNOSTICS_DIAGNOSTIC_COLOR_H

#include <cstddef>

// Values of -fdiagnostics-color= (and the start-up default "auto").
enum diagnostic_color_mode : int {
  DIAGNOSTICS_COLOR_NEVER = 0,
  DIAGNOSTICS_COLOR_ALWAYS = 1,
  DIAGNOSTICS_COLOR_AUTO = 2,
};

// Values of -fdiagnostics-urls=.
enum diagnostic_url_mode : int {
  DIAGNOSTICS_URLS_NEVER = 0,
  DIAGNOSTICS_URLS_ALWAYS = 1,
  DIAGNOSTICS_URLS_AUTO = 2,
};

// How a hyperlink is terminated (the printer's `url_format`).
enum diagnostic_url_format : int {
  URL_FORMAT_NONE = 0,
  URL_FORMAT_ST = 1,  // ESC "\"
  URL_FORMAT_BEL = 2, // BEL
};

struct color_entry {
  const char *name;
  std::size_t name_length;
  const char *start;
  bool allocated; // `start` was built from VRK_COLORS and is ours to free
};

// The colour table, in its documented order.  Process-wide like the
// reporter that uses it: VRK_COLORS adjusts it once at start-up.
extern color_entry color_table[];
extern const std::size_t color_table_size;

// The start sequence of the named colour, or "" when colour is off or the
// name is unknown.
const char *color_start(bool show_color, const char *name);
// ESC "[m" ESC "[K" when colour is on, else "".
const char *color_end(bool show_color);

// Apply a VRK_COLORS value to the table; false when the value turns colour
// off (the empty text).  A null value leaves the table alone and answers
// true.  Malformed values stop the parse and keep what was set before.
bool parse_color_overrides(const char *value);

// The colour decision for a mode (see diagnostic_color_mode).
bool color_mode_init(int mode);
// The hyperlink decision for a mode (see diagnostic_url_mode).
diagnostic_url_format url_format_init(int mode);

// Whether standard error is a terminal.  A seam for tests; process-wide
// like standard error itself.
extern bool (*stderr_is_terminal)();

#endif
