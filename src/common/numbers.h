#pragma once
#include <cmath>

/// Largest magnitude a length or diameter from the command file may have, in its unit.
/// Far beyond any board, yet small enough that no unit conversion or sum overflows.
constexpr double MAX_COMMAND_NUMBER = 1e12;

/// True for a number the command file may set: finite and within MAX_COMMAND_NUMBER.
inline bool usable_number(double value) { return std::isfinite(value) && std::fabs(value) <= MAX_COMMAND_NUMBER; }
