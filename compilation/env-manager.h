// Every environment read and write of the driver goes through one
// env_manager, which can trace the operations and could undo the writes.
#ifndef VRK_COMPILATION_ENV_MANAGER_H
#define VRK_COMPILATION_ENV_MANAGER_H

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
  // Echo every xput on standard error while *FLAG is not 0 (the driver's
  // -v, which may be given after the first write); null: never.
  void echo_when(const int *flag) { echo_flag_ = flag; }

  const char *getenv(const char *name);

  // Put TEXT ("NAME=VALUE") into the environment.  TEXT itself is handed
  // to putenv and must stay allocated for the rest of the process.  The
  // text is echoed on standard error when echo_when's flag is set.
  void xput(const char *text);

  // Undo every remembered xput, last first.
  void restore();

  // The last text given to xput for every name, in the order the names
  // were first set (a handful per run): what the driver set or changed for
  // its children.
  const std::vector<const char *> &put_texts() const { return put_; }

private:
  struct saved_pair {
    char *name;
    char *value;  // null: the variable was unset
  };
  bool can_restore_ = false;
  bool debug_ = false;
  const int *echo_flag_ = nullptr;
  std::vector<saved_pair> saved_;
  std::vector<const char *> put_;
};

// The driver's one environment manager (both settings off).  Process-wide
// because the environment itself is: every reader and writer in the
// process goes through this one object.
extern env_manager env;

#endif
