#pragma once
// The screen as a frame-grabber library sees it: its size, its depth and how it maps a
// colour onto the nearest one it can show (GetNearestColor).
#include <cstdint>
#include <functional>

namespace orvale {

// Colours are 0x00BBGGRR, as Windows COLORREF values.
class DisplayService {
 public:
  virtual ~DisplayService() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual int BitsPerPixel() const = 0;
  virtual std::uint32_t NearestColor(std::uint32_t colorref) const = 0;
};

// The primary screen through Qt, or a 1024 x 768 display without one. Nearest colours
// follow the depth: 5:6:5 at 16 bits, exact above.
class ScreenDisplayService final : public DisplayService {
 public:
  int Width() const override;
  int Height() const override;
  int BitsPerPixel() const override;
  std::uint32_t NearestColor(std::uint32_t colorref) const override;
};

// A display whose size, depth and nearest-colour answer a test sets.
class FakeDisplay final : public DisplayService {
 public:
  FakeDisplay(int width, int height, int bits) : width_(width), height_(height), bits_(bits) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  int BitsPerPixel() const override { return bits_; }
  std::uint32_t NearestColor(std::uint32_t colorref) const override;

  void SetMode(int width, int height, int bits);
  // Replaces the nearest-colour answer; by default it keeps what `bits` can show
  // (5 bits per component at 15 and 8 bits, 5:6:5 at 16, exact above).
  void SetNearestColor(std::function<std::uint32_t(std::uint32_t)> nearest);

 private:
  int width_;
  int height_;
  int bits_;
  std::function<std::uint32_t(std::uint32_t)> nearest_;
};

// The colour `colorref` becomes on a display of `bits` per pixel.
std::uint32_t NearestColorAtDepth(std::uint32_t colorref, int bits);

}  // namespace orvale
