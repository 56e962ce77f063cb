#pragma once
// The descriptor set of each video-DMA channel: what the channel captures (its video
// selection and decoder registers), kept per channel selector.
//
// Layout (ours): words 0..3 type, standard, source, fourth selector; word 4 whether it
// was configured; words 8..67 the decoder register set.
#include <cstdint>

#include "cards/korrin/session/Library.h"

namespace orvale::korrin {

// Records the current selection in the current channel's set.
void StoreDescriptorSet(Library& lib);
// Saves the current channel's set and takes over the set of `channel` (0 or 1).
std::int32_t SelectChannel(Library& lib, std::int32_t channel);

}  // namespace orvale::korrin
