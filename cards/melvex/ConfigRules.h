#pragma once
// The rules that bring a configuration record into line before it is applied: the
// default record, the output format a client offers, and the clamps that keep the
// request of the standard inside what the snap accepts.
#include "cards/melvex/zelvo32.h"

namespace orvale::melvex {

// The request a record uses for `standard`: the 625-line one for 1, else the 525-line one.
inline ZlpSnapRequest& RequestOf(ZlvConfig& config) {
  return config.standard == 1 ? config.requestPAL : config.requestNTSC;
}
inline const ZlpSnapRequest& RequestOf(const ZlvConfig& config) {
  return config.standard == 1 ? config.requestPAL : config.requestNTSC;
}

// The record of ZLV_defaultConfig with the requests of the given limits.
ZlvConfig DefaultConfig(const ZlpLimits& limits525, const ZlpLimits& limits625);

// An output format outside 1..8, or 6, becomes 7; a format the client does not offer is
// replaced by the first offered one of its row; with none offered, 16M colours is
// offered and chosen.
void ChooseOutputFormat(ZlvConfig& config);

// Clamps the request into the limits of its standard, yMax halved for one field, so that
// ZLP_prepareSnap accepts it. The horizontal offset also stays where the card's ten-bit
// delay can reach it.
void ClampRequest(ZlpSnapRequest& request, const ZlpLimits& limits, int standard);

// The output width that gives square pixels for the crop: round(xActive x 768 / 920) on
// the 625-line standard, round(xActive x 640 / 754) otherwise, halved for one field.
int SquarePixelWidth(const ZlpSnapRequest& request, int standard);

}  // namespace orvale::melvex
