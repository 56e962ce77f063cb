#include "cards/korrin/dma/Descriptors.h"

#include "cards/korrin/hardware/Decoder.h"
#include "cards/korrin/session/Status.h"

namespace orvale::korrin {
namespace {

constexpr int kTableAt = 8;

}  // namespace

void StoreDescriptorSet(Library& lib) {
  BoardSettings& s = lib.Settings();
  DescriptorSet& set = s.descriptors[s.misc.channel];
  set[0] = static_cast<std::uint32_t>(s.video.type);
  set[1] = static_cast<std::uint32_t>(s.video.standard);
  set[2] = static_cast<std::uint32_t>(s.video.source);
  set[3] = static_cast<std::uint32_t>(s.video.fourth);
  set[4] = s.video.configured ? 1 : 0;
  const DecoderTable& table = DecoderShadow(s);
  for (int i = 0; i < kDecoderTableSize; ++i) set[kTableAt + i] = table[i];
}

std::int32_t SelectChannel(Library& lib, std::int32_t channel) {
  if (channel < 0 || channel > 1) return kFail;
  BoardSettings& s = lib.Settings();
  StoreDescriptorSet(lib);
  s.misc.channel = channel;
  const DescriptorSet& set = s.descriptors[channel];
  const int type = static_cast<int>(set[0]);
  const int source = static_cast<int>(set[2]);
  if (type < 0 || type >= kVideoTypes || source < 0 || source >= kSourcesPerType) return kOk;
  s.video = {type, static_cast<int>(set[1]), source, static_cast<int>(set[3]), set[4] != 0};
  DecoderTable& table = DecoderShadow(s);
  for (int i = 0; i < kDecoderTableSize; ++i) table[i] = static_cast<std::uint8_t>(set[kTableAt + i]);
  return kOk;
}

}  // namespace orvale::korrin
