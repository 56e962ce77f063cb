#include "platform/com/ObjectCreation.h"

#include <exception>

#include "platform/com/ClassRegistry.h"
#include "platform/com/PluginExports.h"
#include "platform/com/PluginLibrary.h"

namespace orvale {

namespace {

ObjectCreator& InstalledCreator() {
  static ObjectCreator creator;
  return creator;
}

GrabberPluginPtr CreateRegisteredObject(const std::string& progId, std::string& error) {
  const ClassRegistry registry;
  std::filesystem::path library;
  RunError unreadable;
  if (!registry.Lookup(progId, library, &unreadable)) {
    if (unreadable.Number != 0) {
      error = "Cannot read the class registry " + registry.File().string() + ": " + unreadable.Description;
      return nullptr;
    }
    error = "Class not registered: " + (progId.empty() ? std::string("(no ProgID)") : progId) +
            " has no entry in " + registry.File().string() +
            ". Register its plug-in library and try again.";
    return nullptr;
  }
  void* handle = LoadPluginLibrary(library, error);
  if (handle == nullptr) return nullptr;
  const auto create = reinterpret_cast<CreateObjectFunction>(
      FindPluginExport(handle, kCreateObjectExport, library, error));
  if (create == nullptr) return nullptr;

  char text[1024] = {};
  IGrabberPlugin* object = nullptr;
  const std::int32_t code = create(progId.c_str(), kIGrabberPluginIID, &object, text, sizeof text);
  GrabberPluginPtr created(object);
  if (code >= 0 && created) return created;
  error = text[0] != '\0' ? std::string(text)
                          : library.string() + " could not create " + progId + ".";
  return nullptr;
}

}  // namespace

GrabberPluginPtr CreateObject(const std::string& progId, std::string& error) noexcept {
  try {
    const ObjectCreator& creator = InstalledCreator();
    GrabberPluginPtr object = creator ? creator(progId, error) : CreateRegisteredObject(progId, error);
    if (!object && error.empty()) error = "Cannot create " + progId + ".";
    return object;
  } catch (const std::exception& e) {
    error = e.what();
  } catch (...) {
    error = "Cannot create " + progId + ".";
  }
  return nullptr;
}

void SetObjectCreator(ObjectCreator creator) { InstalledCreator() = std::move(creator); }

ScopedObjectCreator::ScopedObjectCreator(ObjectCreator creator)
    : previous_(std::move(InstalledCreator())) {
  SetObjectCreator(std::move(creator));
}

ScopedObjectCreator::~ScopedObjectCreator() { SetObjectCreator(std::move(previous_)); }

}  // namespace orvale
