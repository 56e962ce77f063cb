// A format plug-in for the tests, built as KRV<EXT>32.so in several variants. Its file
// format: "FAKE", 16-bit width, height and bits, then the rows top-down.
//   FAKE_MISSING_SAVE     the SaveImg entry point is left out
//   FAKE_INFO_FAILS       LoadInfo reports failure
//   FAKE_SAVE_FAILS_LATE  SaveImg writes half the file, then reports failure
#include <cstdio>
#include <cstring>
#include <vector>

#include "korrin32.h"

#define FAKE_CAT2(a, b) a##b
#define FAKE_CAT(a, b) FAKE_CAT2(a, b)
#define FAKE_ENTRY(name) extern "C" __attribute__((visibility("default"))) int32_t FAKE_CAT(FAKE_EXT, name)

namespace {

int BytesPerPixel(int bits) { return bits <= 8 ? 1 : bits <= 16 ? 2 : bits / 8; }

struct Header {
  char magic[4];
  int16_t width, height, bits;
};

bool ReadHeader(std::FILE* f, Header& h) {
  return std::fread(&h, sizeof h, 1, f) == 1 && std::memcmp(h.magic, "FAKE", 4) == 0;
}

}  // namespace

FAKE_ENTRY(_LoadInfo)(const char* fileName, int16_t* width, int16_t* height, int16_t* bits,
                      int16_t* extra) {
#ifdef FAKE_INFO_FAILS
  (void)fileName, (void)width, (void)height, (void)bits, (void)extra;
  return -1;
#else
  std::FILE* f = std::fopen(fileName, "rb");
  if (f == nullptr) return -1;
  Header h;
  const bool ok = ReadHeader(f, h);
  std::fclose(f);
  if (!ok) return -1;
  *width = h.width;
  *height = h.height;
  *bits = h.bits;
  *extra = 77;
  return 0;
#endif
}

FAKE_ENTRY(_LoadImg)(const char* fileName, uint8_t* paletteOut, const uint8_t* paletteIn,
                     KR_PutRowProc putRow) {
  (void)paletteIn;
  std::FILE* f = std::fopen(fileName, "rb");
  if (f == nullptr) return -1;
  Header h;
  if (!ReadHeader(f, h)) {
    std::fclose(f);
    return -1;
  }
  for (int i = 0; i < 256 * 3; ++i) paletteOut[i] = static_cast<uint8_t>(255 - i / 3);
  std::vector<uint8_t> row(static_cast<size_t>(h.width) * BytesPerPixel(h.bits));
  int32_t result = 0;
  for (int r = 0; r < h.height; ++r) {
    if (std::fread(row.data(), 1, row.size(), f) != row.size()) {
      result = -1;
      break;
    }
    putRow(r, row.data());
  }
  std::fclose(f);
  return result;
}

#ifndef FAKE_MISSING_SAVE
FAKE_ENTRY(_SaveImg)(const char* fileName, int32_t width, int32_t height, int32_t bits,
                     const uint8_t* palette, int32_t flags, KR_GetRowProc getRow) {
  (void)palette, (void)flags;
  std::FILE* f = std::fopen(fileName, "wb");
  if (f == nullptr) return -1;
  const Header h{{'F', 'A', 'K', 'E'}, static_cast<int16_t>(width), static_cast<int16_t>(height),
                 static_cast<int16_t>(bits)};
  std::fwrite(&h, sizeof h, 1, f);
  std::vector<uint8_t> row(static_cast<size_t>(width) * BytesPerPixel(bits));
  for (int r = 0; r < height; ++r) {
#ifdef FAKE_SAVE_FAILS_LATE
    if (r == height / 2) {
      std::fclose(f);
      return -1;
    }
#endif
    if (getRow(r, row.data()) != 0) {
      std::fclose(f);
      return -1;
    }
    std::fwrite(row.data(), 1, row.size(), f);
  }
  return std::fclose(f) == 0 ? 0 : -1;
}
#endif
