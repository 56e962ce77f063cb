// An exception that escapes an export: the shim answers with a failure in that export's
// own range of results, and records the export's name.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "cards/melvex/ExportGuard.h"
#include "cards/melvex/ExportNames.h"
#include "tests/cards/melvex/CardFixture.h"

namespace orvale::melvex {
namespace {

using testing::CardFixture;

enum class Escape { OutOfMemory, Other, NoLibrary };

// A result of any export's type: null or not for pointers, the value otherwise.
struct Outcome {
  bool pointer = false;
  std::int64_t value = 0;
};

template <class Ret>
Outcome Escaped(ZelvoLibrary& library, const char* errorName, Escape escape) {
  const auto getLibrary = [&]() -> ZelvoLibrary& {
    if (escape == Escape::NoLibrary) throw std::runtime_error("no library");
    return library;
  };
  const Ret result = GuardExport<Ret>(getLibrary, errorName, [&](ZelvoLibrary&) -> Ret {
    if (escape == Escape::OutOfMemory) throw std::bad_alloc();
    throw std::runtime_error("injected");
  });
  if constexpr (std::is_pointer_v<Ret>) {
    return {true, result == nullptr ? 0 : 1};
  } else {
    return {false, static_cast<std::int64_t>(result)};
  }
}

struct Row {
  const char* name;
  const char* errorName;
  Outcome (*escaped)(ZelvoLibrary&, const char*, Escape);
};

const Row kRows[] = {
#define ZELVO_EXPORT(ordinal, name, errorName, ret, params, args) {#name, export_name::name, &Escaped<ret>},
#define ZELVO_HELPER(name, errorName, ret, params, args) {#name, export_name::name, &Escaped<ret>},
#include "cards/melvex/zelvo32_exports.inc"
#undef ZELVO_EXPORT
#undef ZELVO_HELPER
};

class ExportGuardTest : public CardFixture {};

TEST_F(ExportGuardTest, EveryExportFailsWithinItsOwnResults) {
  // Exports whose results are not error codes: a size, and the dialog's 1, 2 or -1.
  const std::map<std::string, std::int64_t> ownFailure = {{"ZLV_sizeDIB", 0}, {"ZLV_formatDialogBox", -1}};
  for (const Escape escape : {Escape::OutOfMemory, Escape::Other, Escape::NoLibrary}) {
    const std::int64_t code = escape == Escape::Other ? code::kLostContact : code::kNoMemory;
    for (const Row& row : kRows) {
      const Outcome outcome = row.escaped(Lib(), row.errorName, escape);
      const std::string label = std::string(row.name) + " escape " + std::to_string(static_cast<int>(escape));
      if (outcome.pointer) {
        EXPECT_EQ(outcome.value, 0) << label;  // null
      } else if (const auto own = ownFailure.find(row.name); own != ownFailure.end()) {
        EXPECT_EQ(outcome.value, own->second) << label;
      } else {
        EXPECT_EQ(outcome.value, code) << label;
      }
      if (escape != Escape::NoLibrary) {
        EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), row.errorName) << label;
      }
    }
  }
}

TEST_F(ExportGuardTest, ADialogThatThrowsGivesNotShown) {
  ZlvConfig record{};
  Lib().SetFormatDialog([](void*, ZlvConfig&) -> std::int32_t { throw std::bad_alloc(); });
  const std::int32_t result = GuardExport<std::int32_t>(
      [this]() -> ZelvoLibrary& { return Lib(); }, export_name::ZLV_formatDialogBox,
      [&](ZelvoLibrary& library) { return library.ZLV_formatDialogBox(nullptr, nullptr, &record); });
  EXPECT_EQ(result, -1);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLV_formatDialogBox");
}

}  // namespace
}  // namespace orvale::melvex
