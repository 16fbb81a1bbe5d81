/* Comparisons of 128-bit floating-point values (long double on 64-bit
   Arm), which the target's C library calls: done on the bits, so nothing
   here needs floating-point support of its own.  Results as the callers
   expect them: negative, zero or positive; an unordered pair (a NaN)
   gives the value that makes the caller's test false. */
typedef struct {
  unsigned long long lo, hi;
} quad_bits;

static quad_bits bits_of(long double x) {
  quad_bits b;
  __builtin_memcpy(&b, &x, sizeof b);
  return b;
}

static int is_nan(quad_bits b) {
  return ((b.hi >> 48) & 0x7fff) == 0x7fff && ((b.hi & 0xffffffffffffULL) | b.lo) != 0;
}

static int is_zero(quad_bits b) { return ((b.hi << 1) | b.lo) == 0; }

static int compare(long double a, long double b, int unordered) {
  quad_bits x = bits_of(a), y = bits_of(b);
  if (is_nan(x) || is_nan(y))
    return unordered;
  if (is_zero(x) && is_zero(y))
    return 0;
  int x_negative = (int)(x.hi >> 63), y_negative = (int)(y.hi >> 63);
  if (x_negative != y_negative)
    return x_negative ? -1 : 1;
  int magnitude = x.hi != y.hi ? (x.hi < y.hi ? -1 : 1) : x.lo != y.lo ? (x.lo < y.lo ? -1 : 1) : 0;
  return x_negative ? -magnitude : magnitude;
}

int __letf2(long double a, long double b) { return compare(a, b, 1); }
int __lttf2(long double a, long double b) { return compare(a, b, 1); }
int __eqtf2(long double a, long double b) { return compare(a, b, 1); }
int __netf2(long double a, long double b) { return compare(a, b, 1); }
int __getf2(long double a, long double b) { return compare(a, b, -1); }
int __gttf2(long double a, long double b) { return compare(a, b, -1); }
int __unordtf2(long double a, long double b) { return is_nan(bits_of(a)) || is_nan(bits_of(b)); }
