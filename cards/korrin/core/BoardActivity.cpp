#include "cards/korrin/core/BoardActivity.h"

#include "cards/korrin/core/Acquisition.h"
#include "cards/korrin/core/AsyncCapture.h"
#include "cards/korrin/core/AutoBlit.h"
#include "cards/korrin/core/AutoWindow.h"
#include "cards/korrin/core/CameraTiming.h"
#include "cards/korrin/core/Masks.h"
#include "cards/korrin/core/Interrupts.h"
#include "cards/korrin/core/VideoWindow.h"

namespace orvale::korrin {

void ReleaseBoardActivity(Library& lib) {
  BoardSettings& s = lib.Settings();
  // No more interrupts (the worker itself ends with the session); the auto-window and
  // auto-blit lose their hooks and timers.
  SwitchInterruptsOff(lib);
  StopCameraTiming(lib);
  s.cameraTiming = {};
  AutoWindowDetach(lib);
  StopAutoBlit(lib);
  s.maskOverlay = 0;
  if (s.maskEnabled) EnableVideoMask(lib, 0);
  // Stop without refreshing any window; then nothing may DMA into memory about to go.
  VideoLive(lib, 0, 0x8002);
  if (s.async.running) StopAsyncProgram(lib);
  StopTransfer(lib);
  s.asyncWord = 0;
  s.geometry.dmaBaseSet = false;
}

}  // namespace orvale::korrin
