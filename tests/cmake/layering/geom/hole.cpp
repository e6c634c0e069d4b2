int hole_unit() { return 0; }
