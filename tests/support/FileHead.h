#pragma once
// The first bytes of a file: what a huge file begins with, checked without reading (and
// holding) all of it.
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvale::testing {

inline std::string FileHead(const std::filesystem::path& file, std::size_t bytes) {
  std::string head(bytes, '\0');
  std::ifstream in(file, std::ios::binary);
  in.read(head.data(), static_cast<std::streamsize>(bytes));
  head.resize(static_cast<std::size_t>(in.gcount()));
  return head;
}

}  // namespace orvale::testing
