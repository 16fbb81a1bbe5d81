// Host processor detection: reads the processor description (the file
// named by VRK_CPUINFO, else /proc/cpuinfo), identifies the core from its
// implementer, part and variant numbers and the extensions from its feature
// line, and turns that into a "native" option.
#include "config/aarch64/driver-aarch64.h"

#include "common/config/aarch64/aarch64-common.h"
#include "config/aarch64/aarch64-tables.h"
#include "diagnostics/diagnostic.h"
#include "support/text.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

enum class cpu_query { arch, cpu, tune };

// A field value without any hexadecimal digit.
constexpr long INVALID_FIELD = -1;
// The variant used for lookups when the description gives none: it only
// matches cores that accept any variant.
constexpr long NO_VARIANT = -2;
constexpr long UNKNOWN_IMPLEMENTER = 0xFF;

struct host_cpu_state {
  long implementer = UNKNOWN_IMPLEMENTER;
  long parts[2] = {};
  int part_count = 0;
  long variants[2] = {};
  int variant_count = 0;
  aarch64_feature_flags extensions = 0;
  bool features_seen = false;
};

// A field is present when its name occurs in the line with a ':' after it.
bool field_present(const char *line, const char *name) {
  const char *at = std::strstr(line, name);
  return at != nullptr && std::strchr(at + std::strlen(name), ':') != nullptr;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The hexadecimal number after the first ':' of the line ("0x" optional),
// INVALID_FIELD when no digit follows.  Huge values saturate; they match
// no table entry either way.
long field_value(const char *line) {
  const char *p = std::strchr(line, ':') + 1;
  while (is_blank(*p))
    ++p;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hex_digit(p[2]) >= 0)
    p += 2;
  if (hex_digit(*p) < 0)
    return INVALID_FIELD;
  long value = 0;
  for (int digit; (digit = hex_digit(*p)) >= 0; ++p)
    value = value > (LONG_MAX >> 4) ? LONG_MAX : value * 16 + digit;
  return value;
}

// Add `value` to a list of at most two distinct values; false when it
// would be a third.
bool record_distinct(long value, long (&list)[2], int &count) {
  for (int i = 0; i < count; ++i)
    if (list[i] == value)
      return true;
  if (count == 2)
    return false;
  list[count++] = value;
  return true;
}

std::vector<std::string_view> split_words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && is_blank(text[i]))
      ++i;
    std::size_t start = i;
    while (i < text.size() && !is_blank(text[i]))
      ++i;
    if (i > start)
      words.push_back(text.substr(start, i - start));
  }
  return words;
}

bool contains(const std::vector<std::string_view> &set, std::string_view word) {
  for (std::string_view w : set)
    if (w == word)
      return true;
  return false;
}

// Set or clear each detectable extension from the host's feature words.
void apply_feature_line(const char *line, host_cpu_state &state) {
  const std::vector<std::string_view> host = split_words(std::strchr(line, ':') + 1);
  for (const aarch64_extension_info &ext : aarch64_extensions) {
    const std::vector<std::string_view> needed = split_words(ext.feature_string);
    if (needed.empty())
      continue;
    bool present = true;
    for (std::string_view word : needed)
      present = present && contains(host, word);
    if (present)
      state.extensions |= ext.flag;
    else
      state.extensions &= ~ext.flag;
  }
}

// One line of the description; false ends detection without an answer.
bool scan_line(const char *line, cpu_query query, host_cpu_state &state) {
  if (field_present(line, "implementer")) {
    long value = field_value(line);
    if (value == INVALID_FIELD)
      return state.implementer == UNKNOWN_IMPLEMENTER;
    if (value == UNKNOWN_IMPLEMENTER)
      return false;
    if (state.implementer == UNKNOWN_IMPLEMENTER)
      state.implementer = value;
    // Cores of different makers cannot be named by one option.
    return state.implementer == value;
  }
  if (field_present(line, "variant"))
    return record_distinct(field_value(line), state.variants, state.variant_count);
  if (field_present(line, "part"))
    return record_distinct(field_value(line), state.parts, state.part_count);
  if (query != cpu_query::tune && !state.features_seen && field_present(line, "Features")) {
    apply_feature_line(line, state);
    state.features_seen = true;
  }
  return true;
}

// Reads the whole description; false when detection ended early or the
// file cannot be read.
bool read_description(const char *path, cpu_query query, host_cpu_state &state) {
  std::FILE *file = std::fopen(path, "r");
  if (file == nullptr)
    return false;
  char *line = nullptr;
  std::size_t capacity = 0;
  bool ok = true;
  while (ok && ::getline(&line, &capacity, file) != -1)
    ok = scan_line(line, query, state);
  std::free(line);
  std::fclose(file);
  return ok;
}

const aarch64_core_info *find_host_core(long implementer, long part, long variant) {
  for (const aarch64_core_info &core : aarch64_cores)
    if (static_cast<long>(core.implementer) == implementer &&
        static_cast<long>(core.part) == part &&
        (core.variant == AARCH64_ANY_VARIANT || core.variant == variant))
      return &core;
  return nullptr;
}

} // namespace

const char *host_detect_local_cpu(int argc, const char **argv) {
  vrk_assert(argc >= 1);

  const char *kind = argv[0];
  if (kind == nullptr)
    return nullptr;
  cpu_query query;
  if (std::strcmp(kind, "arch") == 0)
    query = cpu_query::arch;
  else if (std::strcmp(kind, "cpu") == 0)
    query = cpu_query::cpu;
  else if (std::strcmp(kind, "tune") == 0)
    query = cpu_query::tune;
  else
    return nullptr;

  const char *path = std::getenv("VRK_CPUINFO");
  if (path == nullptr)
    path = aarch64_default_cpuinfo;

  host_cpu_state state;
  if (!read_description(path, query, state))
    return nullptr;
  if (state.part_count == 0 || state.implementer == UNKNOWN_IMPLEMENTER)
    return nullptr;
  if (state.part_count == 1 && state.variant_count != 1)
    return nullptr;

  const char *option = query == cpu_query::arch  ? "-march="
                       : query == cpu_query::cpu ? "-mcpu="
                                                 : "-mtune=";
  const char *name;
  aarch64_feature_flags default_flags;
  if (state.part_count == 2 && query != cpu_query::arch) {
    // big.LITTLE: the pairing is listed under (big << 12) | little, and the
    // description may name either core first.
    const long first = state.parts[0] & 0xFFF;
    const long second = state.parts[1] & 0xFFF;
    const aarch64_core_info *pair = nullptr;
    for (const aarch64_core_info &core : aarch64_cores)
      if (static_cast<long>(core.implementer) == state.implementer &&
          (static_cast<long>(core.part) == ((first << 12) | second) ||
           static_cast<long>(core.part) == ((second << 12) | first))) {
        pair = &core;
        break;
      }
    if (pair == nullptr)
      return nullptr;
    name = pair->name;
    default_flags = pair->flags;
  } else {
    const long variant = state.variant_count > 0 ? state.variants[0] : NO_VARIANT;
    const aarch64_core_info *core = find_host_core(state.implementer, state.parts[0], variant);
    if (core == nullptr) {
      option = "-march=";
      name = aarch64_arches[AARCH64_ARCH_V8A].name;
      default_flags = aarch64_default_arch_flags;
    } else if (query == cpu_query::arch) {
      name = aarch64_arches[core->arch].name;
      default_flags = aarch64_arches[core->arch].flags;
    } else {
      name = core->name;
      default_flags = core->flags;
    }
  }

  if (query == cpu_query::tune)
    return concat(option, name, nullptr);
  const std::string extensions = extension_string_for_flags(state.extensions, default_flags);
  return concat(option, name, extensions.c_str(), nullptr);
}
