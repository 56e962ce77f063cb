#pragma once
// Our class registry: which plug-in library serves each ProgID. It is an INI file,
// $XDG_CONFIG_HOME/Halvern/Classes.ini (default ~/.config), with one section:
//
//   [Classes]
//   OVVGPlugTavrel.clsTavrel=/opt/orvale/OVVGPlugTavrel.so
//
// A plug-in's registration function writes its entry. Objects are created from what
// the registry names, never from a file found on disk, and only from a registry no other
// user may change (OtherUsersWrites.h).
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/runtime/RunError.h"

namespace orvale {

// The registry beside the settings file: .../Halvern/Classes.ini.
std::filesystem::path DefaultClassRegistryFile();

class ClassRegistry {
 public:
  explicit ClassRegistry(std::filesystem::path file = DefaultClassRegistryFile());

  // Maps `progId` to `library`, an absolute path; the file is rewritten atomically.
  bool Register(std::string_view progId, const std::filesystem::path& library,
                std::string& error) const;
  // Takes `progId` out; a ProgID that is not there is no failure.
  bool Unregister(std::string_view progId, std::string& error) const;
  // The library registered for `progId`; false when there is none or its path is not
  // absolute. `unreadable`, when given, says why the registry could not be read or is not
  // trusted, as a file or folder other users may write (Number 0 when it could).
  bool Lookup(std::string_view progId, std::filesystem::path& library,
              RunError* unreadable = nullptr) const;

  const std::filesystem::path& File() const { return file_; }

 private:
  std::filesystem::path file_;
};

}  // namespace orvale
