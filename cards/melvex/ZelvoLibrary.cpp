#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

ZelvoLibrary::ZelvoLibrary(MelvexDevice& device, MovableMemory& memory) : device_(device), memory_(memory) {
  tables_.Build(1.0f);
}

ZelvoLibrary::~ZelvoLibrary() {
  for (auto& [address, session] : sessions_) session->marker = 0;
  if (deviceOpen_) device_.close();
}

ZelvoLibrary::ExportScope::ExportScope(ZelvoLibrary& library, const char* name)
    : library_(library), outer_(library.currentName_) {
  library_.currentName_ = name;
}

ZelvoLibrary::ExportScope::~ExportScope() { library_.currentName_ = outer_; }

}  // namespace orvale::melvex
