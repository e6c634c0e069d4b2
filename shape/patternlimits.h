#pragma once

// The bounds of the pattern settings the general data and seam allowance
// editors enforce before the values reach the pattern writers.

class ParaStruct;

// Control-point diameter at least 1 mm, tip airfoil factor 0.0025 to 1,
// rear rib cavity 0 to 0.5. Values inside their bounds stay untouched.
void Apply_PatternLimits(ParaStruct* design);
