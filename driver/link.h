// The linking step: after every input has been compiled, run the link
// command spec with all objects and libraries, or tell the user about
// linker inputs that were given for nothing.
#ifndef VRK_DRIVER_LINK_H
#define VRK_DRIVER_LINK_H

class spec_interpreter;

// DRIVER_NAME is argv[0] of the driver as the user started it.
void maybe_run_linker(spec_interpreter &in, const char *driver_name);

#endif
