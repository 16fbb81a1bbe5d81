// Extension suffix parsing and printing over the processor tables, and the
// "-mcpu=" rewriting for the assembler.
#include "common/config/aarch64/aarch64-common.h"

#include "diagnostics/diagnostic.h"
#include "support/text.h"

#include <cstring>
#include <string_view>

aarch64_parse_opt_result parse_extension_list(const char *str,
                                              aarch64_feature_flags *isa_flags,
                                              std::string *invalid_extension) {
  while (*str != '\0') {
    ++str;  // the '+' that introduces the item
    const char *end = std::strchr(str, '+');
    if (end == nullptr)
      end = str + std::strlen(str);
    std::string_view item(str, static_cast<std::size_t>(end - str));
    if (item.empty())
      return AARCH64_PARSE_MISSING_ARG;

    std::string_view name = item;
    bool removal = false;
    if (item.starts_with("no")) {
      if (item.size() == 2)
        return AARCH64_PARSE_MISSING_ARG;
      removal = true;
      name.remove_prefix(2);
    }

    const aarch64_extension_info *ext = aarch64_find_extension(name);
    if (ext == nullptr) {
      if (invalid_extension != nullptr)
        invalid_extension->assign(item);
      return AARCH64_PARSE_INVALID_FEATURE;
    }
    if (removal)
      *isa_flags &= ~ext->flags_off;
    else
      *isa_flags |= ext->flags_on;
    str = end;
  }
  return AARCH64_PARSE_OK;
}

std::string extension_string_for_flags(aarch64_feature_flags isa_flags,
                                       aarch64_feature_flags default_flags) {
  constexpr std::size_t count = std::size(aarch64_extensions);
  aarch64_feature_flags current = default_flags;
  // The assembler's idea of which architectures include crc has varied, so
  // it is always named; armv8-r has no such history.
  const aarch64_feature_flags always_explicit =
      (default_flags & AARCH64_FL_V8R) != 0 ? 0 : AARCH64_FL_CRC;

  // Backwards through the dependency order: a later extension that pulls in
  // earlier ones covers them, so the fewest names are added.
  bool added[count] = {};
  for (std::size_t i = count; i-- > 0;) {
    const aarch64_extension_info &ext = aarch64_extensions[i];
    // "crypto" stands for aes and sha2 together (it is named instead of
    // them), whatever the host says about its own bit.
    const aarch64_feature_flags test =
        ext.flag == AARCH64_FL_CRYPTO ? (AARCH64_FL_AES | AARCH64_FL_SHA2) : ext.flag;
    if ((isa_flags & test) == test && (test & current & ~always_explicit) == 0) {
      current |= ext.flags_on;
      added[i] = true;
    }
  }

  std::string out;
  for (std::size_t i = 0; i < count; ++i)
    if (added[i]) {
      out += '+';
      out += aarch64_extensions[i].name;
    }

  // Then what the defaults have but the flags lack.  Clearing the removal
  // closure keeps dependants of a removed extension from being named again.
  for (const aarch64_extension_info &ext : aarch64_extensions)
    if (ext.native_detectable && (current & ext.flag) != 0 && (isa_flags & ext.flag) == 0) {
      out += "+no";
      out += ext.name;
      current &= ~ext.flags_off;
    }
  return out;
}

std::string rewrite_cpu_name(const char *name) {
  const char *suffixes = std::strchr(name, '+');
  std::size_t core_length = suffixes != nullptr ? static_cast<std::size_t>(suffixes - name)
                                                : std::strlen(name);
  const aarch64_core_info *core = aarch64_find_core(std::string_view(name, core_length));
  if (core == nullptr)
    fatal_error(UNKNOWN_LOCATION, "unknown value %qs for %<-mcpu%>", name);

  const aarch64_arch_info &arch = aarch64_arches[core->arch];
  aarch64_feature_flags flags = core->flags;
  // A bad suffix only ends the list; the compiler proper reports it.
  if (suffixes != nullptr)
    parse_extension_list(suffixes, &flags, nullptr);
  return arch.name + extension_string_for_flags(flags, arch.flags);
}

std::vector<const char *> aarch64_core_names() {
  std::vector<const char *> names;
  for (const aarch64_core_info &core : aarch64_cores)
    names.push_back(core.name);
  names.push_back(aarch64_generic_core.name);
  names.push_back("native");
  return names;
}

std::vector<const char *> aarch64_arch_names() {
  std::vector<const char *> names;
  for (const aarch64_arch_info &arch : aarch64_arches)
    names.push_back(arch.name);
  names.push_back("native");
  return names;
}

const char *aarch64_rewrite_mcpu(int argc, const char **argv) {
  vrk_assert(argc >= 1);
  vrk_assert(argv != nullptr && argv[argc - 1] != nullptr);
  return xstrdup(rewrite_cpu_name(argv[argc - 1]).c_str());
}
