#include "app/pictures/PictureFormat.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/runtime/ByteFields.h"

namespace orvale {

namespace {

bool StartsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

bool StartsWithText(std::span<const std::uint8_t> bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

// An icon directory: reserved 0, type 1 (icon) or 2 (cursor), at least one image.
bool IsIconDirectory(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 6 || ReadLE16(bytes.data()) != 0) return false;
  const std::uint16_t type = ReadLE16(bytes.data() + 2);
  return (type == 1 || type == 2) && ReadLE16(bytes.data() + 4) > 0;
}

// A placeable or plain Windows metafile, an enhanced metafile, or an SVG drawing (XML
// that names an svg element among its first bytes, or gzip-compressed).
bool IsDrawing(std::span<const std::uint8_t> bytes) {
  static constexpr std::array<std::uint8_t, 4> kPlaceable{0xD7, 0xCD, 0xC6, 0x9A};
  static constexpr std::array<std::uint8_t, 4> kPlainOnDisk{0x01, 0x00, 0x09, 0x00};
  if (StartsWith(bytes, kPlaceable) || StartsWith(bytes, kPlainOnDisk)) return true;
  if (bytes.size() >= 44 && ReadLE32(bytes.data()) == 1 && StartsWithText(bytes.subspan(40), " EMF")) return true;
  std::size_t start = 0;
  while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\t' || bytes[start] == '\r' || bytes[start] == '\n'))
    ++start;
  if (!StartsWithText(bytes.subspan(start), "<")) return false;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), std::min<std::size_t>(bytes.size(), 4096));
  return text.find("<svg") != std::string_view::npos;
}

}  // namespace

PictureFormat PictureFormatOf(std::span<const std::uint8_t> head) {
  static constexpr std::array<std::uint8_t, 3> kJpeg{0xFF, 0xD8, 0xFF};
  static constexpr std::array<std::uint8_t, 8> kPng{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (StartsWithText(head, "BM")) return PictureFormat::Bmp;
  if (StartsWith(head, kJpeg)) return PictureFormat::Jpeg;
  if (StartsWith(head, kPng)) return PictureFormat::Png;
  if (StartsWithText(head, "GIF87a") || StartsWithText(head, "GIF89a")) return PictureFormat::Gif;
  if (IsIconDirectory(head)) return PictureFormat::Icon;
  if (IsDrawing(head)) return PictureFormat::Metafile;
  return PictureFormat::Other;
}

}  // namespace orvale
