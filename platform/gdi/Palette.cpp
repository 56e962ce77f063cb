#include "platform/gdi/Palette.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace orvale::gdi {

namespace {

// The static colours of a palette display: the first ten and the last ten entries.
constexpr PaletteEntry kStaticLow[10] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}};
constexpr PaletteEntry kStaticHigh[10] = {
    {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},
    {0, 255, 0, 0},     {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},
    {0, 255, 255, 0},   {255, 255, 255, 0}};

// Every live palette by handle. Palettes are few and small: a map under one lock.
class PaletteTable {
 public:
  PaletteTable() {
    std::vector<PaletteEntry> defaults(std::begin(kStaticLow), std::end(kStaticLow));
    defaults.insert(defaults.end(), std::begin(kStaticHigh), std::end(kStaticHigh));
    palettes_[kDefaultPalette] = std::move(defaults);
  }
  PaletteHandle Add(std::vector<PaletteEntry> entries) {
    std::lock_guard lock(mutex_);
    const PaletteHandle handle{next_++};
    palettes_[handle] = std::move(entries);
    return handle;
  }
  bool Remove(PaletteHandle handle) {
    std::lock_guard lock(mutex_);
    return handle != kDefaultPalette && palettes_.erase(handle) > 0;
  }
  std::optional<std::vector<PaletteEntry>> Find(PaletteHandle handle) const {
    std::lock_guard lock(mutex_);
    const auto it = palettes_.find(handle);
    if (it == palettes_.end()) return std::nullopt;
    return it->second;
  }

 private:
  mutable std::mutex mutex_;
  std::map<PaletteHandle, std::vector<PaletteEntry>> palettes_;
  std::uintptr_t next_ = 2;  // handles are never reused
};

PaletteTable& Table() {
  static PaletteTable table;
  return table;
}

}  // namespace

PaletteHandle CreatePalette(const LogPalette& palette) {
  if (palette.palVersion != kPaletteVersion || palette.entries.empty() ||
      palette.entries.size() > kMaxPaletteEntries) {
    return PaletteHandle::None;
  }
  return Table().Add(palette.entries);
}

bool DeletePalette(PaletteHandle palette) { return Table().Remove(palette); }

bool IsPalette(PaletteHandle palette) { return Table().Find(palette).has_value(); }

std::optional<std::vector<PaletteEntry>> PaletteEntries(PaletteHandle palette) {
  return Table().Find(palette);
}

std::uint32_t GetPaletteEntries(PaletteHandle palette, std::uint32_t start,
                                std::span<PaletteEntry> out) {
  const auto entries = Table().Find(palette);
  if (!entries || start >= entries->size()) return 0;
  const std::size_t count = std::min(out.size(), entries->size() - start);
  std::copy_n(entries->begin() + start, count, out.begin());
  return static_cast<std::uint32_t>(count);
}

const std::vector<PaletteEntry>& SystemPalette() {
  static const std::vector<PaletteEntry> system = [] {
    std::vector<PaletteEntry> entries(kMaxPaletteEntries);
    std::copy(std::begin(kStaticLow), std::end(kStaticLow), entries.begin());
    std::copy(std::begin(kStaticHigh), std::end(kStaticHigh), entries.end() - 10);
    return entries;
  }();
  return system;
}

}  // namespace orvale::gdi
