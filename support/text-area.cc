// The growing text area behind the argument text and the environment
// texts.
#include "support/text-area.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "support/xmalloc.h"

void text_area_exhausted() {
  std::fputs("memory exhausted\n", stderr);
  std::exit(1);
}

text_area::text_area(text_area &&other) noexcept
    : data_(other.data_), length_(other.length_), capacity_(other.capacity_) {
  other.data_ = nullptr;
  other.length_ = other.capacity_ = 0;
}

text_area &text_area::operator=(text_area &&other) noexcept {
  if (this != &other) {
    std::free(data_);
    data_ = other.data_;
    length_ = other.length_;
    capacity_ = other.capacity_;
    other.data_ = nullptr;
    other.length_ = other.capacity_ = 0;
  }
  return *this;
}

text_area::~text_area() { std::free(data_); }

void text_area::reserve(std::size_t extra) {
  constexpr std::size_t max = std::numeric_limits<std::size_t>::max();
  if (extra > max - length_ - 1)
    text_area_exhausted();
  std::size_t needed = length_ + extra + 1;
  if (needed <= capacity_)
    return;
  std::size_t grown = capacity_ ? capacity_ : 64;
  while (grown < needed)
    grown = grown > max / 2 ? needed : grown * 2;
  data_ = static_cast<char *>(xrealloc(data_, grown));
  capacity_ = grown;
}

char *text_area::finish() {
  char *result = static_cast<char *>(xmalloc(length_ + 1));
  if (length_)
    std::memcpy(result, data_, length_);
  result[length_] = '\0';
  length_ = 0;
  return result;
}
