// Opening and closing card sessions, choosing the current card, the error texts and the
// card's identity, window and control/status register.
#include <algorithm>
#include <new>

#include "cards/melvex/DeviceRequests.h"
#include "cards/melvex/ErrorCodes.h"
#include "cards/melvex/ExportNames.h"
#include "cards/melvex/ZelvoLibrary.h"

namespace orvale::melvex {

namespace {
constexpr std::uint32_t kResetSleepMs = 2000;
constexpr std::uint32_t kResetRegister = 31;
constexpr std::uint8_t kResetValue = 0x77;
}  // namespace

std::int32_t ZelvoLibrary::FailInit(std::int32_t code) {
  current_ = nullptr;
  CloseDeviceWhenUnused();
  return Fail(code);
}

void ZelvoLibrary::ReleaseAttachment(std::uint32_t driverCardHandle, std::uint32_t word) {
  const ReleaseInput in{driverCardHandle, word};
  std::uint32_t reply = 0;
  device_.request(request::kRelease, AsBytes(in), AsWritableBytes(reply));
}

void ZelvoLibrary::CloseDeviceWhenUnused() {
  if (!sessions_.empty() || !deviceOpen_) return;
  device_.close();
  deviceOpen_ = false;
  lineBuffer_ = {};
}

void ZelvoLibrary::DestroySession(CardSession* session) {
  if (current_ == session) current_ = nullptr;
  const auto it = sessions_.find(session);
  if (it == sessions_.end()) return;
  it->second->marker = 0;  // a stale handle must never pass for a live one
  sessions_.erase(it);
}

std::int32_t ZelvoLibrary::ZLP_init() {
  ExportScope scope(*this, export_name::ZLP_init);
  current_ = nullptr;
  applyAll_ = true;  // a new session, and gamma goes back to 1
  // Later sessions share the device the first one opened.
  if (!deviceOpen_) {
    if (!device_.open()) return Fail(code::kNoDriver);
    deviceOpen_ = true;
  }
  std::uint32_t status = 0;
  const RequestResult statusResult =
      device_.request(request::kStatus, {}, AsWritableBytes(status));
  if (!statusResult.ok || statusResult.bytesReturned < sizeof(status)) return FailInit(code::kNoDriver);
  if ((status & kStatusSupportedCard) == 0) {
    return FailInit((status & kStatusAnyCard) != 0 ? code::kWrongModel : code::kNoCard);
  }
  const std::uint32_t attachInput = kAttachInput;
  AttachReply attach;
  const RequestResult attachResult =
      device_.request(request::kAttach, AsBytes(attachInput), AsWritableBytes(attach));
  if (!attachResult.ok || attachResult.bytesReturned < sizeof(attach)) return FailInit(code::kNoCard);
  const bool resetNeeded = (attach.flags & kAttachResetNeeded) != 0;
  if (resetNeeded) device_.clock().SleepMs(kResetSleepMs);

  // From here a failure gives the attachment back as ZLP_closedown(0) would; closing the
  // device when no session remains also drops the shared line buffer.
  const auto abandon = [&](std::int32_t code) {
    ReleaseAttachment(attach.driverCardHandle, 1);
    return FailInit(code);
  };
  std::unique_ptr<CardSession> session;
  const bool firstSession = sessions_.empty();
  try {
    if (!Allow(sizeof(CardSession))) return abandon(code::kNoMemory);
    session = std::make_unique<CardSession>();
    if (!Allow(kLineBufferBytes)) return abandon(code::kNoMemory);
    session->bufferA.assign(kLineBufferBytes, 0);
    if (!Allow(kLineBufferBytes)) return abandon(code::kNoMemory);
    session->bufferB.assign(kLineBufferBytes, 0);
    if (firstSession) {
      if (!Allow(kLineBufferBytes)) return abandon(code::kNoMemory);
      lineBuffer_.assign(kLineBufferBytes, 0);
    }
  } catch (const std::bad_alloc&) {
    return abandon(code::kNoMemory);
  }
  session->driverCardHandle = attach.driverCardHandle;
  session->narrowOutput = (attach.flags & kAttachNarrowOutput) != 0;
  session->ioWindow = static_cast<std::uintptr_t>(attach.ioWindow);
  session->dataWindow = session->ioWindow + kDataWindowOffset;
  session->marker = kSessionMarker;

  if (resetNeeded) {
    const std::uint8_t value = kResetValue;
    if (WriteDigitizerRegs(kResetRegister, &value, 1) != 1) return abandon(code::kLostContact);
  }
  tables_.Build(1.0f);
  CardSession* handle = session.get();
  sessions_.emplace(handle, std::move(session));
  current_ = handle;
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_closedown(std::int32_t mode) {
  ExportScope scope(*this, export_name::ZLP_closedown);
  applyAll_ = true;
  CardSession* session = Current();
  if (session == nullptr) return Fail(code::kNotInitialised);
  ReleaseAttachment(session->driverCardHandle, mode == 0 ? 1 : 0);
  DestroySession(session);
  CloseDeviceWhenUnused();
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_getCurrentCardHandle(ZLP_HANDLE* handle) {
  ExportScope scope(*this, export_name::ZLP_getCurrentCardHandle);
  if (handle == nullptr) return Fail(code::kBadPointer);
  *handle = Current();
  return Current() == nullptr ? Fail(code::kNotInitialised) : code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_setActiveCard(ZLP_HANDLE handle) {
  ExportScope scope(*this, export_name::ZLP_setActiveCard);
  applyAll_ = true;  // the record last applied was applied to another card
  // Only a live session is looked at: a closed or made-up handle is never read.
  const auto it = sessions_.find(static_cast<CardSession*>(handle));
  if (it == sessions_.end() || it->second->marker != kSessionMarker || it->second->ioWindow == 0) {
    current_ = nullptr;
    return Fail(code::kNotInitialised);
  }
  current_ = it->second.get();
  return code::kOk;
}

const char* ZelvoLibrary::ZLP_errorString(std::int32_t code) {
  ExportScope scope(*this, export_name::ZLP_errorString);
  return ErrorText(code);
}

const char* ZelvoLibrary::ZLP_lastErrorFunctionName() {
  ExportScope scope(*this, export_name::ZLP_lastErrorFunctionName);
  return lastFailing_;
}

std::int32_t ZelvoLibrary::ZLP_getCardIdStrings(char* buffer, std::uint16_t size) {
  ExportScope scope(*this, export_name::ZLP_getCardIdStrings);
  CardSession* session = Current();
  if (session == nullptr) return Fail(code::kNotInitialised);
  if (buffer == nullptr) return Fail(code::kBadPointer);
  if (size == 0) return Fail(code::kOutOfRange);
  const std::uint32_t in = session->driverCardHandle;
  auto* bytes = reinterpret_cast<std::uint8_t*>(buffer);
  const RequestResult result =
      device_.request(request::kCardIdStrings, AsBytes(in), std::span<std::uint8_t>(bytes, size));
  // The text is informational: a failed request leaves it empty and is no error.
  const std::uint32_t end = result.ok ? std::min<std::uint32_t>(result.bytesReturned, size - 1u) : 0;
  buffer[end] = '\0';
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_setControlStatus(std::uint8_t value) {
  ExportScope scope(*this, export_name::ZLP_setControlStatus);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  return WriteControlStatus(value) ? code::kOk : code::kLostContact;
}

std::int32_t ZelvoLibrary::ZLP_getControlStatus(std::uint8_t* value) {
  ExportScope scope(*this, export_name::ZLP_getControlStatus);
  if (value == nullptr) return Fail(code::kBadPointer);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  bool ok = false;
  *value = ReadControlStatus(&ok);
  return ok ? code::kOk : code::kLostContact;
}

std::int32_t ZelvoLibrary::ZLP_getData(std::uint16_t* word) {
  ExportScope scope(*this, export_name::ZLP_getData);
  if (word == nullptr) return Fail(code::kBadPointer);
  if (Current() == nullptr) return Fail(code::kNotInitialised);
  *word = device_.windowRead16(kDataWindowOffset);
  return code::kOk;
}

std::int32_t ZelvoLibrary::ZLP_windowAddress(void** address) {
  ExportScope scope(*this, export_name::ZLP_windowAddress);
  if (address == nullptr) return Fail(code::kBadPointer);
  CardSession* session = Current();
  if (session == nullptr) return Fail(code::kNotInitialised);
  *address = reinterpret_cast<void*>(session->ioWindow);
  return code::kOk;
}

}  // namespace orvale::melvex
