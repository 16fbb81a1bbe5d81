// Response files for children: while `in_response_file` is set the
// finished arguments collect in response_arg_buffer; finishing writes them
// to a file in the argument-file syntax and passes "@file" instead.
#include <fcntl.h>

#include <cstdio>
#include <string>

#include "diagnostics/diagnostic.h"
#include "driver/driver-state.h"
#include "process/argv.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"
#include "support/text.h"

namespace {

// Numbers the response files kept under -save-temps.
int response_file_counter;

char *response_file_name() {
  if (!save_temps_mode)
    return create_registered_temp_file("", true);
  const char *base = "a";
  bool dash_added_dir = false;
  if (aux_base && *aux_base) {
    base = aux_base;
  } else if (aux_dir && *aux_dir) {
    base = aux_dir;
    dash_added_dir = aux_dir_dash_added;
  }
  char *name = xasprintf(dash_added_dir ? "%sargs.%d" : "%s.args.%d", base,
                         response_file_counter++);
  return name;
}

} // namespace

void write_response_file() {
  if (!in_response_file)
    fatal_error(UNKNOWN_LOCATION, "cannot close nonexistent response file");
  in_response_file = false;
  if (response_arg_buffer.empty())
    return;

  char *name = response_file_name();
  std::vector<const char *> args = std::move(response_arg_buffer);
  response_arg_buffer.clear();
  args.push_back(nullptr);

  // Never through a symbolic link planted under the name (a kept name is
  // predictable, and a temporary one could be replaced in a shared
  // directory that is not sticky).
  int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  std::FILE *f = fd >= 0 ? fdopen(fd, "w") : nullptr;
  if (!f)
    fatal_error(UNKNOWN_LOCATION, "could not open temporary response file %s", name);
  if (write_arguments(const_cast<char *const *>(args.data()), f) != 0)
    fatal_error(UNKNOWN_LOCATION, "could not write to temporary response file %s", name);
  if (std::fclose(f) != 0)
    fatal_error(UNKNOWN_LOCATION, "could not close temporary response file %s", name);

  push_arg(concat("@", name, nullptr), 0, false);
}
