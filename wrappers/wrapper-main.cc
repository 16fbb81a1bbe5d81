// Entry point of vrk-ar, vrk-nm and vrk-ranlib; the build gives each its
// personality (the tool it runs).
#include "wrappers/wrapper.h"

#ifndef VRK_WRAPPER_PERSONALITY
#error "VRK_WRAPPER_PERSONALITY must name the tool (ar, nm or ranlib)"
#endif

int main(int argc, char **argv) { return wrapper_main(VRK_WRAPPER_PERSONALITY, argc, argv); }
