#include "deps.h"
int deps_value(void) { return DEPS_VALUE; }
