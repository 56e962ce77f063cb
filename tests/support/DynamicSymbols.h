#pragma once
// What a shared object exports: the names a program can bind in its dynamic symbol table.
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

namespace orvale::testing {

// The names `nm -D --defined-only` lists for `library` (`nm` the tool's path), without
// version suffixes, without the version nodes (absolute symbols), and without local
// entries, which bind nothing: the linker may leave one in the table, as it does for
// std::piecewise_construct in some link orders. Empty when `nm` cannot run.
inline std::set<std::string> BindableDynamicSymbols(const std::string& nm, const std::filesystem::path& library) {
  const std::string command = nm + " -D --defined-only '" + library.string() + "'";
  std::set<std::string> names;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return names;
  std::array<char, 512> line{};
  while (std::fgets(line.data(), static_cast<int>(line.size()), pipe) != nullptr) {
    char type = 0;
    std::array<char, 400> name{};
    if (std::sscanf(line.data(), "%*s %c %399s", &type, name.data()) != 2) continue;
    const bool local = std::islower(static_cast<unsigned char>(type)) && type != 'u' && type != 'v' && type != 'w';
    if (type == 'A' || local) continue;
    const std::string symbol(name.data());
    names.insert(symbol.substr(0, symbol.find('@')));
  }
  if (::pclose(pipe) != 0) return {};
  return names;
}

}  // namespace orvale::testing
