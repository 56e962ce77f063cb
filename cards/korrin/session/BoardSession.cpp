#include "cards/korrin/session/BoardSession.h"

#include "cards/korrin/interrupts/IrqMachinery.h"

namespace orvale::korrin {

std::shared_ptr<BoardSession> BoardSession::Attach(DeviceAccess& device, int index) {
  auto attached = device.Attach(index);
  if (!attached) return nullptr;
  return std::shared_ptr<BoardSession>(new BoardSession(std::move(attached), index));
}

BoardSession::BoardSession(std::unique_ptr<DeviceSession> device, int index)
    : device_(std::move(device)), index_(index) {}

BoardSession::~BoardSession() {
  // Only a session nobody ended gets here with a worker; the machinery stops it.
  worker_.reset();
  Release();
}

bool BoardSession::MakeDmaArea() {
  if (!dmaArea_) dmaArea_ = DmaArea::Create(*device_);
  return dmaArea_ != nullptr;
}

void BoardSession::Release() {
  if (!device_) return;
  for (auto& row : locks_) {
    if (row) device_->Unlock(row->handle);
    row.reset();
  }
  dmaArea_.reset();
  device_.reset();
}

}  // namespace orvale::korrin
