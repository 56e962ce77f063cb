#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "cards/melvex/DeviceRequests.h"
#include "tests/cards/melvex/CardFixture.h"

namespace orvale::melvex {
namespace {

using testing::CardFixture;

class CardSessionTest : public CardFixture {};

TEST_F(CardSessionTest, SecondInitSharesTheDeviceAndClosedownsReleaseInTurn) {
  int lineBuffers = 0;
  Lib().SetAllocationGate([&](std::size_t bytes) {
    lineBuffers += bytes == kLineBufferBytes;
    return true;
  });
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  EXPECT_EQ(lineBuffers, 3);  // the shared line buffer and the session's two
  ZLP_HANDLE first = nullptr;
  ASSERT_EQ(Lib().ZLP_getCurrentCardHandle(&first), code::kOk);
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  EXPECT_EQ(lineBuffers, 5);  // only the second session's own
  ZLP_HANDLE second = nullptr;
  ASSERT_EQ(Lib().ZLP_getCurrentCardHandle(&second), code::kOk);
  EXPECT_NE(first, second);
  EXPECT_EQ(Lib().SessionCount(), 2u);
  EXPECT_EQ(Card().OpenHandles(), 1);
  EXPECT_EQ(Card().Attachments(), 2);

  // The first closedown closes the current (second) session; the device stays open.
  ASSERT_EQ(Lib().ZLP_closedown(0), code::kOk);
  EXPECT_TRUE(Lib().DeviceOpen());
  ZLP_HANDLE none = first;
  EXPECT_EQ(Lib().ZLP_getCurrentCardHandle(&none), code::kNotInitialised);
  EXPECT_EQ(none, nullptr);
  ASSERT_EQ(Lib().ZLP_setActiveCard(first), code::kOk);
  ASSERT_EQ(Lib().ZLP_closedown(3), code::kOk);
  EXPECT_FALSE(Lib().DeviceOpen());
  EXPECT_EQ(Card().OpenHandles(), 0);
  EXPECT_EQ(Card().Attachments(), 0);

  ASSERT_EQ(Card().Releases().size(), 2u);
  EXPECT_EQ(Card().Releases()[0].word, 1u);  // mode 0
  EXPECT_EQ(Card().Releases()[1].word, 0u);  // any other mode
  EXPECT_NE(Card().Releases()[0].driverCardHandle, Card().Releases()[1].driverCardHandle);
  EXPECT_EQ(Lib().ZLP_closedown(0), code::kNotInitialised);
}

struct InitFailure {
  const char* name;
  std::int32_t expected;
  void (*arrange)(sim::SimulatedCard&, ZelvoLibrary&);
};

class InitFailureTest : public CardFixture, public ::testing::WithParamInterface<InitFailure> {};

TEST_P(InitFailureTest, LeavesNoSessionNoOpenDeviceAndNoAttachment) {
  GetParam().arrange(Card(), Lib());
  EXPECT_EQ(Lib().ZLP_init(), GetParam().expected);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_init");
  ZLP_HANDLE handle = reinterpret_cast<ZLP_HANDLE>(1);
  EXPECT_EQ(Lib().ZLP_getCurrentCardHandle(&handle), code::kNotInitialised);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(Lib().SessionCount(), 0u);
  EXPECT_EQ(Card().OpenHandles(), 0);
  EXPECT_EQ(Card().Attachments(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InitFailureTest,
    ::testing::Values(
        InitFailure{"NoDriver", code::kNoDriver, [](sim::SimulatedCard& c, ZelvoLibrary&) { c.SetDriverPresent(false); }},
        InitFailure{"StatusFails", code::kNoDriver,
                    [](sim::SimulatedCard& c, ZelvoLibrary&) { c.AddFault(sim::RequestFault::Failing(request::kStatus)); }},
        InitFailure{"ForeignCard", code::kWrongModel, [](sim::SimulatedCard& c, ZelvoLibrary&) { c.SetStatusFlags(1); }},
        InitFailure{"NoCard", code::kNoCard, [](sim::SimulatedCard& c, ZelvoLibrary&) { c.SetStatusFlags(0); }},
        InitFailure{"AttachFails", code::kNoCard,
                    [](sim::SimulatedCard& c, ZelvoLibrary&) { c.AddFault(sim::RequestFault::Failing(request::kAttach)); }},
        InitFailure{"ResetWriteFails", code::kLostContact,
                    [](sim::SimulatedCard& c, ZelvoLibrary&) {
                      c.SetAttachFlags(kAttachResetNeeded);
                      c.AddFault(sim::RequestFault::Failing(request::kWriteRegisters, 31));
                    }},
        InitFailure{"NoMemory", code::kNoMemory,
                    [](sim::SimulatedCard&, ZelvoLibrary& l) {
                      l.SetAllocationGate([](std::size_t bytes) { return bytes < kLineBufferBytes; });
                    }}),
    [](const ::testing::TestParamInfo<InitFailure>& info) { return std::string(info.param.name); });

TEST_F(CardSessionTest, FailedSecondInitKeepsTheFirstSessionsDevice) {
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  Card().AddFault(sim::RequestFault::Failing(request::kAttach));
  EXPECT_EQ(Lib().ZLP_init(), code::kNoCard);
  EXPECT_TRUE(Lib().DeviceOpen());
  EXPECT_EQ(Card().OpenHandles(), 1);
  EXPECT_EQ(Lib().SessionCount(), 1u);
}

TEST_F(CardSessionTest, ResetFlagSleepsTwoSecondsAndWritesRegister31Once) {
  Card().SetAttachFlags(kAttachResetNeeded);
  const std::uint64_t before = Card().VirtualTime().ElapsedMs();
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  EXPECT_GE(Card().VirtualTime().ElapsedMs() - before, 2000u);
  int writes = 0;
  for (const sim::RegisterWrite& w : Card().RegisterWrites()) {
    if (w.first == 31) {
      ++writes;
      EXPECT_EQ(w.bytes, std::vector<std::uint8_t>{0x77});
    }
  }
  EXPECT_EQ(writes, 1);
}

TEST_F(CardSessionTest, SetActiveCardAcceptsOnlyLiveSessions) {
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  ZLP_HANDLE live = nullptr;
  ASSERT_EQ(Lib().ZLP_getCurrentCardHandle(&live), code::kOk);
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  ZLP_HANDLE closed = nullptr;
  ASSERT_EQ(Lib().ZLP_getCurrentCardHandle(&closed), code::kOk);
  ASSERT_EQ(Lib().ZLP_closedown(0), code::kOk);

  // A record of the caller's own that looks like a session at every offset.
  alignas(8) unsigned char forged[256];
  for (std::size_t i = 0; i + 1 < sizeof(forged); i += 2) {
    forged[i] = 0x34;
    forged[i + 1] = 0x12;
  }
  for (ZLP_HANDLE bad : {static_cast<ZLP_HANDLE>(nullptr), static_cast<ZLP_HANDLE>(forged), closed}) {
    EXPECT_EQ(Lib().ZLP_setActiveCard(bad), code::kNotInitialised);
    std::int8_t brightness = 0;
    EXPECT_EQ(Lib().ZLP_getBrightness(&brightness), code::kNotInitialised);
  }
  EXPECT_EQ(Lib().ZLP_setActiveCard(live), code::kOk);
  std::int8_t brightness = 0;
  EXPECT_EQ(Lib().ZLP_getBrightness(&brightness), code::kOk);
}

TEST_F(CardSessionTest, ErrorStringsAreTheTableTexts) {
  EXPECT_STREQ(Lib().ZLP_errorString(0), "No error");
  EXPECT_STREQ(Lib().ZLP_errorString(3), "No Melvex Imaging Card driver detected");
  EXPECT_STREQ(Lib().ZLP_errorString(12), "Attempt to read monochrome image as colour");
  EXPECT_STREQ(Lib().ZLP_errorString(20), "An error while reading or writing to file");
  for (std::int32_t code : {21, -1, INT_MIN, INT_MAX}) EXPECT_STREQ(Lib().ZLP_errorString(code), "Unknown error");
}

TEST_F(CardSessionTest, LastFailingNameIsEmptyUntilAFailureAndSurvivesSuccess) {
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "");
  std::int32_t standard = 0;
  EXPECT_EQ(Lib().ZLP_testSignal(&standard), code::kNotInitialised);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_signalPresent");
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  EXPECT_EQ(Lib().ZLP_testSignal(&standard), code::kOk);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_signalPresent");
}

// A caller may keep the name it was given: later failures, of shorter and longer names,
// neither move nor change it.
TEST_F(CardSessionTest, AKeptFailingNameStaysValidAndNamesItsFunction) {
  std::int32_t standard = 0;
  struct Failure {
    const char* name;
    std::function<std::int32_t()> call;
  };
  const Failure failures[] = {
      {"ZLP_signalPresent", [&] { return Lib().ZLP_testSignal(&standard); }},
      {"ZLV_readoutDIB", [&] { return Lib().ZLV_readoutDIB(nullptr, nullptr); }},
      {"ZLP_readLine", [&] { return Lib().ZLP_readLine(nullptr, 0, 1); }},
      {"ZLP_getCurrentCardHandle", [&] { return Lib().ZLP_getCurrentCardHandle(nullptr); }},
      {"ZLV_snapAverageDIB", [&] { return Lib().ZLV_snapAverageDIB(nullptr, nullptr, 1, 1); }},
      {"ZLP_ioWindowAddress", [&] { return Lib().ZLP_windowAddress(nullptr); }},
      {"ZLV_readIniFile", [&] { return Lib().ZLV_readIniFile(nullptr, nullptr, nullptr); }},
  };
  std::vector<std::pair<const char*, const char*>> kept;  // what was handed out, and its name
  for (const Failure& f : failures) {
    ASSERT_NE(f.call(), code::kOk) << f.name;
    const char* name = Lib().ZLP_lastErrorFunctionName();
    kept.emplace_back(name, f.name);
    for (const auto& [pointer, expected] : kept) EXPECT_STREQ(pointer, expected) << "after " << f.name;
  }
}

TEST_F(CardSessionTest, CardIdStringsAreAlwaysTerminated) {
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  char text[8];
  Card().ClearLogs();
  EXPECT_EQ(Lib().ZLP_getCardIdStrings(text, 0), code::kOutOfRange);
  EXPECT_EQ(Card().RequestCount(request::kCardIdStrings), 0u);

  std::memset(text, 'Z', sizeof(text));
  EXPECT_EQ(Lib().ZLP_getCardIdStrings(text, 1), code::kOk);
  EXPECT_STREQ(text, "");

  Card().SetCardId("ABCDEFGHIJ", /*unterminated=*/true);
  std::memset(text, 'Z', sizeof(text));
  EXPECT_EQ(Lib().ZLP_getCardIdStrings(text, sizeof(text)), code::kOk);
  EXPECT_STREQ(text, "ABCDEFG");

  Card().AddFault(sim::RequestFault::Failing(request::kCardIdStrings));
  EXPECT_EQ(Lib().ZLP_getCardIdStrings(text, sizeof(text)), code::kOk);
  EXPECT_STREQ(text, "");
}

TEST_F(CardSessionTest, ControlStatusTransferFailuresAreReported) {
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  Card().AddFault(sim::RequestFault::Failing(request::kWriteRegisters, kControlStatusRegister));
  EXPECT_EQ(Lib().ZLP_setControlStatus(0x08), code::kLostContact);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_setControlStatus");

  Card().AddFault(sim::RequestFault::Failing(request::kReadRegisters, kControlStatusRegister));
  std::uint8_t status = 0;
  EXPECT_EQ(Lib().ZLP_getControlStatus(&status), code::kLostContact);
  EXPECT_EQ(status, 0x12);
  EXPECT_STREQ(Lib().ZLP_lastErrorFunctionName(), "ZLP_getControlStatus");

  EXPECT_EQ(Lib().ZLP_setControlStatus(0x28), code::kOk);
  EXPECT_EQ(Lib().ZLP_getControlStatus(&status), code::kOk);
  EXPECT_EQ(status & 0x28, 0x28);
}

TEST_F(CardSessionTest, WindowAddressIsTheAttachedWindow) {
  ASSERT_EQ(Lib().ZLP_init(), code::kOk);
  void* address = nullptr;
  EXPECT_EQ(Lib().ZLP_windowAddress(&address), code::kOk);
  EXPECT_NE(address, nullptr);
  std::uint16_t word = 1;
  EXPECT_EQ(Lib().ZLP_getData(&word), code::kOk);
}

}  // namespace
}  // namespace orvale::melvex
