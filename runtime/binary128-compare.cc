// Comparisons of IEEE binary128 values, which the C library's static
// formatted-output code calls (for printing __float128) and LLVM's
// compiler runtime leaves out on x86-64.  Only the fully static programs
// link this file.
//
// The bits are compared as signed 128-bit integers: for two numbers that
// are not both negative the integer order is the numeric order; for two
// negative ones it is reversed.  Zeros of either sign are equal.
#include <cstring>

namespace {

using bits128 = __int128;
using ubits128 = unsigned __int128;

constexpr ubits128 sign_bit = ubits128{1} << 127;
constexpr ubits128 infinity_bits = ubits128{0x7fff} << 112;

ubits128 bits_of(__float128 x) {
  ubits128 bits;
  std::memcpy(&bits, &x, sizeof bits);
  return bits;
}

bool is_nan(ubits128 bits) { return (bits & ~sign_bit) > infinity_bits; }

// -1, 0 or 1 for two ordered values.
int compare_ordered(ubits128 a, ubits128 b) {
  if (((a | b) & ~sign_bit) == 0)
    return 0;
  auto sa = static_cast<bits128>(a);
  auto sb = static_cast<bits128>(b);
  if ((sa & sb) >= 0)
    return sa < sb ? -1 : sa == sb ? 0 : 1;
  return sa > sb ? -1 : sa == sb ? 0 : 1;
}

} // namespace

extern "C" {

// Nonzero when either argument is a NaN.
int __unordtf2(__float128 a, __float128 b) {
  return is_nan(bits_of(a)) || is_nan(bits_of(b));
}

// At most 0 when A <= B; 1 when A > B or the two are unordered.
int __letf2(__float128 a, __float128 b) {
  ubits128 x = bits_of(a);
  ubits128 y = bits_of(b);
  if (is_nan(x) || is_nan(y))
    return 1;
  return compare_ordered(x, y);
}

}
