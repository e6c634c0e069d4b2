int core_unit() { return 0; }
