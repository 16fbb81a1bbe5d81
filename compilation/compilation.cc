// The run record's start and end.
#include "compilation/compilation.h"

#include <cstdlib>

#include "options/opts.h"

compilation::compilation() { init_options_struct(&options, &options_set); }

compilation::~compilation() {
  compare_debug.release_dumps();
  std::free(compare_debug.random_seed_text);
  if (timing_report_file)
    std::fclose(timing_report_file);
}

void compare_debug_state::release_dumps() {
  std::free(const_cast<char *>(dumps[0]));
  std::free(const_cast<char *>(dumps[1]));
  dumps[0] = dumps[1] = nullptr;
}
