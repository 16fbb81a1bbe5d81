// The allocation helpers the driver's hot paths use: size-class blocks
// behind operator new, the text pool for finished arguments, and the
// read-only image test that lets built-in spec texts skip comparisons.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/read-only-image.h"
#include "support/small-blocks.h"
#include "support/text-pool.h"

namespace {

bool aligned16(const void *p) { return reinterpret_cast<std::uintptr_t>(p) % 16 == 0; }

TEST(SmallBlocks, SizesAtTheClassBoundsAreAlignedDistinctAndReused) {
  std::vector<void *> blocks;
  for (std::size_t size : {0u, 1u, 15u, 16u, 17u, 255u, 256u, 257u, 4096u, 100000u}) {
    void *p = small_blocks_new(size);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(aligned16(p)) << size;
    std::memset(p, 0xab, size ? size : 1);  // the whole block is usable
    blocks.push_back(p);
  }
  for (std::size_t i = 0; i < blocks.size(); i++)
    for (std::size_t j = i + 1; j < blocks.size(); j++)
      EXPECT_NE(blocks[i], blocks[j]);
  // A freed block is the next one of its class; a large one goes back to
  // the C library.
  void *freed = blocks[4];  // 17 bytes: the 32-byte class
  small_blocks_delete(freed);
  EXPECT_EQ(small_blocks_new(32), freed);
  for (void *p : blocks)
    if (p != freed)
      small_blocks_delete(p);
  small_blocks_delete(nullptr);
}

TEST(SmallBlocks, ManyBlocksSpanChunksWithoutOverlap) {
  std::vector<char *> blocks;
  for (int i = 0; i < 20000; i++) {
    auto *p = static_cast<char *>(small_blocks_new(48));
    std::memset(p, i & 0xff, 48);
    blocks.push_back(p);
  }
  for (int i = 0; i < 20000; i++)
    ASSERT_EQ(static_cast<unsigned char>(blocks[i][47]), i & 0xff) << i;
  for (char *p : blocks)
    small_blocks_delete(p);
}

TEST(TextPool, CopiesStayPutAcrossChunks) {
  text_pool pool;
  std::vector<std::pair<const char *, std::string>> copies;
  std::string big(40000, 'x');  // longer than a chunk
  for (int i = 0; i < 5000; i++) {
    std::string text = i == 2500 ? big : "word" + std::to_string(i);
    copies.emplace_back(pool.copy(text.data(), text.size()), text);
  }
  copies.emplace_back(pool.copy("", 0), "");
  for (const auto &[copy, text] : copies)
    ASSERT_EQ(copy, text);
}

TEST(ReadOnlyImage, HoldsTheProgramsConstantsOnly) {
  static const char constant[] = "%{S:x}";
  std::string heap = constant;
  char stack[8] = "%{S:x}";
  static char writable[8] = "%{S:x}";
  EXPECT_TRUE(in_read_only_image(constant));
  EXPECT_TRUE(in_read_only_image("a literal"));
  EXPECT_FALSE(in_read_only_image(heap.c_str()));
  EXPECT_FALSE(in_read_only_image(stack));
  EXPECT_FALSE(in_read_only_image(writable));
}

} // namespace
