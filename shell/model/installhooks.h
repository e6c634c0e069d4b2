#pragma once

// Gives the core the recompute steps and services that later subsystems
// provide. Every program and test that recomputes a whole design calls it
// once at start-up; calling it again does no harm.
void Install_Recompute_Hooks();
