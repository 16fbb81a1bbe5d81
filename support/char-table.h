// A set of characters as a table, for scanners whose inner loop asks
// "is the next character one of these?": one load per character, where a
// chain of comparisons or a library scan of short runs costs more.
#ifndef VRK_SUPPORT_CHAR_TABLE_H
#define VRK_SUPPORT_CHAR_TABLE_H

#include <cstddef>

struct char_table {
  bool has[256] = {};

  // The characters of the literal CHARS, without its terminating null (a
  // set that holds the null names it: "\0%").
  template <std::size_t N> constexpr explicit char_table(const char (&chars)[N]) {
    for (std::size_t i = 0; i + 1 < N; i++)
      has[static_cast<unsigned char>(chars[i])] = true;
  }

  bool operator()(char c) const { return has[static_cast<unsigned char>(c)]; }
};

#endif
