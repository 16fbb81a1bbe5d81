// Parser of sanitizer name lists with its diagnostics and suggestions.
#include "options/sanitizer-args.h"

#include <cstring>
#include <string>
#include <vector>

#include "options/spellcheck.h"

const sanitizer_opts_entry sanitizer_opts[] = {
    {"address", 0x00000003, false},
    {"hwaddress", 0x30000000, false},
    {"kernel-address", 0x00000005, false},
    {"kernel-hwaddress", 0x50000000, false},
    {"pointer-compare", 0x04000000, false},
    {"pointer-subtract", 0x08000000, false},
    {"thread", 0x00000008, false},
    {"leak", 0x00000010, false},
    {"shift", 0x00000060, true},
    {"shift-base", 0x00000020, true},
    {"shift-exponent", 0x00000040, true},
    {"integer-divide-by-zero", 0x00000080, true},
    {"undefined", 0x037E7FE0, true},
    {"unreachable", 0x00000100, true},
    {"vla-bound", 0x00000200, true},
    {"return", 0x00000800, true},
    {"null", 0x00000400, true},
    {"signed-integer-overflow", 0x00001000, true},
    {"bool", 0x00002000, true},
    {"enum", 0x00004000, true},
    {"float-divide-by-zero", 0x00008000, true},
    {"float-cast-overflow", 0x00010000, true},
    {"bounds", 0x00020000, true},
    {"bounds-strict", 0x00820000, true},
    {"alignment", 0x00040000, true},
    {"nonnull-attribute", 0x00080000, true},
    {"returns-nonnull-attribute", 0x00100000, true},
    {"object-size", 0x00200000, true},
    {"vptr", 0x00400000, false},
    {"pointer-overflow", 0x01000000, true},
    {"builtin", 0x02000000, true},
    {"shadow-call-stack", 0x80000000, false},
    {"all", 0xFFFFFFFF, true},
};
const std::size_t sanitizer_opts_count = sizeof sanitizer_opts / sizeof sanitizer_opts[0];

namespace {

bool is_all(const sanitizer_opts_entry &e) { return std::strcmp(e.name, "all") == 0; }

// The closest sanitizer name to the item, among the names the option
// could have meant.
const char *suggest_sanitizer(const char *item, std::size_t len, sanitize_option_kind which,
                              bool positive) {
  std::vector<const char *> candidates;
  for (std::size_t i = 0; i < sanitizer_opts_count; ++i) {
    const sanitizer_opts_entry &e = sanitizer_opts[i];
    if (positive) {
      if (which == SANITIZE_OPTION_SANITIZE && is_all(e))
        continue;
      if (which == SANITIZE_OPTION_TRAP && !e.can_trap)
        continue;
    }
    candidates.push_back(e.name);
  }
  std::string goal(item, len);
  return find_closest_string(goal.c_str(), &candidates);
}

}  // namespace

std::uint32_t parse_sanitizer_options(const char *text, location_t loc, sanitize_option_kind which,
                                      std::uint32_t flags, bool positive) {
  if (text == nullptr || *text == '\0')
    return flags;
  const char *p = text;
  while (true) {
    const char *comma = std::strchr(p, ',');
    std::size_t len = comma ? std::size_t(comma - p) : std::strlen(p);
    if (len > 0) {
      const sanitizer_opts_entry *found = nullptr;
      for (std::size_t i = 0; i < sanitizer_opts_count; ++i)
        if (std::strlen(sanitizer_opts[i].name) == len &&
            std::memcmp(sanitizer_opts[i].name, p, len) == 0) {
          found = &sanitizer_opts[i];
          break;
        }
      if (found != nullptr && !positive) {
        flags &= ~found->flags;
        // The shared address bit stays while either address variant does.
        if (flags & (SANITIZE_USER_ADDRESS | SANITIZE_KERNEL_ADDRESS))
          flags |= SANITIZE_ADDRESS;
      } else if (found != nullptr) {
        if (is_all(*found) && which == SANITIZE_OPTION_SANITIZE)
          error_at(loc, "%<-fsanitize=all%> option is not valid");
        else if (is_all(*found))
          flags |= SANITIZE_UNDEFINED_ALL;
        else if (which == SANITIZE_OPTION_TRAP && std::strcmp(found->name, "vptr") == 0)
          error_at(loc, "%<-fsanitize-trap=%s%> is not supported", found->name);
        else
          flags |= found->flags;
      } else {
        const char *hint = suggest_sanitizer(p, len, which, positive);
        const char *neg = positive ? "" : "no-";
        const char *trap = which == SANITIZE_OPTION_TRAP ? "-trap" : "";
        if (hint)
          // TRANSLATORS: the option as written: "no-" or nothing, then
          // "-trap" or nothing; then the unknown name and the hint.
          error_at(loc, "unrecognized argument to %<-f%ssanitize%s=%> option: %q.*s;"
                        " did you mean %qs?",
                   neg, trap, int(len), p, hint);
        else
          error_at(loc, "unrecognized argument to %<-f%ssanitize%s=%> option: %q.*s", neg,
                   trap, int(len), p);
      }
    }
    if (comma == nullptr)
      break;
    p = comma + 1;
  }
  return flags;
}
