#pragma once
// Fixtures shared by the document tests: a scratch folder, scripted messages, and
// bitmap files assembled byte by byte.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ui/MessageService.h"

namespace orvale::testing {

namespace fs = std::filesystem;

// A fresh folder per test and scripted answers for every message.
class ScratchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  fs::path Path(const std::string& name) const { return dir_ / name; }
  // The texts of the messages shown so far.
  std::vector<std::string> Texts() const;
  // A file of the folder as text, and a file with exactly `text` in it.
  std::string ReadText(const std::string& name) const;
  void WriteText(const std::string& name, const std::string& text) const;

  fs::path dir_;
  ScriptedMessageService messages_;
  ScopedMessageService installed_{messages_};
};

std::vector<std::uint8_t> ReadBytes(const fs::path& path);
void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes);

struct Rgb {
  std::uint8_t r, g, b;
};

// A bitmap file. Rows are given top row first, packed without padding; for run-length
// coding `rows` holds one element, the coded stream.
struct BmpSpec {
  std::int32_t width = 0;
  std::int32_t height = 0;
  int bitCount = 8;
  std::uint32_t compression = 0;
  std::vector<Rgb> palette;
  std::vector<std::uint32_t> masks;  // written after the header for bit fields
  bool topDown = false;
  std::vector<std::vector<std::uint8_t>> rows;
};
std::vector<std::uint8_t> MakeBmp(const BmpSpec& spec);

// Little-endian bytes of a 16- or 32-bit pixel.
std::vector<std::uint8_t> Pixels16(std::initializer_list<std::uint16_t> values);
std::vector<std::uint8_t> Pixels32(std::initializer_list<std::uint32_t> values);

}  // namespace orvale::testing
