#pragma once
// The traced fringe centres as the fit takes them: every point with the order of its
// fringe as its height. One routine for the image view and the document's analysis.
#include <cstdint>
#include <span>

namespace orvale {

class clsFringes;

// The number of centre points of all fringes (the sum of their point counts).
std::int32_t GetFringeNumTicks(const clsFringes& fringes);

// Fills fringe by fringe, in record order, each point's x and y in image pixels and
// its fringe's order as z. A fringe without an order reports its points at (-1, -1)
// with z 0, so that the fit skips them. The arrays are 0-based and sized by the
// caller (GetFringeNumTicks elements); nothing is written past the shortest of them.
void GetFringeCenterData(const clsFringes& fringes, std::span<double> X, std::span<double> Y,
                         std::span<double> z);

}  // namespace orvale
