#ifndef SHELL_RECOMPUTE_H
#define SHELL_RECOMPUTE_H

class ParaStruct;

// The shell's only calls into the recompute pipeline: everything the main
// window and the scaled model need recomputed goes through these two.
void Recompute_Design(ParaStruct* design);          // Refresh_Calculations
void Repair_Design_Airfoils(ParaStruct* design);    // ParaStruct::Repair_Airfoils

#endif
