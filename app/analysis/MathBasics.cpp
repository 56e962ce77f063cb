#include "app/analysis/MathBasics.h"

#include <cmath>
#include <utility>

#include "app/analysis/MathConstants.h"

namespace orvale {

double MaxD(double a, double b) { return a < b ? b : a; }
double MinD(double a, double b) { return a <= b ? a : b; }
std::int32_t MaxL(std::int32_t a, std::int32_t b) { return a >= b ? a : b; }
std::int32_t MinL(std::int32_t a, std::int32_t b) { return a <= b ? a : b; }
void SwapL(std::int32_t& a, std::int32_t& b) { std::swap(a, b); }
void SwapD(double& a, double& b) { std::swap(a, b); }

double Log10(double x) { return std::log(x) / kLn10; }
double Log10Long(std::int32_t x) { return std::log(static_cast<double>(x)) / kLn10; }

double Distance(const PointD& p1, const PointD& p2) {
  const double dx = p2.x - p1.x;
  const double dy = p2.y - p1.y;
  return std::sqrt(dx * dx + dy * dy);
}

void CommaToPoint(std::string& s) {
  for (char& c : s)
    if (c == ',') c = '.';
}

namespace {

std::uint32_t Magnitude(std::int32_t v) {
  // Through 64 bits so that INT32_MIN has a magnitude too.
  const std::int64_t wide = v;
  return static_cast<std::uint32_t>(wide < 0 ? -wide : wide);
}

}  // namespace

std::int64_t GCD(std::int32_t a, std::int32_t b) {
  std::uint32_t ua = Magnitude(a);
  std::uint32_t ub = Magnitude(b);
  if (ub == 0) return ua;
  if (ua == 0) return ub;
  int ka = 0;
  while ((ua & 1u) == 0) ua >>= 1, ++ka;
  int kb = 0;
  while ((ub & 1u) == 0) ub >>= 1, ++kb;
  if (ua < ub) std::swap(ua, ub);
  while (ua != ub) {
    ua -= ub;
    while ((ua & 1u) == 0) ua >>= 1;
    if (ua < ub) std::swap(ua, ub);
  }
  return static_cast<std::int64_t>(ua) << (ka < kb ? ka : kb);
}

}  // namespace orvale
