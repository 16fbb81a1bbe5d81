// The colour table and the colour/hyperlink decisions for standard error.
#include "diagnostics/diagnostic-color.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "diagnostics/diagnostic.h"
#include "support/xmalloc.h"

#define SGR_START(codes) "\33[" codes "m\33[K"
#define COLOR_ENTRY(name, codes) {name, sizeof name - 1, SGR_START(codes), false}

color_entry color_table[] = {
    COLOR_ENTRY("error", "01;31"),
    COLOR_ENTRY("warning", "01;35"),
    COLOR_ENTRY("note", "01;36"),
    COLOR_ENTRY("range1", "32"),
    COLOR_ENTRY("range2", "34"),
    COLOR_ENTRY("locus", "01"),
    COLOR_ENTRY("quote", "01"),
    COLOR_ENTRY("path", "01;36"),
    COLOR_ENTRY("fnname", "01;32"),
    COLOR_ENTRY("targs", "35"),
    COLOR_ENTRY("fixit-insert", "32"),
    COLOR_ENTRY("fixit-delete", "31"),
    COLOR_ENTRY("diff-filename", "01"),
    COLOR_ENTRY("diff-hunk", "36"),
    COLOR_ENTRY("diff-delete", "31"),
    COLOR_ENTRY("diff-insert", "32"),
    COLOR_ENTRY("type-diff", "01;32"),
};
const std::size_t color_table_size = sizeof color_table / sizeof color_table[0];

static const char sgr_end[] = "\33[m\33[K";

static color_entry *find_color(const char *name, std::size_t length) {
  for (std::size_t i = 0; i < color_table_size; ++i)
    if (color_table[i].name_length == length &&
        std::memcmp(color_table[i].name, name, length) == 0)
      return &color_table[i];
  return nullptr;
}

const char *color_start(bool show_color, const char *name) {
  if (!show_color || !name)
    return "";
  color_entry *entry = find_color(name, std::strlen(name));
  return entry ? entry->start : "";
}

const char *color_end(bool show_color) { return show_color ? sgr_end : ""; }

static void set_color_start(color_entry *entry, const char *codes, std::size_t length) {
  char *start = static_cast<char *>(xmalloc(length + 7));
  std::memcpy(start, "\33[", 2);
  std::memcpy(start + 2, codes, length);
  std::memcpy(start + 2 + length, "m\33[K", 5);
  if (entry->allocated)
    std::free(const_cast<char *>(entry->start));
  entry->start = start;
  entry->allocated = true;
}

// VRK_COLORS is "name=codes:name=codes..." where codes are digits and ';'.
// Names unknown to this version are accepted so that one setting serves
// several versions.
bool parse_color_overrides(const char *value) {
  if (!value)
    return true;
  if (!*value)
    return false;
  const char *p = value;
  while (*p) {
    const char *name = p;
    while (*p && *p != '=' && *p != ':')
      ++p;
    if (*p == '=' && p == name)
      return true; // "=" where a name should start: stop here
    std::size_t name_length = p - name;
    if (*p != '=') { // entry without a value changes nothing
      if (*p == ':')
        ++p;
      continue;
    }
    const char *codes = ++p;
    while (*p && *p != ':') {
      if (*p == '=' || !((*p >= '0' && *p <= '9') || *p == ';'))
        return true; // malformed value: keep what was set so far
      ++p;
    }
    if (color_entry *entry = find_color(name, name_length))
      set_color_start(entry, codes, p - codes);
    if (*p == ':')
      ++p;
  }
  return true;
}

static bool real_stderr_is_terminal() { return isatty(2) == 1; }
bool (*stderr_is_terminal)() = real_stderr_is_terminal;

static bool auto_terminal_test() {
  const char *term = std::getenv("TERM");
  return term && std::strcmp(term, "dumb") != 0 && stderr_is_terminal();
}

bool color_mode_init(int mode) {
  switch (mode) {
  case DIAGNOSTICS_COLOR_NEVER:
    return false;
  case DIAGNOSTICS_COLOR_ALWAYS:
    return parse_color_overrides(std::getenv("VRK_COLORS"));
  case DIAGNOSTICS_COLOR_AUTO:
    return auto_terminal_test() && parse_color_overrides(std::getenv("VRK_COLORS"));
  default:
    vrk_unreachable();
  }
}

static const char *url_environment_value() {
  const char *value = std::getenv("VRK_URLS");
  return value ? value : std::getenv("TERM_URLS");
}

static diagnostic_url_format url_format_from_environment() {
  const char *value = url_environment_value();
  if (!value)
    return URL_FORMAT_BEL;
  if (!*value || std::strcmp(value, "no") == 0)
    return URL_FORMAT_NONE;
  if (std::strcmp(value, "st") == 0)
    return URL_FORMAT_ST;
  return URL_FORMAT_BEL;
}

diagnostic_url_format url_format_init(int mode) {
  switch (mode) {
  case DIAGNOSTICS_URLS_NEVER:
    return URL_FORMAT_NONE;
  case DIAGNOSTICS_URLS_ALWAYS:
    return url_format_from_environment();
  case DIAGNOSTICS_URLS_AUTO: {
    if (!auto_terminal_test())
      return URL_FORMAT_NONE;
    // These terminals mishandle the link sequences.
    const char *colorterm = std::getenv("COLORTERM");
    if (colorterm && (std::strcmp(colorterm, "xfce4-terminal") == 0 ||
                      std::strcmp(colorterm, "gnome-terminal") == 0))
      return URL_FORMAT_NONE;
    if (url_environment_value())
      return url_format_from_environment();
    const char *term = std::getenv("TERM");
    if (!colorterm && (std::strcmp(term, "xterm") == 0 || std::strcmp(term, "linux") == 0))
      return URL_FORMAT_NONE;
    return url_format_from_environment();
  }
  default:
    vrk_unreachable();
  }
}
