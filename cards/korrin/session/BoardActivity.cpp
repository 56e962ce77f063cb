#include "cards/korrin/session/BoardActivity.h"

#include "cards/korrin/capture/Acquisition.h"
#include "cards/korrin/capture/AsyncCapture.h"
#include "cards/korrin/display/AutoBlit.h"
#include "cards/korrin/display/AutoWindow.h"
#include "cards/korrin/capture/CameraTiming.h"
#include "cards/korrin/display/Masks.h"
#include "cards/korrin/interrupts/Interrupts.h"
#include "cards/korrin/capture/VideoWindow.h"

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
