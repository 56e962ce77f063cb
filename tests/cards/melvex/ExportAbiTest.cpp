// The shared object's binary contract: every export by name and by ordinal, nothing else
// exported, and the name each export records when it fails.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "cards/melvex/zelvo32.h"
#include "tests/support/DynamicSymbols.h"

namespace {

struct Row {
  std::uint32_t ordinal;
  const char* name;
  const char* errorName;
};

constexpr Row kRows[] = {
#define ZELVO_EXPORT(ordinal, name, errorName, ret, params, args) {ordinal, #name, errorName},
#define ZELVO_HELPER(name, errorName, ret, params, args) {0, #name, errorName},
#include "cards/melvex/zelvo32_exports.inc"
#undef ZELVO_EXPORT
#undef ZELVO_HELPER
};

// The ordinals as the library's documentation gives them, typed independently of the
// export table so that a renumbered or renamed row shows up.
const std::map<std::uint32_t, std::string> kDocumentedOrdinals = {
    {1, "ZLP_init"}, {2, "ZLP_closedown"}, {3, "ZLP_getCurrentCardHandle"}, {4, "ZLP_setActiveCard"},
    {5, "ZLP_errorString"}, {6, "ZLP_lastErrorFunctionName"}, {7, "ZLP_getCardIdStrings"},
    {8, "ZLP_videoConfig"}, {9, "ZLP_testSignal"}, {10, "ZLP_setBrightness"}, {11, "ZLP_setContrast"},
    {12, "ZLP_setSaturation"}, {13, "ZLP_setHue"}, {14, "ZLP_setGamma"}, {15, "ZLP_getBrightness"},
    {16, "ZLP_getContrast"}, {17, "ZLP_getSaturation"}, {18, "ZLP_getHue"}, {19, "ZLP_enableFlash"},
    {20, "ZLP_disableFlash"}, {21, "ZLP_getLimits"}, {22, "ZLP_prepareSnap"}, {23, "ZLP_startSnap"},
    {24, "ZLP_finishSnap"}, {25, "ZLP_flashSnap"}, {26, "ZLP_extTrigSnap"}, {27, "ZLP_startReadout"},
    {28, "ZLP_readLine"}, {29, "ZLP_skipLines"}, {30, "ZLP_autoCrop"}, {31, "ZLP_convertCbYCrYToBGR24"},
    {32, "ZLP_setControlStatus"}, {33, "ZLP_getControlStatus"}, {34, "ZLP_getData"},
    {35, "ZLP_setDigitizerRegister"}, {36, "ZLP_getDigitizerRegister"}, {37, "ZLP_setDigitizerRegisters"},
    {38, "ZLP_getDigitizerRegisters"}, {39, "ZLP_windowAddress"},
    {100, "ZLV_defaultConfig"}, {101, "ZLV_prepare"}, {102, "ZLV_snap"}, {103, "ZLV_draw"}, {104, "ZLV_drawDIB"},
    {105, "ZLV_readoutDIB"}, {106, "ZLV_readoutDIBToClipboard"}, {107, "ZLV_saveDIBToClipboard"},
    {108, "ZLV_readoutDIBToFile"}, {109, "ZLV_saveDIBToFile"}, {110, "ZLV_snapAverageDIB"}, {111, "ZLV_filterDIB"}, {112, "ZLV_getFilter"},
    {113, "ZLV_copyDIB"}, {114, "ZLV_readIniFile"}, {115, "ZLV_saveIniFile"}, {116, "ZLV_defaultPalette"}, {117, "ZLV_releasePalette"},
    {118, "ZLV_formatDialogBox"},
};

class ExportAbiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("ORVALE_MELVEX_DEVICE");
    handle_ = dlopen(ZELVO32_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
    procAddress_ = reinterpret_cast<decltype(&zelvo32_procAddress)>(dlsym(handle_, "zelvo32_procAddress"));
    ASSERT_NE(procAddress_, nullptr);
  }
  void TearDown() override {
    if (handle_ != nullptr) dlclose(handle_);
  }
  template <class F>
  F* Export(const char* name) {
    return reinterpret_cast<F*>(dlsym(handle_, name));
  }

  void* handle_ = nullptr;
  decltype(&zelvo32_procAddress) procAddress_ = nullptr;
};

TEST_F(ExportAbiTest, EveryRowResolvesByNameAndByItsOrdinal) {
  for (const Row& row : kRows) {
    void* byName = dlsym(handle_, row.name);
    EXPECT_NE(byName, nullptr) << row.name;
    if (row.ordinal != 0) {
      EXPECT_EQ(procAddress_(row.ordinal), byName) << row.name;
    }
  }
}

TEST_F(ExportAbiTest, OrdinalsMatchTheDocumentedTable) {
  std::map<std::uint32_t, std::string> fromTable;
  for (const Row& row : kRows) {
    if (row.ordinal != 0) {
      EXPECT_TRUE(fromTable.emplace(row.ordinal, row.name).second) << row.ordinal;
    }
  }
  EXPECT_EQ(fromTable, kDocumentedOrdinals);
}

TEST_F(ExportAbiTest, WithoutTheSimulatedCardThereIsNoDriver) {
  auto* init = Export<decltype(ZLP_init)>("ZLP_init");
  ASSERT_NE(init, nullptr);
  EXPECT_EQ(init(), 3);
  auto* text = Export<decltype(ZLP_errorString)>("ZLP_errorString");
  EXPECT_STREQ(text(3), "No Melvex Imaging Card driver detected");
}

TEST_F(ExportAbiTest, UnknownOrdinalsResolveToNothing) {
  for (std::uint32_t ordinal : {0u, 40u, 99u, 119u, 0xFFFFu}) EXPECT_EQ(procAddress_(ordinal), nullptr) << ordinal;
}

TEST_F(ExportAbiTest, ExportsNothingButTheTable) {
  const std::set<std::string> exported = orvale::testing::BindableDynamicSymbols(ZELVO32_NM, ZELVO32_LIBRARY);
  ASSERT_FALSE(exported.empty());
  std::set<std::string> expected = {"zelvo32_procAddress"};
  for (const Row& row : kRows) expected.insert(row.name);
  EXPECT_EQ(exported, expected);
}

// With no session, each export driven into an error records its own error name.
TEST_F(ExportAbiTest, FailingExportsRecordTheirErrorNames) {
  auto* lastName = Export<decltype(ZLP_lastErrorFunctionName)>("ZLP_lastErrorFunctionName");
  ASSERT_NE(lastName, nullptr);
  EXPECT_STREQ(lastName(), "");  // nothing failed since load

#define CALL(name, ...)                                               \
  [&] {                                                               \
    auto* function = Export<decltype(name)>(#name);                   \
    ASSERT_NE(function, nullptr);                                     \
    EXPECT_NE(function(__VA_ARGS__), 0) << #name;                     \
  }
  std::int32_t i32 = 0;
  std::int8_t i8 = 0;
  std::uint8_t u8 = 0;
  std::uint16_t u16 = 0;
  void* pointer = nullptr;
  ZLP_HANDLE handle = nullptr;
  ZlpLimits limits{};
  ZlpSnapRequest request{};
  char text[8];
  std::uint8_t block[24] = {};
  (void)i32, (void)i8, (void)u8, (void)u16, (void)pointer, (void)handle, (void)limits, (void)request;
  const std::map<std::string, std::function<void()>> failing = {
      {"ZLP_init", CALL(ZLP_init)},
      {"ZLP_closedown", CALL(ZLP_closedown, 0)},
      {"ZLP_getCurrentCardHandle", CALL(ZLP_getCurrentCardHandle, &handle)},
      {"ZLP_setActiveCard", CALL(ZLP_setActiveCard, nullptr)},
      {"ZLP_getCardIdStrings", CALL(ZLP_getCardIdStrings, text, sizeof(text))},
      {"ZLP_videoConfig", CALL(ZLP_videoConfig, 0, 0, &i32)},
      {"ZLP_testSignal", CALL(ZLP_testSignal, &i32)},
      {"ZLP_setBrightness", CALL(ZLP_setBrightness, 0)},
      {"ZLP_setContrast", CALL(ZLP_setContrast, 0)},
      {"ZLP_setSaturation", CALL(ZLP_setSaturation, 0)},
      {"ZLP_setHue", CALL(ZLP_setHue, 0)},
      {"ZLP_setGamma", CALL(ZLP_setGamma, 1.0f)},
      {"ZLP_getBrightness", CALL(ZLP_getBrightness, &i8)},
      {"ZLP_getContrast", CALL(ZLP_getContrast, &i8)},
      {"ZLP_getSaturation", CALL(ZLP_getSaturation, &i8)},
      {"ZLP_getHue", CALL(ZLP_getHue, &i8)},
      {"ZLP_enableFlash", CALL(ZLP_enableFlash, 1, nullptr, 0)},
      {"ZLP_disableFlash", CALL(ZLP_disableFlash)},
      {"ZLP_getLimits", CALL(ZLP_getLimits, 0, &limits)},
      {"ZLP_prepareSnap", CALL(ZLP_prepareSnap, &request)},
      {"ZLP_startSnap", CALL(ZLP_startSnap)},
      {"ZLP_finishSnap", CALL(ZLP_finishSnap)},
      {"ZLP_flashSnap", CALL(ZLP_flashSnap)},
      {"ZLP_extTrigSnap", CALL(ZLP_extTrigSnap, 0)},
      {"ZLP_startReadout", CALL(ZLP_startReadout, 1, &u16)},
      {"ZLP_readLine", CALL(ZLP_readLine, block, 0, 1)},
      {"ZLP_skipLines", CALL(ZLP_skipLines, 1)},
      {"ZLP_autoCrop", CALL(ZLP_autoCrop, &request)},
      {"ZLP_convertCbYCrYToBGR24", CALL(ZLP_convertCbYCrYToBGR24, block, block, 1)},
      {"ZLP_setControlStatus", CALL(ZLP_setControlStatus, 0)},
      {"ZLP_getControlStatus", CALL(ZLP_getControlStatus, &u8)},
      {"ZLP_getData", CALL(ZLP_getData, &u16)},
      {"ZLP_setDigitizerRegister", CALL(ZLP_setDigitizerRegister, 1, 0)},
      {"ZLP_getDigitizerRegister", CALL(ZLP_getDigitizerRegister, 1, &u8)},
      {"ZLP_setDigitizerRegisters", CALL(ZLP_setDigitizerRegisters, block)},
      {"ZLP_getDigitizerRegisters", CALL(ZLP_getDigitizerRegisters, block)},
      {"ZLP_windowAddress", CALL(ZLP_windowAddress, &pointer)},
      {"ZLV_defaultConfig", CALL(ZLV_defaultConfig, nullptr)},
      {"ZLV_prepare", CALL(ZLV_prepare, nullptr, 0)},
      {"ZLV_snap", CALL(ZLV_snap, nullptr)},
      {"ZLV_readoutDIB", CALL(ZLV_readoutDIB, nullptr, nullptr)},
      {"ZLV_readoutDIBToFile", CALL(ZLV_readoutDIBToFile, nullptr, "x.bmp")},
      {"ZLV_saveDIBToFile", CALL(ZLV_saveDIBToFile, nullptr, "x.bmp")},
      {"ZLV_filterDIB", CALL(ZLV_filterDIB, nullptr, nullptr)},
      {"ZLV_copyDIB", CALL(ZLV_copyDIB, nullptr, nullptr)},
      {"ZLV_unlockDIB", CALL(ZLV_unlockDIB, nullptr)},
      {"ZLV_formatDialogBox", CALL(ZLV_formatDialogBox, nullptr, nullptr, nullptr)},
      {"ZLV_readIniFile", CALL(ZLV_readIniFile, nullptr, nullptr, nullptr)},
      {"ZLV_saveIniFile", CALL(ZLV_saveIniFile, nullptr, nullptr, nullptr)},
      {"ZLV_snapAverageDIB", CALL(ZLV_snapAverageDIB, nullptr, nullptr, 1, 1)},
      {"ZLV_draw", CALL(ZLV_draw, nullptr, nullptr, 0, 0, 0, 0)},
      {"ZLV_drawDIB", CALL(ZLV_drawDIB, nullptr, nullptr, 0, 0, 0, 0)},
      {"ZLV_readoutDIBToClipboard", CALL(ZLV_readoutDIBToClipboard, nullptr)},
      {"ZLV_saveDIBToClipboard", CALL(ZLV_saveDIBToClipboard, nullptr)},
      {"ZLV_defaultPalette", CALL(ZLV_defaultPalette, nullptr, 0)},
      {"ZLV_freeDIB", CALL(ZLV_freeDIB, reinterpret_cast<ZLV_HDIB>(0x42))},
      // These return no code: a null pointer or a size of 0 is the failure.
      {"ZLV_getFilter", [&] { EXPECT_EQ(Export<decltype(ZLV_getFilter)>("ZLV_getFilter")(9), nullptr); }},
      {"ZLV_lockDIB", [&] { EXPECT_EQ(Export<decltype(ZLV_lockDIB)>("ZLV_lockDIB")(nullptr), nullptr); }},
      {"ZLV_sizeDIB", [&] { EXPECT_EQ(Export<decltype(ZLV_sizeDIB)>("ZLV_sizeDIB")(nullptr), 0u); }},
  };
#undef CALL
  // Exports that cannot fail.
  const std::set<std::string> neverFail = {"ZLP_errorString", "ZLP_lastErrorFunctionName", "ZLV_releasePalette"};
  // ZLV_readoutDIBToClipboard fails inside ZLV_readoutDIB, whose name it reports.
  const std::map<std::string, std::string> innerName = {{"ZLV_readoutDIBToClipboard", "ZLV_readoutDIB"}};
  for (const Row& row : kRows) {
    if (neverFail.count(row.name) != 0) continue;
    const auto it = failing.find(row.name);
    ASSERT_NE(it, failing.end()) << "no failing call for " << row.name;
    it->second();
    const auto inner = innerName.find(row.name);
    EXPECT_STREQ(lastName(), inner != innerName.end() ? inner->second.c_str() : row.errorName) << row.name;
  }
}

}  // namespace
