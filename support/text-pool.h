// Texts carved one after another from large chunks, which stay while the
// pool does: the interpreter finishes an argument for every word of every
// command it builds, and none is given back before the run ends.
#ifndef VRK_SUPPORT_TEXT_POOL_H
#define VRK_SUPPORT_TEXT_POOL_H

#include <cstddef>
#include <cstring>
#include <vector>

class text_pool {
public:
  text_pool() = default;
  text_pool(const text_pool &) = delete;
  text_pool &operator=(const text_pool &) = delete;
  ~text_pool();

  // A null-terminated copy of the LENGTH characters at TEXT.
  char *copy(const char *text, std::size_t length) {
    if (static_cast<std::size_t>(end_ - next_) <= length)
      refill(length + 1);
    char *result = next_;
    if (length)
      std::memcpy(result, text, length);
    result[length] = '\0';
    next_ += length + 1;
    return result;
  }

private:
  // A new chunk with room for at least SIZE characters; the rest of the
  // old one is left unused.
  void refill(std::size_t size);

  char *next_ = nullptr;
  char *end_ = nullptr;
  std::vector<char *> chunks_;
};

#endif
