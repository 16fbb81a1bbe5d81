// The spec functions of this build.
#include "spec/spec-function-table.h"

#include <cstring>

namespace {

const spec_function builtin_spec_functions[] = {
    {nullptr, nullptr},
};

} // namespace

const spec_function *spec_function_table = builtin_spec_functions;
int spec_function_count = 0;

const spec_function *lookup_spec_function(const char *name) {
  for (int i = 0; i < spec_function_count; i++)
    if (std::strcmp(spec_function_table[i].name, name) == 0)
      return &spec_function_table[i];
  return nullptr;
}
