#pragma once

// Switches GSL's aborting error handler off. Safe to call any number of
// times; every helper that calls GSL calls it first.
void Gsl_Errors_Off();
