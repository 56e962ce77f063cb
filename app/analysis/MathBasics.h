#pragma once
// Small comparisons, swaps, logarithms and distances shared by the engine, the shapes
// and the charts.
#include <cstdint>
#include <string>

#include "app/analysis/Points.h"

namespace orvale {

double MaxD(double a, double b);  // b when a < b, else a
double MinD(double a, double b);  // a when a <= b, else b
std::int32_t MaxL(std::int32_t a, std::int32_t b);
std::int32_t MinL(std::int32_t a, std::int32_t b);
void SwapL(std::int32_t& a, std::int32_t& b);
void SwapD(double& a, double& b);

// ln(x) / 2.30258509299405: just below k for x = 10^k (k >= 1); axis rounding relies on it.
double Log10(double x);
double Log10Long(std::int32_t x);

double Distance(const PointD& p1, const PointD& p2);

// Replaces every "," by "." so that a number written in a comma locale reads back.
void CommaToPoint(std::string& s);

// Greatest common divisor of the magnitudes of a and b (binary method); GCD(a, 0) is
// |a|. The result is 64-bit because the gcd of INT32_MIN and 0 is 2^31.
std::int64_t GCD(std::int32_t a, std::int32_t b);

}  // namespace orvale
