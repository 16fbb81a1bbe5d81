int x (void) { return 0; }
