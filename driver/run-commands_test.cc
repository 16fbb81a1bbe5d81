// The driver's execution glue.  Running commands with the driver's options
// is covered end to end by the driver tests; what they cannot reach is the
// guard against running a command from inside a spec function.
#include "driver/run-commands.h"

#include <gtest/gtest.h>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "spec/interpreter.h"

namespace {

TEST(RunCommands, NoCommandFromInsideSpecFunctionArguments) {
  diagnostic_initialize("vrk++");
  // Earlier errors would turn the internal error into a bail-out line.
  for (int kind = 0; kind < kind_last_diagnostic_kind; ++kind)
    diagnostic_count(static_cast<diagnostic_kind>(kind)) = 0;
  compilation comp;
  spec_interpreter in(comp);
  in.args.buffer = {"sh", "-c", "exit 0"};
  in.spec_function_depth = 1;
  EXPECT_EXIT(execute_arg_buffer(in), testing::ExitedWithCode(4),
              "internal compiler error: in execute_arg_buffer");
}

}  // namespace
