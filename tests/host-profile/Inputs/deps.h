#define DEPS_VALUE 3
