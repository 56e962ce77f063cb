#include "cards/melvex/LineFormats.h"

namespace orvale::melvex {

namespace {

constexpr int kHalfBytesPerPixel[kLastFormat + 1] = {0, 2, 1, 2, 4, 4, 6, 6, 8, 6, 4, 6};
constexpr int kNeutralChroma = 128;

struct Chroma {
  int cb;
  int cr;
};

// The chroma of pixel p: its own chroma byte and its pair partner's. A pixel whose
// partner lies past the line takes it from the pair on its other side.
inline Chroma ChromaOf(const CardLine& line, int p) {
  const std::uint8_t* b = line.bytes;
  const int own = b[2 * p];
  const bool partnerAfter = p + 1 < line.pixels;
  const bool partnerBefore = p >= 1;
  if (((p + (line.oddStart ? 1 : 0)) & 1) == 0) {  // own byte is Cb
    const int cr = partnerAfter ? b[2 * p + 2] : partnerBefore ? b[2 * p - 2] : kNeutralChroma;
    return {own, cr};
  }
  const int cb = partnerBefore ? b[2 * p - 2] : partnerAfter ? b[2 * p + 2] : kNeutralChroma;
  return {cb, own};
}

struct Sums {
  int red;
  int green;
  int blue;
};

inline Sums ColourSums(const ConversionTables& t, int y, Chroma c) {
  const int yt = t.yt[y];
  return {yt + t.crR[c.cr], yt + t.cbG[c.cb] + t.crG[c.cr], yt + t.cbB[c.cb]};
}

inline void Store16(std::uint8_t* out, int value) {
  out[0] = static_cast<std::uint8_t>(value);
  out[1] = static_cast<std::uint8_t>(value >> 8);
}

void ConvertGrey(const ConversionTables& t, int format, const CardLine& line, int firstPixel,
                 int count, int lineNumber, std::uint8_t* out) {
  const std::uint8_t* grey = line.bytes + firstPixel;
  if (format == 1) {
    for (int k = 0; k < count; ++k) out[k] = t.luminance[grey[k]];
    return;
  }
  for (int k = 0; k < count; ++k) {
    const int dithered = grey[k] + DitherOffset(lineNumber, k);
    const int level = t.gammaCurve[dithered > 255 ? 255 : dithered] >> 4;
    std::uint8_t& byte = out[k / 2];
    if (k & 1) {
      byte = static_cast<std::uint8_t>(byte | level);
    } else if (k + 1 < count) {
      byte = static_cast<std::uint8_t>(level << 4);
    } else {
      byte = static_cast<std::uint8_t>((byte & 0x0F) | (level << 4));
    }
  }
}

// Format 10: the raw pairs from the first Cb at or after firstPixel. Bytes past the line
// repeat the last pair, keeping the chroma phase.
void CopyRawPairs(const CardLine& line, int firstPixel, int count, std::uint8_t* out) {
  const int start = 2 * (firstPixel + (line.oddStart ? 1 : 0));
  const int bytes = 2 * (count + (count & 1));
  const int lineBytes = 2 * line.pixels;
  for (int i = 0; i < bytes; ++i) {
    int pos = start + i;
    if (pos >= lineBytes) pos -= 4 * ((pos - lineBytes) / 4 + 1);
    out[i] = pos >= 0 ? line.bytes[pos] : static_cast<std::uint8_t>(kNeutralChroma);
  }
}

}  // namespace

int LineBytes(int format, int width) {
  if (format < kFirstFormat || format > kLastFormat) return 0;
  if (format == 10) return kHalfBytesPerPixel[format] * (width + (width & 1)) / 2;
  return (kHalfBytesPerPixel[format] * width + 1) / 2;
}

void ConvertLine(const ConversionTables& t, int format, const CardLine& line, int firstPixel,
                 int count, int lineNumber, std::uint8_t* out) {
  if (IsGreyFormat(format)) {
    ConvertGrey(t, format, line, firstPixel, count, lineNumber, out);
    return;
  }
  if (format == 10) {
    CopyRawPairs(line, firstPixel, count, out);
    return;
  }
  for (int k = 0; k < count; ++k) {
    const int p = firstPixel + k;
    const int y = line.bytes[2 * p + 1];
    const Chroma c = ChromaOf(line, p);
    switch (format) {
      case 3: {
        const int d = DitherOffset(lineNumber, k);
        const Sums s = ColourSums(t, y, c);
        out[k] = static_cast<std::uint8_t>(t.red332[s.red + kRedGreenDitherScale * d] +
                                           t.green332[s.green + kRedGreenDitherScale * d] +
                                           t.blue332[s.blue + kBlueDitherScale * d]);
        break;
      }
      case 4: {
        const Sums s = ColourSums(t, y, c);
        Store16(out + 2 * k, t.red555[s.red] + t.green555[s.green] + t.blue555[s.blue]);
        break;
      }
      case 5: {
        const Sums s = ColourSums(t, y, c);
        Store16(out + 2 * k, t.red565[s.red] + t.green565[s.green] + t.blue565[s.blue]);
        break;
      }
      case 6: {
        const Sums s = ColourSums(t, y, c);
        std::uint8_t* o = out + 3 * k;
        o[0] = t.value8[s.red];
        o[1] = t.value8[s.green];
        o[2] = t.value8[s.blue];
        break;
      }
      case 7:
      case 8: {
        const Sums s = ColourSums(t, y, c);
        std::uint8_t* o = out + (format == 7 ? 3 : 4) * k;
        o[0] = t.value8[s.blue];
        o[1] = t.value8[s.green];
        o[2] = t.value8[s.red];
        if (format == 8) o[3] = 0;
        break;
      }
      case 9:
      case 11: {
        std::uint8_t* o = out + 3 * k;
        o[0] = static_cast<std::uint8_t>(y);
        o[1] = static_cast<std::uint8_t>(format == 9 ? c.cr : c.cb);
        o[2] = static_cast<std::uint8_t>(format == 9 ? c.cb : c.cr);
        break;
      }
      default:
        break;
    }
  }
}

void ConvertCbYCrYToBgr(const ConversionTables& t, const std::uint8_t* cbycry, int count,
                        std::uint8_t* bgr) {
  ConvertLine(t, 7, CardLine{cbycry, count, false}, 0, count, 0, bgr);
}

}  // namespace orvale::melvex
