// A freestanding C++ program for the host toolchain profile: no C library,
// its own start-up code (start.S), no exceptions.  Build and run it with
//   vrk++ -v -fno-exceptions -nostdlib -static -o hello hello.cc start.S
//   qemu-aarch64 ./hello; echo $?
extern "C" long sys_write(int fd, const void *text, unsigned long length);

namespace {

class line_writer {
public:
  void text(const char *s) {
    while (*s && used_ < sizeof buffer_)
      buffer_[used_++] = *s++;
  }
  void number(unsigned long n) {
    char digits[20];
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + n % 10);
      n /= 10;
    } while (n);
    while (count && used_ < sizeof buffer_)
      buffer_[used_++] = digits[--count];
  }
  ~line_writer() { sys_write(1, buffer_, used_); }

private:
  char buffer_[128];
  unsigned long used_ = 0;
};

constexpr unsigned long sum_to(unsigned long n) { return n * (n + 1) / 2; }

} // namespace

extern "C" int main() {
  {
    line_writer out;
    out.text("hello from 64-bit Arm: 1 + 2 + ... + 100 = ");
    out.number(sum_to(100));
    out.text("\n");
  }
  return 0;
}
