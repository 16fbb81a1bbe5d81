// Every environment read and write of the driver goes through one
// env_manager, which can trace the operations and could undo the writes.
#ifndef VRK_DRIVER_ENV_MANAGER_H
#define VRK_DRIVER_ENV_MANAGER_H

#include <vector>

class env_manager {
public:
  env_manager() = default;
  env_manager(const env_manager &) = delete;
  env_manager &operator=(const env_manager &) = delete;
  ~env_manager();

  // CAN_RESTORE: remember previous values for restore(); DEBUG: trace
  // every operation on standard error.
  void init(bool can_restore, bool debug);

  const char *getenv(const char *name);

  // Put TEXT ("NAME=VALUE") into the environment.  TEXT itself is handed
  // to putenv and must stay allocated for the rest of the process.  Under
  // -v the text is echoed on standard error.
  void xput(const char *text);

  // Undo every remembered xput, last first.
  void restore();

private:
  struct saved_pair {
    char *name;
    char *value;  // null: the variable was unset
  };
  bool can_restore_ = false;
  bool debug_ = false;
  std::vector<saved_pair> saved_;
};

// The driver's one environment manager (both settings off).
extern env_manager env;

#endif
