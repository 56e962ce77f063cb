#pragma once
// Creating a plug-in object by its ProgID: the class registry names the library, the
// library's factory makes the object, and the object is asked for IGrabberPlugin.
// Tests install an object creator of their own in place of the registry.
#include <functional>
#include <string>

#include "platform/com/GrabberState.h"

namespace orvale {

// The object registered under `progId`; null and `error` set (a description the user
// can act on) when it cannot be made. Never throws.
GrabberPluginPtr CreateObject(const std::string& progId, std::string& error) noexcept;

// Makes the object for a ProgID, or returns null and sets the error.
using ObjectCreator = std::function<GrabberPluginPtr(const std::string& progId, std::string& error)>;

// Installs `creator` for the whole program; an empty one restores creation through the
// class registry.
void SetObjectCreator(ObjectCreator creator);

// Installs a creator for the lifetime of a scope and restores the previous one.
class ScopedObjectCreator {
 public:
  explicit ScopedObjectCreator(ObjectCreator creator);
  ~ScopedObjectCreator();
  ScopedObjectCreator(const ScopedObjectCreator&) = delete;
  ScopedObjectCreator& operator=(const ScopedObjectCreator&) = delete;

 private:
  ObjectCreator previous_;
};

}  // namespace orvale
