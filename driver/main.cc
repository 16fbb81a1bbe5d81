// Process entry of the driver.
#include "driver/vrk.h"

int main(int argc, char **argv) {
  // The run's state is never taken apart: the process ends right after the
  // run, and releasing every table and text one by one would cost more
  // than a short run's last step.  It stays reachable from here until the
  // end (nothing is lost to a leak checker), and the clean-up at exit
  // relies on none of it.
  static driver *const d = new driver;
  return d->main(argc, argv);
}
