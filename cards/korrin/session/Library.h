#pragma once
// The board library: its services, the live board record and the copies of the other
// boards of a multi-board program. Every export works on the live record, one call at a
// time (see CallGate). A wait lets other calls in between its polls (LetOthersIn); a
// call that finds afterwards that what it works on has changed under it stops there
// (BoardChanged) and fails, touching nothing more.
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <memory>
#include <thread>
#include <vector>

#include "cards/korrin/session/BoardState.h"
#include "cards/korrin/session/CallGate.h"
#include "cards/korrin/hardware/DeviceAccess.h"
#include "platform/clock/Clock.h"
#include "platform/display/DisplayService.h"
#include "korrin32.h"
#include "platform/gdi/Palette.h"
#include "platform/process/PriorityService.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/ui/ClipboardService.h"
#include "platform/ui/TimerService.h"

namespace orvale::korrin {

struct FileTransfer;
class IrqMachinery;

// What the library runs on. Everything is borrowed and must outlive the library.
struct LibraryServices {
  Clock* clock = nullptr;
  DeviceAccess* device = nullptr;
  DisplayService* display = nullptr;
  PrivateProfile* profile = nullptr;   // krg.ini and the profile-string exports
  PriorityService* priority = nullptr;  // raised around grabs
  TimerService* timers = nullptr;       // window timers on the caller's message loop
  ClipboardService* clipboard = nullptr;
  std::filesystem::path pluginFolder;  // where format plug-ins are looked for
  // The exported row callbacks handed to format plug-ins.
  KR_PutRowProc putRow = nullptr;
  KR_GetRowProc getRow = nullptr;
  // The exported hooks and timer procedures the window system and timers call.
  KR_HookProc hook = nullptr;
  KR_HookProc hookMulti = nullptr;
  KR_TimerProc trackingTimer = nullptr;
  KR_TimerProc blitTimer = nullptr;
  KR_TimerProc blitTimerMulti = nullptr;
  // The gate calls pass; null for one of the library's own.
  CallGate* gate = nullptr;
};

// Thrown at a wait when, while other calls were let in, the board the call works on was
// let go or replaced, or its DMA target or video geometry changed. The export fails.
class BoardChanged : public std::runtime_error {
 public:
  BoardChanged() : std::runtime_error("the board changed while the call waited") {}
};

class Library {
 public:
  explicit Library(LibraryServices services);
  // Cleans up every board: interrupt workers stopped and joined, locks released,
  // boards detached.
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  Clock& GetClock() { return *services_.clock; }
  DeviceAccess& Device() { return *services_.device; }
  DisplayService& Display() { return *services_.display; }
  PrivateProfile& Profile() { return *services_.profile; }
  PriorityService& Priority() { return *services_.priority; }
  TimerService& Timers() { return *services_.timers; }
  ClipboardService& Clipboard() { return *services_.clipboard; }
  const std::filesystem::path& PluginFolder() const { return services_.pluginFolder; }
  KR_PutRowProc PutRowCallback() const { return services_.putRow; }
  KR_GetRowProc GetRowCallback() const { return services_.getRow; }
  KR_HookProc HookCallback(bool multi) const { return multi ? services_.hookMulti : services_.hook; }
  KR_TimerProc TrackingTimerCallback() const { return services_.trackingTimer; }
  KR_TimerProc BlitTimerCallback(bool multi) const {
    return multi ? services_.blitTimerMulti : services_.blitTimer;
  }

  // Every call into the library passes it.
  CallGate& Gate() { return *gate_; }

  // Between two polls of a wait: lets the calls that wait to come in go first. Throws
  // BoardChanged when afterwards the live board is not the one it was, or is no longer
  // located, or its DMA target or geometry differ. Nothing while the gate is held
  // (GateHeld) or when the caller is not inside.
  void LetOthersIn();
  // While one lives, waits keep the gate: the records are half settled.
  class GateHeld {
   public:
    explicit GateHeld(Library& lib) : lib_(lib) { ++lib_.gateHeld_; }
    ~GateHeld() { --lib_.gateHeld_; }
    GateHeld(const GateHeld&) = delete;
    GateHeld& operator=(const GateHeld&) = delete;

   private:
    Library& lib_;
  };

  BoardState& Live() { return live_; }
  BoardSettings& Settings() { return live_.settings; }
  // The live board's registers, or null when it is not located.
  RegisterWindow* LocatedRegisters() { return live_.Located() ? &live_.Registers() : nullptr; }

  // Multi-board table.
  int BoardCount() const { return static_cast<int>(copies_.size()); }
  int CurrentBoard() const { return current_; }
  void SetCurrentBoard(int index) { current_ = index; }
  std::vector<std::unique_ptr<BoardState>>& Copies() { return copies_; }

  // Set between KR_OpenPrivateProfileString and KR_ClosePrivateProfileString; nothing
  // depends on it.
  bool profileOpen = false;
  // The image-file load or save in progress, for the row callbacks; null between them.
  FileTransfer* transfer = nullptr;
  // The library's grey palette (created once) and the palette made current.
  gdi::PaletteHandle greyPalette = gdi::PaletteHandle::None;
  gdi::PaletteHandle currentPalette = gdi::PaletteHandle::None;
  // The timer auto-blit boards share, and which of the first four take part.
  struct SharedBlitTimer {
    TimerId id = 0;
    std::array<bool, 4> boards{};
  } blitTimer;
  // With several boards one hook per thread serves every board's auto-window; it goes
  // when the last of them detaches.
  struct SharedHook {
    int id = 0;
    int users = 0;
  };
  std::map<std::thread::id, SharedHook> sharedHooks;
  // Makes the next buffer allocation of the auto-window or auto-blit fail (tests).
  bool allocationFails = false;
  // Interrupt workers stopped and not joined yet, those being waited for included (see
  // RetireWorker), numbered in the order they were stopped.
  struct StoppedWorker {
    std::uint64_t number = 0;
    std::unique_ptr<IrqMachinery> worker;
  };
  std::vector<StoppedWorker> stoppedWorkers;
  std::uint64_t workersStopped = 0;

  // Lets every board go: interrupt workers stopped and joined (outside the gate),
  // locks released, boards detached. The destructor does it too.
  void CleanUpAll();

 private:
  LibraryServices services_;
  CallGate ownGate_;
  CallGate* gate_;
  int gateHeld_ = 0;
  BoardState live_;
  std::vector<std::unique_ptr<BoardState>> copies_;
  int current_ = 0;
};

}  // namespace orvale::korrin
