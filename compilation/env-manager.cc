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
  const char *equals = std::strchr(text, '=');
  vrk_assert(equals);
  std::size_t name_length = static_cast<std::size_t>(equals - text) + 1;
  const char **known = nullptr;
  for (const char *&put : put_)
    if (std::strncmp(put, text, name_length) == 0)
      known = &put;
  // The same setting again (for every input, say): the environment holds
  // an equal text already.
  if (known && std::strcmp(*known, text) == 0)
    return;
  if (can_restore_) {
    char *name = xstrndup(text, name_length - 1);
    const char *old = std::getenv(name);
    if (debug_)
      std::fprintf(stderr, "saving old value: %s\n", old ? old : "(null)");
    saved_.push_back({name, old ? xstrdup(old) : nullptr});
  }
  // putenv keeps TEXT itself; the caller never frees it.
  putenv(const_cast<char *>(text));
  if (known)
    *known = text;
  else
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
  put_.clear();
}
