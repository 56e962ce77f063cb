#include "cards/melvex/so/SharedLibrary.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "cards/melvex/NoDriverDevice.h"
#include "cards/melvex/sim/SimulatedCard.h"

namespace orvale::melvex {

namespace {

std::unique_ptr<MelvexDevice> ChooseDevice() {
  const char* choice = std::getenv("ORVALE_MELVEX_DEVICE");
  if (choice != nullptr && std::strcmp(choice, "sim") == 0) {
    return std::make_unique<sim::SimulatedCard>();
  }
  return std::make_unique<NoDriverDevice>();
}

struct Instance {
  std::unique_ptr<MelvexDevice> device = ChooseDevice();
  ZelvoLibrary library{*device};
};

}  // namespace

ZelvoLibrary& SharedLibrary() {
  static Instance instance;
  return instance.library;
}

}  // namespace orvale::melvex
