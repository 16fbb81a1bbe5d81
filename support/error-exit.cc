#include "support/error-exit.h"

#include <cstdlib>

error_exit_handler error_exit_hook = nullptr;

void exit_after_error(int status) {
  if (error_exit_hook)
    error_exit_hook(status);
  std::exit(status);
}
