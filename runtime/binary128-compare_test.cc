// The binary128 comparisons the static programs carry.
#include <gtest/gtest.h>

extern "C" int __unordtf2(__float128 a, __float128 b);
extern "C" int __letf2(__float128 a, __float128 b);

namespace {

TEST(Binary128, OrderSignsZerosInfinitiesAndNaNs) {
  // In increasing order, with the two zeros equal (the expectations come
  // from the positions: the compiler would call these very functions).
  const __float128 inf = __builtin_inff128();
  const __float128 nan = __builtin_nanf128("");
  const __float128 values[] = {-inf, -2.5, -1, -0.0, 0.0, 1e-4000q, 1, 2.5, 1e4000q, inf};
  const int rank[] = {0, 1, 2, 3, 3, 4, 5, 6, 7, 8};
  for (int i = 0; i < 10; i++) {
    for (int j = 0; j < 10; j++) {
      EXPECT_EQ(__unordtf2(values[i], values[j]), 0);
      int le = __letf2(values[i], values[j]);
      EXPECT_EQ(le <= 0, rank[i] <= rank[j]) << i << " " << j;
      EXPECT_EQ(le == 0, rank[i] == rank[j]) << i << " " << j;
    }
    EXPECT_NE(__unordtf2(values[i], nan), 0);
    EXPECT_NE(__unordtf2(nan, values[i]), 0);
    EXPECT_GT(__letf2(values[i], nan), 0);
    EXPECT_GT(__letf2(nan, values[i]), 0);
  }
  EXPECT_NE(__unordtf2(-nan, -nan), 0);
}

} // namespace
