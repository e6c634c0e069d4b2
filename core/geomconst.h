#pragma once

// Angle constants of the geometry code. The design computations take pi,
// half pi and one degree at these precisions; stored designs and the derived
// tables depend on them, so do not replace them by M_PI.
namespace wl {
constexpr double Pi = 3.141592653;
constexpr double HalfPi = 1.5707963265;
constexpr double Degree = 0.017453292516666667;
// Full double precision, used by the airfoil flow analyser's Fourier fit.
constexpr double FullPi = 3.141592653589793;
} // namespace wl
