int geom_unit() { return 0; }
