#include "cards/melvex/so/SharedLibrary.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "cards/melvex/NoDriverDevice.h"
#include "cards/melvex/dialog/ImageFormatDialog.h"
#include "cards/melvex/so/LibraryMessageService.h"
#include "cards/melvex/sim/SimulatedCard.h"
#include "platform/ui/QtClipboardService.h"

namespace orvale::melvex {

namespace {

std::unique_ptr<MelvexDevice> ChooseDevice() {
  const char* choice = std::getenv("ORVALE_MELVEX_DEVICE");
  if (choice != nullptr && std::strcmp(choice, "sim") == 0) {
    auto card = std::make_unique<sim::SimulatedCard>();
    // A program may drive it for hours: keep no logs and let its clock run on.
    card->SetLogging(false);
    card->VirtualTime().SetWatchdog(UINT64_MAX);
    return card;
  }
  return std::make_unique<NoDriverDevice>();
}

// The library with what a program around it would otherwise provide: message boxes, the
// clipboard and the dialog's window.
struct Instance {
  Instance() {
    SetMessageService(&messages);
    library.SetClipboard(&clipboard);
    library.SetFormatDialog([this](void* parent, ZlvConfig& config) {
      return RunImageFormatDialog(library, parent, config);
    });
  }
  std::unique_ptr<MelvexDevice> device = ChooseDevice();
  LibraryMessageService messages;
  QtClipboardService clipboard;
  ZelvoLibrary library{*device};
};

}  // namespace

ZelvoLibrary& SharedLibrary() {
  static Instance instance;
  return instance.library;
}

}  // namespace orvale::melvex
