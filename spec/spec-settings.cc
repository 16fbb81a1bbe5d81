#include "spec/spec-settings.h"

#if __has_include("options/option-values.inc")
#include "options/option-table.h"

bool spec_verbose() { return global_options.x_verbose_flag != 0; }
bool spec_pipes_in_use() { return global_options.x_use_pipes != 0; }
#else
// The option table has not been generated in this tree yet.
bool spec_verbose() { return false; }
bool spec_pipes_in_use() { return false; }
#endif
