// The program's read-only load segments, found once from its program
// headers.
#include "support/read-only-image.h"

#include <link.h>

#include <cstddef>
#include <cstdint>

namespace {

struct address_range {
  std::uintptr_t start = 0, end = 0;
};

struct read_only_ranges {
  address_range ranges[4];
  int count = 0;
};

int add_read_only_segments(dl_phdr_info *info, std::size_t, void *data) {
  auto *found = static_cast<read_only_ranges *>(data);
  for (int i = 0; i < info->dlpi_phnum; i++) {
    const ElfW(Phdr) &segment = info->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD || (segment.p_flags & PF_W) || found->count == 4)
      continue;
    std::uintptr_t start = info->dlpi_addr + segment.p_vaddr;
    found->ranges[found->count++] = {start, start + segment.p_memsz};
  }
  return 1;  // the program comes first; the libraries are not needed
}

const read_only_ranges &program_ranges() {
  static const read_only_ranges ranges = [] {
    read_only_ranges found;
    dl_iterate_phdr(add_read_only_segments, &found);
    return found;
  }();
  return ranges;
}

} // namespace

bool in_read_only_image(const void *address) {
  auto at = reinterpret_cast<std::uintptr_t>(address);
  const read_only_ranges &known = program_ranges();
  for (int i = 0; i < known.count; i++)
    if (at >= known.ranges[i].start && at < known.ranges[i].end)
      return true;
  return false;
}
