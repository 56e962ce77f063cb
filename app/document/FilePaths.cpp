#include "app/document/FilePaths.h"

#include <filesystem>
#include <system_error>

namespace orvale {

namespace {

// Index just past the last "/", 0 when there is none.
std::size_t NameStart(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

}  // namespace

bool FileExists(std::string_view path) {
  if (path.empty()) return false;
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::path(path), ec);
}

bool ThereButNoFile(std::string_view path) {
  if (path.empty()) return false;
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(std::filesystem::path(path), ec);
  return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

std::string GetFileExtension(std::string_view path) {
  const std::string_view name = path.substr(NameStart(path));
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

std::string GetFileTitle(std::string_view path, bool withoutExtension) {
  std::string_view name = path.substr(NameStart(path));
  if (withoutExtension) {
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
  }
  return std::string(name);
}

std::string GetFilePath(std::string_view path) {
  const std::size_t start = NameStart(path);
  if (start == 0) return {};
  std::string_view folder = path.substr(0, start - 1);
  // A run of slashes separates like one; a folder made of slashes alone is the root.
  while (!folder.empty() && folder.back() == '/') folder.remove_suffix(1);
  return folder.empty() ? std::string("/") : std::string(folder);
}

std::string JoinFilePath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  std::string path(folder);
  if (path.back() != '/') path += '/';
  path += name;
  return path;
}

}  // namespace orvale
