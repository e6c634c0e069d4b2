int linegeom_unit() { return 0; }
