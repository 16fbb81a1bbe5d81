// A growing text area: text is appended to the object under construction
// and `finish` hands it out as a stable, null-terminated text of its own.
// A size that would overflow prints "memory exhausted" and exits with
// status 1.
#ifndef VRK_SUPPORT_TEXT_AREA_H
#define VRK_SUPPORT_TEXT_AREA_H

#include <cstddef>
#include <cstring>

class text_area {
public:
  text_area() = default;
  text_area(const text_area &) = delete;
  text_area &operator=(const text_area &) = delete;
  // Moving hands the object under construction over; the source is empty.
  text_area(text_area &&other) noexcept;
  text_area &operator=(text_area &&other) noexcept;
  ~text_area();

  // Inline while the room lasts: the interpreter appends a few characters
  // at a time for every argument it builds.
  void append(const char *text, std::size_t length) {
    if (length_ + length >= capacity_ || length_ + length < length_)
      reserve(length);
    std::memcpy(data_ + length_, text, length);
    length_ += length;
  }
  void append(const char *text) { append(text, std::strlen(text)); }
  void append_char(char c) {
    if (length_ + 1 >= capacity_)
      reserve(1);
    data_[length_++] = c;
  }

  // The object under construction (not null-terminated) and its length.
  const char *base() const { return data_; }
  std::size_t length() const { return length_; }
  // Drop the last `n` characters of the object under construction.
  void shrink(std::size_t n) { length_ = n > length_ ? 0 : length_ - n; }

  // Terminate the object, hand it out as a new allocation and start afresh.
  char *finish();
  // Throw the object under construction away.
  void clear() { length_ = 0; }

private:
  void reserve(std::size_t extra);

  char *data_ = nullptr;
  std::size_t length_ = 0;
  std::size_t capacity_ = 0;
};

// Print "memory exhausted" and exit with status 1.
[[noreturn]] void text_area_exhausted();

#endif
