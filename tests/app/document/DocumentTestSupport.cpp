#include "DocumentTestSupport.h"

#include <unistd.h>

#include <fstream>
#include <iterator>

namespace orvale::testing {

void ScratchFolderTest::SetUp() {
  dir_ = fs::temp_directory_path() /
         ("orvale-document-" + std::to_string(::getpid()) + "-" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fs::remove_all(dir_);
  fs::create_directories(dir_);
}

void ScratchFolderTest::TearDown() { fs::remove_all(dir_); }

std::string ScratchFolderTest::ReadText(const std::string& name) const {
  const std::vector<std::uint8_t> bytes = ReadBytes(Path(name));
  return {bytes.begin(), bytes.end()};
}

void ScratchFolderTest::WriteText(const std::string& name, const std::string& text) const {
  WriteBytes(Path(name), {text.begin(), text.end()});
}

std::vector<std::string> ScratchFolderTest::Texts() const {
  std::vector<std::string> texts;
  for (const auto& m : messages_.Messages()) texts.push_back(m.text);
  return texts;
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

namespace {
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
}  // namespace

std::vector<std::uint8_t> MakeBmp(const BmpSpec& spec) {
  const bool coded = spec.compression == 1 || spec.compression == 2;
  const std::size_t stride = (static_cast<std::size_t>(spec.width) * spec.bitCount + 31) / 32 * 4;
  std::vector<std::uint8_t> bits;
  if (coded) {
    bits = spec.rows.at(0);
  } else {
    for (std::size_t k = 0; k < spec.rows.size(); ++k) {
      const auto& row = spec.rows[spec.topDown ? k : spec.rows.size() - 1 - k];
      bits.insert(bits.end(), row.begin(), row.end());
      bits.resize(bits.size() + stride - row.size(), 0);
    }
  }
  const std::uint32_t offset =
      static_cast<std::uint32_t>(14 + 40 + 4 * spec.masks.size() + 4 * spec.palette.size());
  std::vector<std::uint8_t> out{'B', 'M'};
  Put32(out, offset + static_cast<std::uint32_t>(bits.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(spec.width));
  Put32(out, static_cast<std::uint32_t>(spec.topDown ? -spec.height : spec.height));
  Put16(out, 1);
  Put16(out, static_cast<std::uint16_t>(spec.bitCount));
  Put32(out, spec.compression);
  Put32(out, static_cast<std::uint32_t>(bits.size()));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, static_cast<std::uint32_t>(spec.palette.size()));
  Put32(out, 0);
  for (std::uint32_t m : spec.masks) Put32(out, m);
  for (const Rgb& c : spec.palette) out.insert(out.end(), {c.b, c.g, c.r, 0});
  out.insert(out.end(), bits.begin(), bits.end());
  return out;
}

std::vector<std::uint8_t> Pixels16(std::initializer_list<std::uint16_t> values) {
  std::vector<std::uint8_t> out;
  for (auto v : values) Put16(out, v);
  return out;
}

std::vector<std::uint8_t> Pixels32(std::initializer_list<std::uint32_t> values) {
  std::vector<std::uint8_t> out;
  for (auto v : values) Put32(out, v);
  return out;
}

}  // namespace orvale::testing
