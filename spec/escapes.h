// The escapes of the spec language, one family per function (escapes.cc),
// behind the one entry point that do_spec_1 calls after a "%".
#ifndef VRK_SPEC_ESCAPES_H
#define VRK_SPEC_ESCAPES_H

#include <optional>

class spec_interpreter;

// Where do_spec_1 is in its spec: the whole text (for messages), the
// position, and what %* inserts there (null when none).
struct spec_cursor {
  const char *spec;
  const char *p;
  const char *star_text;
};

// The escape at AT.p (just after the "%"); AT.p ends after it.  A value
// ends do_spec_1 with that result; nothing means go on.
std::optional<int> do_escape(spec_interpreter &in, spec_cursor &at);

// Export the option list and execute the argument buffer when it holds a
// command; 0 or the failure status.
int execute_buffer(spec_interpreter &in);

#endif
