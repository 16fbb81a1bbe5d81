// Response files for children: while one is open the finished arguments
// collect in the response buffer; finishing writes them to a file in the
// argument-file syntax and passes "@file" instead.
#include <fcntl.h>

#include <cstdio>
#include <string>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "process/argv.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"
#include "support/text.h"

namespace {

char *response_file_name(spec_interpreter &in) {
  const compilation &comp = in.comp;
  if (!comp.save_temps_mode)
    return create_registered_temp_file("", true);
  const char *base = "a";
  bool dash_added_dir = false;
  if (comp.aux_base && *comp.aux_base) {
    base = comp.aux_base;
  } else if (comp.aux_dir && *comp.aux_dir) {
    base = comp.aux_dir;
    dash_added_dir = comp.aux_dir_dash_added;
  }
  return xasprintf(dash_added_dir ? "%sargs.%d" : "%s.args.%d", base, in.response_file_counter++);
}

} // namespace

void spec_interpreter::write_response_file() {
  if (!in_response_file)
    fatal_error(UNKNOWN_LOCATION, "cannot close nonexistent response file");
  in_response_file = false;
  if (args.response_buffer.empty())
    return;

  char *name = response_file_name(*this);
  std::vector<const char *> words = std::move(args.response_buffer);
  args.response_buffer.clear();
  if (trace) {
    trace->response_files.push_back({name, words, std::move(args.response_origins)});
    args.response_origins.clear();
  }
  words.push_back(nullptr);

  // Never through a symbolic link planted under the name (a kept name is
  // predictable, and a temporary one could be replaced in a shared
  // directory that is not sticky).
  int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  std::FILE *f = fd >= 0 ? fdopen(fd, "w") : nullptr;
  if (!f)
    fatal_error(UNKNOWN_LOCATION, "could not open temporary response file %s", name);
  if (write_arguments(const_cast<char *const *>(words.data()), f) != 0)
    fatal_error(UNKNOWN_LOCATION, "could not write to temporary response file %s", name);
  if (std::fclose(f) != 0)
    fatal_error(UNKNOWN_LOCATION, "could not close temporary response file %s", name);

  push_arg(concat("@", name, nullptr), 0, false);
}
