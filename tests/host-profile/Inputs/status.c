/* A freestanding C program: the start-up code of the examples calls main
   and exits with its result. */
long sys_write(int fd, const void *text, unsigned long length);
int main(void) {
  static const char text[] = "freestanding C on 64-bit Arm\n";
  sys_write(1, text, sizeof text - 1);
  return 7;
}
