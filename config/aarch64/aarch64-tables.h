// The 64-bit Arm processor tables: extensions, architectures and cores,
// all sharing one 64-bit ISA flag word.  The rows live in the .def files
// beside this header; this file turns them into constant arrays and checks
// their consistency at compile time.
#ifndef VRK_CONFIG_AARCH64_AARCH64_TABLES_H
#define VRK_CONFIG_AARCH64_AARCH64_TABLES_H

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// The ISA flag word: bits 0-35 are extensions, bits 36-49 architecture
// levels.
using aarch64_feature_flags = std::uint64_t;

// One constant per extension bit (AARCH64_FL_CRC ...) and per architecture
// level bit (AARCH64_FL_V8A ...).
enum : aarch64_feature_flags {
#define AARCH64_OPT_EXTENSION(NAME, ID, BIT, ON, OFF, DETECT, FEATURES) \
  AARCH64_FL_##ID = aarch64_feature_flags{1} << (BIT),
#include "config/aarch64/aarch64-option-extensions.def"
#undef AARCH64_OPT_EXTENSION
#define AARCH64_ARCH(NAME, ID, BIT, FLAGS) AARCH64_FL_##ID = aarch64_feature_flags{1} << (BIT),
#include "config/aarch64/aarch64-arches.def"
#undef AARCH64_ARCH
};

// Architecture identifiers, in table order (indices into aarch64_arches).
enum aarch64_arch_id : unsigned char {
#define AARCH64_ARCH(NAME, ID, BIT, FLAGS) AARCH64_ARCH_##ID,
#include "config/aarch64/aarch64-arches.def"
#undef AARCH64_ARCH
  AARCH64_ARCH_COUNT
};

struct aarch64_extension_info {
  const char *name;
  aarch64_feature_flags flag;       // the extension's own bit
  aarch64_feature_flags flags_on;   // set when turned on
  aarch64_feature_flags flags_off;  // cleared when turned off
  bool native_detectable;           // the host can tell its absence
  const char *feature_string;       // host feature words, blank-separated
};

struct aarch64_arch_info {
  const char *name;
  aarch64_feature_flags flag;   // the level's own bit
  aarch64_feature_flags flags;  // default flags of the architecture
};

// A core's variant that matches every host variant.
inline constexpr long AARCH64_ANY_VARIANT = -1;

struct aarch64_core_info {
  const char *name;
  aarch64_arch_id arch;
  unsigned implementer;
  unsigned part;
  long variant;  // AARCH64_ANY_VARIANT or the one variant matched
  aarch64_feature_flags flags;
};

inline constexpr aarch64_extension_info aarch64_extensions[] = {
#define AARCH64_OPT_EXTENSION(NAME, ID, BIT, ON, OFF, DETECT, FEATURES) \
  {NAME, AARCH64_FL_##ID, ON, OFF, DETECT, FEATURES},
#include "config/aarch64/aarch64-option-extensions.def"
#undef AARCH64_OPT_EXTENSION
};

inline constexpr aarch64_arch_info aarch64_arches[] = {
#define AARCH64_ARCH(NAME, ID, BIT, FLAGS) {NAME, AARCH64_FL_##ID, FLAGS},
#include "config/aarch64/aarch64-arches.def"
#undef AARCH64_ARCH
};

// The cores that identify hosts, in lookup order.
inline constexpr aarch64_core_info aarch64_cores[] = {
#define ANY AARCH64_ANY_VARIANT
#define AARCH64_CORE(NAME, ARCH, IMPLEMENTER, PART, VARIANT, FLAGS) \
  {NAME, AARCH64_ARCH_##ARCH, IMPLEMENTER, PART, VARIANT, FLAGS},
#include "config/aarch64/aarch64-cores.def"
#undef AARCH64_CORE
#undef ANY
};

// The core that "-mcpu=generic" names; it follows aarch64_cores for name
// lookups only and never identifies a host.
inline constexpr aarch64_core_info aarch64_generic_core = {
    "generic", AARCH64_ARCH_V8A, 0xFF, 0xFFFFFFFF, AARCH64_ANY_VARIANT, 0x1000000003};

// Flags of the architecture the host falls back to when its core is unknown.
inline constexpr aarch64_feature_flags aarch64_default_arch_flags =
    aarch64_arches[AARCH64_ARCH_V8A].flags;

// The extension called exactly `name`, or null.
const aarch64_extension_info *aarch64_find_extension(std::string_view name);
// The core called exactly `name` (the detection table, then "generic"), or
// null.
const aarch64_core_info *aarch64_find_core(std::string_view name);

// Compile-time checks of the data: a slip in a .def row shows here rather
// than as a wrong native option on some host.
namespace aarch64_table_checks {

constexpr aarch64_feature_flags extension_bits_mask = (aarch64_feature_flags{1} << 36) - 1;
constexpr aarch64_feature_flags arch_bits_mask =
    ((aarch64_feature_flags{1} << 50) - 1) & ~extension_bits_mask;

constexpr bool extensions_consistent() {
  aarch64_feature_flags seen = 0;
  for (const auto &ext : aarch64_extensions) {
    // One bit each, no two extensions on the same bit, closures about
    // extensions only and containing the extension itself.
    if ((ext.flag & (ext.flag - 1)) != 0 || (ext.flag & seen) != 0)
      return false;
    seen |= ext.flag;
    if ((ext.flags_on & ext.flag) == 0 || (ext.flags_off & ext.flag) == 0)
      return false;
    if (((ext.flags_on | ext.flags_off) & ~extension_bits_mask) != 0)
      return false;
    if (ext.native_detectable != (ext.feature_string[0] != '\0'))
      return false;
  }
  return seen == extension_bits_mask;
}

constexpr bool extensions_topologically_ordered() {
  // Everything an extension turns on comes no later than itself.
  aarch64_feature_flags before = 0;
  for (const auto &ext : aarch64_extensions) {
    before |= ext.flag;
    if ((ext.flags_on & ~before) != 0)
      return false;
  }
  return true;
}

constexpr bool arches_consistent() {
  for (const auto &arch : aarch64_arches) {
    if ((arch.flags & arch.flag) == 0 || (arch.flag & arch_bits_mask) == 0)
      return false;
    // Every level includes the base armv8-a level.
    if ((arch.flags & AARCH64_FL_V8A) == 0)
      return false;
  }
  return true;
}

constexpr bool cores_consistent() {
  for (const auto &core : aarch64_cores) {
    if (core.arch >= AARCH64_ARCH_COUNT)
      return false;
    // A core has at least its architecture's level bits.
    if ((core.flags & aarch64_arches[core.arch].flags & arch_bits_mask) !=
        (aarch64_arches[core.arch].flags & arch_bits_mask))
      return false;
  }
  return true;
}

static_assert(std::size(aarch64_extensions) == 36);
static_assert(std::size(aarch64_arches) == 14);
static_assert(extensions_consistent());
static_assert(extensions_topologically_ordered());
static_assert(arches_consistent());
static_assert(cores_consistent());

} // namespace aarch64_table_checks

#endif
