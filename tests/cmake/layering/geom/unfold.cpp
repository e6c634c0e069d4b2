int unfold_unit() { return 0; }
