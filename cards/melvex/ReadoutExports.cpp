// Reading a snapped frame out line by line in one of the eleven output formats: the
// card line is fetched, stretched to the output width and, where the card made fewer
// lines than asked, interpolated between the two card lines around the output line.
#include <algorithm>
#include <cstring>

#include "cards/melvex/DeviceRequests.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/LineFormats.h"
#include "cards/melvex/LineScaling.h"
#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

namespace {
// Pixels an assembled line holds: the output width once stretched (colour lines to a
// whole pair), else what the card made.
int AssembledPixels(const CardSession& session, bool grey) {
  if (session.hwWidth >= session.outWidth) return session.hwWidth;
  return grey ? session.outWidth : session.outWidth + (session.outWidth & 1);
}
}  // namespace

bool ZelvoLibrary::SeekCardLine(CardSession& session, int line) {
  const int target = line + session.lineSkip;
  if (target < session.hwLine) {
    if (!ResetReadoutPointer()) return false;
    session.hwLine = 0;
  }
  while (session.hwLine < target) {
    if (!AdvanceReadoutPointer()) return false;
    ++session.hwLine;
  }
  return true;
}

bool ZelvoLibrary::FetchCardLine(CardSession& session, int line, bool grey, std::uint8_t* dest) {
  if (!SeekCardLine(session, line)) return false;
  const std::span<std::uint8_t> out(dest, kLineBufferBytes);
  const auto width = static_cast<std::uint32_t>(session.hwWidth);
  bool read = false;
  if (!grey) {
    read = ReadCardMemory(session.dataWindow, width, out);
  } else if (session.monochrome) {
    read = ReadCardMemory(session.dataWindow, (width + 1) / 2, out);
  } else {
    read = ReadCardMemory2(session.dataWindow + 1, width, out);
  }
  if (!read) return false;
  if (grey) {
    StretchGreyLine(dest, session.hwWidth, session.outWidth);
  } else {
    StretchColourLine(dest, session.hwWidth, session.outWidth);
  }
  return true;
}

std::int32_t ZelvoLibrary::AssembleLine(CardSession& session, bool grey, const std::uint8_t*& line,
                                        int& pixels) {
  const int n = session.lineCounter;
  pixels = AssembledPixels(session, grey);
  const auto failed = [&] {
    session.ForgetCachedLines();
    return Fail(code::kLostContact);
  };
  if (session.hwHeight >= session.outHeight) {
    if (!FetchCardLine(session, n, grey, lineBuffer_.data())) return failed();
    line = lineBuffer_.data();
    return code::kOk;
  }
  if (session.hwHeight < 2) {
    // A single card line stands for every output line.
    if (session.bufferLineA != 0) {
      session.bufferLineA = -1;
      if (!FetchCardLine(session, 0, grey, session.bufferA.data())) return failed();
      session.bufferLineA = 0;
    }
    line = session.bufferA.data();
    return code::kOk;
  }
  const std::int64_t s = FixedStep(session.hwHeight, session.outHeight) * n;
  const int i = static_cast<int>(s >> 16);
  const auto f = static_cast<std::uint32_t>(s & 0xFFFF);
  if (session.bufferLineA == i + 1 || session.bufferLineB == i) {
    std::swap(session.bufferA, session.bufferB);
    std::swap(session.bufferLineA, session.bufferLineB);
  }
  if (session.bufferLineA != i) {
    session.bufferLineA = -1;
    if (!FetchCardLine(session, i, grey, session.bufferA.data())) return failed();
    session.bufferLineA = i;
  }
  if (session.bufferLineB != i + 1) {
    session.bufferLineB = -1;
    if (!FetchCardLine(session, i + 1, grey, session.bufferB.data())) return failed();
    session.bufferLineB = i + 1;
  }
  const std::size_t bytes = grey ? static_cast<std::size_t>(pixels) : 2 * static_cast<std::size_t>(pixels);
  InterpolateLines(session.bufferA.data(), session.bufferB.data(), f, bytes, lineBuffer_.data());
  line = lineBuffer_.data();
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_startReadout(std::int32_t format, std::uint16_t* lineBytes) {
  ExportScope scope(*this, export_name::ZLP_startReadout);
  CardSession* session = Current();
  if (session != nullptr) session->readoutStarted = false;
  if (session == nullptr) return Fail(code::kNotInitialised);
  if (!session->finished) return Fail(code::kSnapNotFinished);
  if (format < kFirstFormat || format > kLastFormat) return Fail(code::kOutOfRange);
  if (session->monochrome && !IsGreyFormat(format)) return Fail(code::kMonochrome);
  session->readoutFormat = format;
  session->lineCounter = 0;
  if (!ResetReadoutPointer()) return code::kLostContact;
  session->hwLine = 0;
  // Cached lines may hold the other kind (grey or colour) from an earlier readout.
  session->ForgetCachedLines();
  if (lineBytes != nullptr) *lineBytes = static_cast<std::uint16_t>(LineBytes(format, session->outWidth));
  session->readoutStarted = true;
  return code::kOk;
}

std::int32_t ZelvoLibrary::NextReadoutLine(const void* buffer, int firstPixel, int count, CardLine& line,
                                            int& lineNumber) {
  CardSession* session = Current();
  if (session == nullptr) return Fail(code::kNotInitialised);
  if (!session->readoutStarted) return Fail(code::kReadoutNotStarted);
  if (firstPixel + count > session->outWidth || session->lineCounter >= session->outHeight) {
    return Fail(code::kOutsideImage);
  }
  if (buffer == nullptr) return Fail(code::kBadPointer);
  const std::uint8_t* bytes = nullptr;
  int pixels = 0;
  if (const std::int32_t rc = AssembleLine(*session, IsGreyFormat(session->readoutFormat), bytes, pixels)) {
    return rc;
  }
  line = CardLine{bytes, pixels, session->oddStart};
  lineNumber = session->lineCounter++;
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_readLine(void* buffer, std::uint16_t firstPixel, std::uint16_t count) {
  ExportScope scope(*this, export_name::ZLP_readLine);
  CardLine line;
  int lineNumber = 0;
  if (const std::int32_t rc = NextReadoutLine(buffer, firstPixel, count, line, lineNumber)) return rc;
  ConvertLine(tables_, Current()->readoutFormat, line, firstPixel, count, lineNumber,
              static_cast<std::uint8_t*>(buffer));
  return code::kOk;
}

std::int32_t ZelvoLibrary::ReadRawColourLine(std::uint8_t* buffer, std::uint16_t count, CardLine& line) {
  // A line read in all but its conversion, failing under the same name.
  ExportScope scope(*this, export_name::ZLP_readLine);
  CardLine card;
  int lineNumber = 0;
  if (const std::int32_t rc = NextReadoutLine(buffer, 0, count, card, lineNumber)) return rc;
  std::memcpy(buffer, card.bytes, 2 * static_cast<std::size_t>(card.pixels));
  line = CardLine{buffer, card.pixels, card.oddStart};
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_skipLines(std::uint16_t count) {
  ExportScope scope(*this, export_name::ZLP_skipLines);
  CardSession* session = Current();
  if (session == nullptr) return Fail(code::kNotInitialised);
  if (!session->readoutStarted) return Fail(code::kReadoutNotStarted);
  // Stops at the end, so the next line read is outside the image rather than line 0.
  session->lineCounter = std::min<int>(session->lineCounter + count, session->outHeight);
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_convertCbYCrYToBGR24(std::uint8_t* bgr, const std::uint8_t* cbycry,
                                                    std::uint16_t count) {
  ExportScope scope(*this, export_name::ZLP_convertCbYCrYToBGR24);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  if (bgr == nullptr || cbycry == nullptr) return Fail(code::kBadPointer);
  ConvertCbYCrYToBgr(tables_, cbycry, count, bgr);
  return code::kOk;
}

}  // namespace orvale::melvex
