/* Valid C, not C++: a variable named like a C++ keyword and an implicit
   conversion from void *. */
static char storage[4];
int class = 1;
char *take(void) { void *p = storage; char *c = p; return c; }
