int broken() { return undeclared_name; }
