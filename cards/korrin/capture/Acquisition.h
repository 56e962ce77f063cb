#pragma once
// Applying the geometry to the board: the one path every geometry change ends in, and
// switching the video transfer on and off.
#include <cstdint>
#include <optional>

#include "cards/korrin/dma/DmaLayout.h"
#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// Both fields on alternate lines: in frame mode when one field cannot fill the window.
bool Interleaves(const BoardSettings& s);
// The size the prescaled picture may not exceed.
int ScalingLimitWidth(const VideoGeometry& g);
int ScalingLimitHeight(const VideoGeometry& g);

// The layout of `channel` (0 or 1) for the stored geometry and `frames` frames, or
// empty when it does not fit its target.
std::optional<DmaLayout> LayoutFor(Library& lib, int channel, int frames = 1);
// Frames of the current geometry that fit into the DMA target.
std::int32_t FramesThatFit(Library& lib);

// Clamps the sizes, stops the transfer, decides the interleave, checks that the layout
// fits and that the scale can be made, programs video DMA and scaler, and restarts the
// transfer. False, with the registers as they were, when either check fails.
bool ApplyAcquisition(Library& lib);
// Writes the layout words of the current channel again (after an asynchronous program).
void ProgramLayout(Library& lib);

bool TransferOn(Library& lib);
void StopTransfer(Library& lib);
// -1 when no layout has been programmed yet.
std::int32_t StartTransfer(Library& lib, std::int32_t flags);

// The format word of register 0x78 from the colour space and the mask state.
void WriteFormatWord(Library& lib);

}  // namespace orvale::korrin
