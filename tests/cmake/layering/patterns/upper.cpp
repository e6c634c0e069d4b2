int upper_unit() { return 0; }
