// The correctly rounded radian functions behind the degree trigonometry, and their slow exact paths.
//
// The game itself calls only sin_deg, cos_deg and atan2_deg (engine.h). These are here so that the
// tests can hold each path to a reference on its own: the fast path answers almost every call and
// hands the rare undecided one to the slow path, which a test could otherwise never reach.
#pragma once

namespace trig {

// The correctly rounded (to nearest, ties to even) sine, cosine and arc tangent of doubles.
double sin_rad(double x);
double cos_rad(double x);
double atan2_rad(double y, double x);

// The same results by the slow path alone: fixed-point arithmetic of 256 fraction bits.
double sin_rad_exact(double x);
double cos_rad_exact(double x);
double atan2_rad_exact(double y, double x);

// How many calls so far the fast path could not decide and left to the slow one.
long long slow_calls();

}  // namespace trig
