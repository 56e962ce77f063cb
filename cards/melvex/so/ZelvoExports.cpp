// The exported C functions of zelvo32, one shim per row of the export table, and the
// lookup of an export by its ordinal.
#include <cstdint>

#include "cards/melvex/so/SharedLibrary.h"
#include "cards/melvex/zelvo32.h"

#define ZELVO_EXPORT(ordinal, name, errorName, ret, params, args)                        \
  extern "C" ret name params {                                                            \
    return orvale::melvex::RunExport<ret>(                                                \
        errorName, [&](orvale::melvex::ZelvoLibrary& library) { return library.name args; }); \
  }
#define ZELVO_HELPER(name, errorName, ret, params, args) \
  ZELVO_EXPORT(0, name, errorName, ret, params, args)
#include "cards/melvex/zelvo32_exports.inc"
#undef ZELVO_EXPORT
#undef ZELVO_HELPER

namespace {

struct OrdinalEntry {
  std::uint32_t ordinal;
  void* address;
};

const OrdinalEntry kOrdinals[] = {
#define ZELVO_EXPORT(ordinal, name, errorName, ret, params, args) \
  {ordinal, reinterpret_cast<void*>(&name)},
#include "cards/melvex/zelvo32_exports.inc"
#undef ZELVO_EXPORT
};

}  // namespace

extern "C" void* zelvo32_procAddress(std::uint32_t ordinal) {
  for (const OrdinalEntry& entry : kOrdinals) {
    if (entry.ordinal == ordinal) return entry.address;
  }
  return nullptr;
}
