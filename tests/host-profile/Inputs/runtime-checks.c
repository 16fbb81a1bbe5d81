/* Exercises the toolchain's runtime support under a hosted static link:
   out-of-line atomics of each size and kind, and 128-bit float
   comparisons, including NaNs and signed zeros.  Prints each failure and
   exits with their number. */
#include <stdatomic.h>
#include <stdio.h>

static int failures;
#define CHECK(c)                                                                                   \
  do {                                                                                             \
    if (!(c)) {                                                                                    \
      printf("failed: %s\n", #c);                                                                  \
      failures++;                                                                                  \
    }                                                                                              \
  } while (0)

static void atomics(void) {
  _Atomic unsigned char b = 1;
  _Atomic unsigned short h = 2;
  _Atomic unsigned int w = 3;
  _Atomic unsigned long d = 4;
  CHECK(atomic_fetch_add(&b, 5) == 1 && b == 6);
  CHECK(atomic_fetch_or(&h, 0x10) == 2 && h == 0x12);
  CHECK(atomic_fetch_and(&w, 1) == 3 && w == 1);
  CHECK(atomic_fetch_xor(&d, 6) == 4 && d == 2);
  CHECK(atomic_fetch_sub_explicit(&d, 1, memory_order_relaxed) == 2 && d == 1);
  CHECK(atomic_exchange(&w, 9) == 1 && w == 9);
  unsigned int expected = 9;
  CHECK(atomic_compare_exchange_strong(&w, &expected, 10) && w == 10);
  expected = 9;
  CHECK(!atomic_compare_exchange_strong(&w, &expected, 11) && expected == 10 && w == 10);
  unsigned char narrow = 0xff;
  b = 0xff;
  CHECK(atomic_compare_exchange_strong(&b, &narrow, 7) && b == 7);
  unsigned long wide = 1;
  CHECK(atomic_compare_exchange_strong_explicit(&d, &wide, 1ul << 40, memory_order_release,
                                                memory_order_relaxed) &&
        d == 1ul << 40);
}

static void float_comparisons(void) {
  volatile long double one = 1.0L, two = 2.0L, minus_two = -2.0L, zero = 0.0L, minus_zero = -0.0L;
  volatile long double nan = __builtin_nanl("");
  CHECK(one < two);
  CHECK(two > one);
  CHECK(one <= one && one >= one);
  CHECK(minus_two < one && minus_two < minus_zero);
  CHECK(zero == minus_zero && !(zero < minus_zero));
  CHECK(!(nan < one) && !(nan > one) && !(nan <= one) && !(nan >= one));
  CHECK(nan != nan && !(nan == nan));
}

int main(void) {
  atomics();
  float_comparisons();
  printf("%d failures\n", failures);
  return failures;
}
