#include "app/analysis/PolygonMaskFill.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/runtime/NumberText.h"

namespace orvale {

namespace {

struct Span {
  std::int32_t begin;  // first pixel
  std::int32_t end;    // one past the last pixel
};

// The spans of one apex on one row: the lowest and highest unrounded end.
struct SpanEnds {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  int count = 0;
  void Take(double x) {
    low = std::min(low, x);
    high = std::max(high, x);
    ++count;
  }
};

// A span end rounded to a pixel and clipped to 0 .. width. Rounding and clipping keep
// the order of the ends, so the lowest rounded end is the rounded lowest end.
std::int32_t SpanEnd(double x, std::int32_t width) {
  return static_cast<std::int32_t>(std::clamp(RoundHalfEven(x), 0.0, static_cast<double>(width)));
}

void AddSpan(const SpanEnds& ends, std::int32_t width, std::vector<Span>& spans) {
  // Two lines at least: the spans of every pair of them join into lowest .. highest.
  if (ends.count < 2) return;
  const Span span{SpanEnd(ends.low, width), SpanEnd(ends.high, width)};
  if (span.begin < span.end) spans.push_back(span);
}

// Writes the union of the spans into one row.
void FillSpans(std::vector<Span>& spans, std::uint8_t* row, std::uint8_t value) {
  std::sort(spans.begin(), spans.end(),
            [](const Span& a, const Span& b) { return a.begin < b.begin; });
  std::size_t k = 0;
  while (k < spans.size()) {
    Span run = spans[k++];
    while (k < spans.size() && spans[k].begin <= run.end)
      run.end = std::max(run.end, spans[k++].end);
    std::memset(row + run.begin, value, static_cast<std::size_t>(run.end - run.begin));
  }
}

}  // namespace

bool IsMaskCoordinate(const PointD& point) {
  return std::fabs(point.x) <= kMaxMaskCoordinate && std::fabs(point.y) <= kMaxMaskCoordinate;
}

void FillPolygonMask(std::span<std::uint8_t> mask, std::int32_t width, std::int32_t height,
                     std::span<const PointD> vertices, std::uint8_t value) {
  const std::size_t n = vertices.size();
  if (n < 3 || width < 1 || height < 1) return;
  if (mask.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) return;
  if (!std::all_of(vertices.begin(), vertices.end(), IsMaskCoordinate)) return;

  std::vector<double> vx(n), vy(n);
  for (std::size_t i = 0; i < n; ++i) {
    vx[i] = RoundHalfEven(vertices[i].x);
    vy[i] = RoundHalfEven(vertices[i].y);
  }
  // slope[i * n + j]: x per row along the line from vertex i to vertex j, in the form
  // the triangle rule divides (apex minus other end); unused when both share a row.
  std::vector<double> slope(n * n, 0.0);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t j = 0; j < n; ++j)
      if (vy[i] != vy[j]) slope[i * n + j] = (vx[i] - vx[j]) / (vy[i] - vy[j]);

  // Only rows inside the mask are visited, however far the vertices lie.
  const auto [lowest, highest] = std::minmax_element(vy.begin(), vy.end());
  const double firstRow = std::max(*lowest, 0.0);
  const double lastRow = std::min(*highest, static_cast<double>(height - 1));
  if (firstRow > lastRow) return;

  std::vector<Span> spans;
  spans.reserve(2 * n);
  for (auto row = static_cast<std::int32_t>(firstRow); row <= static_cast<std::int32_t>(lastRow);
       ++row) {
    const double y = row;
    spans.clear();
    for (std::size_t i = 0; i < n; ++i) {
      const double* s = slope.data() + i * n;
      if (vy[i] <= y) {
        // Upper parts of the triangles whose top vertex is i: the other two lie below
        // the row.
        SpanEnds ends;
        for (std::size_t j = 0; j < n; ++j)
          if (vy[j] > y) ends.Take((y - vy[i]) * s[j] + vx[i]);
        AddSpan(ends, width, spans);
      }
      if (vy[i] >= y) {
        // Lower parts of the triangles whose bottom vertex is i: the other two lie on or
        // above the row and above vertex i.
        SpanEnds ends;
        for (std::size_t j = 0; j < n; ++j)
          if (vy[j] <= y && vy[j] < vy[i]) ends.Take(vx[i] - (vy[i] - y) * s[j]);
        AddSpan(ends, width, spans);
      }
    }
    FillSpans(spans, mask.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(width),
              value);
  }
}

}  // namespace orvale
