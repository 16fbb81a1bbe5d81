// The link-time-optimisation plugin that the wrappers load into the
// archive tools.  It registers nothing: archives of objects carrying
// intermediate code need no extra symbols from it in this toolchain.
extern "C" __attribute__((visibility("default"))) int onload(void *transfer_vector) {
  (void)transfer_vector;
  return 0;
}
