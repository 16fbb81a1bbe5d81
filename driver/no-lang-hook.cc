// The language driver hook of the plain driver: the command line is used
// as decoded.
#include "driver/lang-hook.h"

void lang_specific_driver(decoded_option **, unsigned *, int *) {}
