int lines_unit() { return 0; }
