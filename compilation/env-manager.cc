// The driver's environment manager: reads and writes of environment
// variables with optional tracing and undo.
#include "compilation/env-manager.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "diagnostics/diagnostic.h"
#include "support/text.h"

env_manager env;

env_manager::~env_manager() {
  for (saved_pair &p : saved_) {
    std::free(p.name);
    std::free(p.value);
  }
}

void env_manager::init(bool can_restore, bool debug) {
  can_restore_ = can_restore;
  debug_ = debug;
}

const char *env_manager::getenv(const char *name) {
  const char *value = std::getenv(name);
  if (debug_)
    std::fprintf(stderr, "env_manager::getenv (%s) -> %s\n", name, value ? value : "(null)");
  return value;
}

void env_manager::xput(const char *text) {
  if (debug_)
    std::fprintf(stderr, "env_manager::xput (%s)\n", text);
  if (echo_flag_ && *echo_flag_)
    notice_line(stderr, text);
  if (can_restore_) {
    const char *equals = std::strchr(text, '=');
    vrk_assert(equals);
    char *name = xstrndup(text, static_cast<std::size_t>(equals - text));
    const char *old = std::getenv(name);
    if (debug_)
      std::fprintf(stderr, "saving old value: %s\n", old ? old : "(null)");
    saved_.push_back({name, old ? xstrdup(old) : nullptr});
  }
  // putenv keeps TEXT itself; the caller never frees it.
  putenv(const_cast<char *>(text));
  put_.push_back(text);
}

void env_manager::restore() {
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
    if (debug_)
      std::fprintf(stderr, "restoring saved key: %s value: %s\n", it->name,
                   it->value ? it->value : "(null)");
    if (it->value)
      setenv(it->name, it->value, 1);
    else
      unsetenv(it->name);
    std::free(it->name);
    std::free(it->value);
  }
  saved_.clear();
}
