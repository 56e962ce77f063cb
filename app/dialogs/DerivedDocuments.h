#pragma once
// Documents made from the fits of others: the average of several documents (the
// Average window) and the sum or difference of two (the Math window). Both are built
// by one routine: a blank image of the source document's size, the source's aperture,
// obstruction and analysis options, the given coefficients as the fit, and the result
// windows filled from them.
#include <cstdint>
#include <span>
#include <string>

#include "app/analysis/ZernikeTerms.h"

namespace orvale {

class clsDocument;
class DocumentTable;
class MainFrame;

// What a derived document is marked as; the analysis options refuse some changes to it.
enum class DerivedKind { Averaged, Combined };

// Makes the document: `name` becomes its ImageFileName, `dataPoints` its point count.
// Null when it could not be made; a half-made document is closed again without asking,
// also when a step throws (the error goes on to the caller).
clsDocument* MakeResultDocument(DocumentTable& table, MainFrame& frame, const clsDocument& source,
                                const ZernikeVector& zernikes, const std::string& name,
                                DerivedKind kind, std::int32_t dataPoints);

// The mean of the sets, term by term (all zeros for none).
ZernikeVector AverageZernikes(std::span<const ZernikeVector> sets);

// Averages the documents in these documentSlots (those still open; the first of them gives the
// image size, shapes and options) into "Average<n>", n one more than `averageCounter`,
// which counts only the averages made. Fewer than two open documents: nothing, null.
clsDocument* AverageDocuments(DocumentTable& table, MainFrame& frame,
                              std::span<const std::int32_t> documentSlots, std::int32_t& averageCounter);

// The Math window's operations (the item data of its list).
namespace combine {
inline constexpr std::int32_t kAdd = 0;
inline constexpr std::int32_t kSubtract = 1;
}  // namespace combine

// first + second or first - second, term by term; any other operation gives zeros.
ZernikeVector CombineZernikes(const ZernikeVector& first, const ZernikeVector& second,
                              std::int32_t operation);

// Combines the documents in two documentSlots (both open; they may be the same) into
// "Combination of <first> and <second>", shaped like the first. Null when a slot is
// not in use or the document could not be made.
clsDocument* CombineDocuments(DocumentTable& table, MainFrame& frame, std::int32_t firstSlot,
                              std::int32_t secondSlot, std::int32_t operation);

}  // namespace orvale
