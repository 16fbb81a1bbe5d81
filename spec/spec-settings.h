// The few option settings the spec machinery reads (-v, -pipe), in one
// place so that the interpreter does not depend on the option table's
// generated layout.
#ifndef VRK_SPEC_SPEC_SETTINGS_H
#define VRK_SPEC_SPEC_SETTINGS_H

// -v (also set by -###).
bool spec_verbose();
// -pipe is in effect (command-line processing turns it off under
// -save-temps).
bool spec_pipes_in_use();

#endif
