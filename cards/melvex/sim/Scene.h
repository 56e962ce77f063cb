#pragma once
// What a simulated camera shows: luma and chroma at a point of the frame, in digitizer
// samples (x) and frame lines (y), for the n-th snap of the card.
#include <cstdint>
#include <functional>
#include <memory>

namespace orvale::melvex::sim {

struct SceneSample {
  std::uint8_t luma = 16;
  std::uint8_t cb = 128;
  std::uint8_t cr = 128;
};

class Scene {
 public:
  virtual ~Scene() = default;
  virtual SceneSample At(int x, int y, std::uint32_t snapIndex) const = 0;
};

// Every value follows from the coordinates, so a test can compute what a pixel holds:
// luma (x + 3y) mod 256, Cb (2x + y) mod 256, Cr (x + 2y + 128) mod 256.
class CoordinateScene final : public Scene {
 public:
  SceneSample At(int x, int y, std::uint32_t snapIndex) const override;
  static SceneSample Expected(int x, int y);
};

// One colour everywhere.
class UniformScene final : public Scene {
 public:
  explicit UniformScene(SceneSample sample) : sample_(sample) {}
  SceneSample At(int, int, std::uint32_t) const override { return sample_; }

 private:
  SceneSample sample_;
};

// A bright rectangle (edges included) on black, as the picture area of a camera.
class RectangleScene final : public Scene {
 public:
  RectangleScene(int left, int top, int right, int bottom, std::uint8_t inside = 200,
                 std::uint8_t outside = 0)
      : left_(left), top_(top), right_(right), bottom_(bottom), inside_(inside), outside_(outside) {}
  SceneSample At(int x, int y, std::uint32_t snapIndex) const override;

 private:
  int left_, top_, right_, bottom_;
  std::uint8_t inside_, outside_;
};

// Another scene with a seeded variation of up to +-amplitude per snap and sample.
class VaryingScene final : public Scene {
 public:
  VaryingScene(std::shared_ptr<const Scene> base, std::uint32_t seed, int amplitude)
      : base_(std::move(base)), seed_(seed), amplitude_(amplitude) {}
  SceneSample At(int x, int y, std::uint32_t snapIndex) const override;
  // The offset added to every component of sample (x, y) in snap `snapIndex`.
  int Offset(int x, int y, std::uint32_t snapIndex) const;

 private:
  std::shared_ptr<const Scene> base_;
  std::uint32_t seed_;
  int amplitude_;
};

// A scene from a function, for one-off pictures in tests.
class FunctionScene final : public Scene {
 public:
  using Function = std::function<SceneSample(int x, int y, std::uint32_t snapIndex)>;
  explicit FunctionScene(Function function) : function_(std::move(function)) {}
  SceneSample At(int x, int y, std::uint32_t snapIndex) const override {
    return function_(x, y, snapIndex);
  }

 private:
  Function function_;
};

}  // namespace orvale::melvex::sim
