/* A hosted C program: the target's C library, linked statically. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char **argv) {
  char *copy = strdup(argc > 1 ? argv[1] : "nothing");
  printf("hosted C on 64-bit Arm: %s, %d arguments\n", copy, argc - 1);
  free(copy);
  return 3;
}
