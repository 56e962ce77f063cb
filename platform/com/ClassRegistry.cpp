#include "platform/com/ClassRegistry.h"

#include "platform/registry/IniSettingsStore.h"
#include "platform/runtime/OtherUsersWrites.h"

namespace orvale {

namespace {

constexpr std::string_view kClassesSection = "Classes";

}  // namespace

std::filesystem::path DefaultClassRegistryFile() {
  return DefaultSettingsFile().parent_path() / "Classes.ini";
}

ClassRegistry::ClassRegistry(std::filesystem::path file) : file_(std::move(file)) {}

bool ClassRegistry::Register(std::string_view progId, const std::filesystem::path& library,
                             std::string& error) const {
  if (progId.empty()) {
    error = "Cannot register a class without a ProgID.";
    return false;
  }
  if (!library.is_absolute()) {
    error = "Cannot register " + std::string(progId) + ": the library path " + library.string() +
            " is not absolute.";
    return false;
  }
  IniSettingsStore store(file_);
  std::string ignored;
  store.Read(kClassesSection, progId, ignored, true);  // a write needs its section
  if (!store.Write(kClassesSection, progId, library.string())) {
    error = "Cannot register " + std::string(progId) + ": the class registry " + file_.string() +
            " could not be written.";
    return false;
  }
  return true;
}

bool ClassRegistry::Unregister(std::string_view progId, std::string& error) const {
  IniSettingsStore store(file_);
  std::string value;
  if (!store.Read(kClassesSection, progId, value, false)) return true;
  const SettingChange removal{std::string(kClassesSection), std::string(progId), std::nullopt};
  if (!store.Apply({&removal, 1})) {
    error = "Cannot unregister " + std::string(progId) + ": the class registry " +
            file_.string() + " could not be written.";
    return false;
  }
  return true;
}

bool ClassRegistry::Lookup(std::string_view progId, std::filesystem::path& library,
                           RunError* unreadable) const {
  if (progId.empty()) return false;
  // What it names is loaded into the program: a registry another user could have written
  // names nothing.
  std::string why;
  if (!SafeFromOtherUsers(file_, why)) {
    if (unreadable != nullptr) {
      *unreadable = RunError::FromNumber(errnum::kPermissionDenied);
      unreadable->Description += ": " + why + "; no plug-in is loaded from what it names";
    }
    return false;
  }
  IniSettingsStore store(file_);
  std::string value;
  const bool found = store.Read(kClassesSection, progId, value, false);
  if (unreadable != nullptr) *unreadable = store.Problem();
  if (!found) return false;
  // A bare name would be searched for along the library path: only an absolute one
  // says which file is meant.
  const std::filesystem::path path(value);
  if (!path.is_absolute()) return false;
  library = path;
  return true;
}

}  // namespace orvale
