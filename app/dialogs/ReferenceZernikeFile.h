#pragma once
// Reading a reference Zernike set from a file: a ".zrn" list, or the "Zernikes" line of
// a document file (any other extension).
#include <string_view>

#include "app/analysis/ZernikeTerms.h"

namespace orvale {

// Fills coefficients 1..36 of `refzrn` from the file. False when the file is missing
// or unreadable, holds fewer than 36 values, a ".zrn" entry is not a number, or a value
// is not finite (an infinite reference would swamp every fit). Entries read before a
// failure stay written; callers read into a scratch array.
bool LoadReferenceFile(std::string_view filename, ZernikeVector& refzrn);

}  // namespace orvale
