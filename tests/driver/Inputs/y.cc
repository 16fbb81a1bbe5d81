int y() { return 0; }
