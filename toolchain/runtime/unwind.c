/* The unwinder entry points that the target's C library names for its
   clean-up handlers.  This runtime raises no exceptions, so unwinding can
   never start: a personality routine reports that it cannot unwind, and
   resuming an unwind that cannot exist stops the program. */
int __gcc_personality_v0(int version, int actions, unsigned long long exception_class,
                         void *exception, void *context) {
  (void)version, (void)actions, (void)exception_class, (void)exception, (void)context;
  return 3; /* fatal phase-1 error: no unwinding here */
}

void _Unwind_Resume(void *exception) {
  (void)exception;
  __builtin_trap();
}
