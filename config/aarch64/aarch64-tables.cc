// Name lookups in the processor tables (the rows are in aarch64-tables.h
// and the .def files).
#include "config/aarch64/aarch64-tables.h"

const aarch64_extension_info *aarch64_find_extension(std::string_view name) {
  for (const auto &ext : aarch64_extensions)
    if (name == ext.name)
      return &ext;
  return nullptr;
}

const aarch64_core_info *aarch64_find_core(std::string_view name) {
  for (const auto &core : aarch64_cores)
    if (name == core.name)
      return &core;
  if (name == aarch64_generic_core.name)
    return &aarch64_generic_core;
  return nullptr;
}
