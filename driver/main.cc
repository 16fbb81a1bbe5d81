// Process entry of the driver.
#include "driver/vrk.h"

int main(int argc, char **argv) {
  driver d;
  return d.main(argc, argv);
}
