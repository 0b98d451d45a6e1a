#pragma once
#include <cmath>

/// Largest magnitude a length or diameter from the command file or a pad or outline field of
/// the project may have, in its unit. Far beyond any board, yet small enough that no unit
/// conversion, sum or square overflows.
constexpr double MAX_INPUT_NUMBER = 1e12;

/// True for a number the command file or the geometry may take: finite and within MAX_INPUT_NUMBER.
inline bool usable_number(double value) { return std::isfinite(value) && std::fabs(value) <= MAX_INPUT_NUMBER; }

/// The value when usable_number accepts it, else 0.
inline double usable_or_zero(double value) { return usable_number(value) ? value : 0.0; }
