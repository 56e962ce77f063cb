// The shared object exports exactly the table's names, each resolvable, and they reach
// the core: the start-up road runs through it on the simulated board.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "cards/korrin/ExportTable.h"
#include "cards/korrin/LibraryInstance.h"
#include "tests/support/DynamicSymbols.h"

namespace orvale::korrin {
namespace {

class SharedObject {
 public:
  SharedObject() { handle_ = dlopen(KORRIN32_PATH, RTLD_NOW | RTLD_LOCAL); }
  ~SharedObject() {
    if (handle_ != nullptr) dlclose(handle_);
  }
  void* Handle() const { return handle_; }
  template <class F>
  F* Get(const char* name) const {
    return reinterpret_cast<F*>(dlsym(handle_, name));
  }

 private:
  void* handle_ = nullptr;
};

TEST(ExportTableTest, TableHoldsEveryExportOnce) {
  const std::set<std::string_view> unique(kExportedSymbols.begin(), kExportedSymbols.end());
  EXPECT_EQ(unique.size(), kExportedSymbols.size());
  EXPECT_EQ(kExportedSymbols.size(), 84u);
}

TEST(ExportTableTest, EveryNameResolves) {
  SharedObject so;
  ASSERT_NE(so.Handle(), nullptr) << dlerror();
  for (std::string_view name : kExportedSymbols) {
    EXPECT_NE(dlsym(so.Handle(), std::string(name).c_str()), nullptr) << name;
  }
}

TEST(ExportTableTest, NothingElseIsExported) {
  const auto exported = testing::BindableDynamicSymbols(NM_PROGRAM, KORRIN32_PATH);
  ASSERT_FALSE(exported.empty());
  const std::set<std::string> table(kExportedSymbols.begin(), kExportedSymbols.end());
  for (const auto& name : exported) EXPECT_TRUE(table.count(name) != 0) << "leaked: " << name;
  EXPECT_EQ(exported.size(), table.size());
}

TEST(ExportTableTest, WithoutTheSwitchThereIsNoBoard) {
  unsetenv(kDeviceVariable);
  SharedObject so;
  ASSERT_NE(so.Handle(), nullptr) << dlerror();
  EXPECT_EQ(so.Get<int32_t()>("KR_Locate")(), -1);
  EXPECT_EQ(so.Get<int32_t(int32_t)>("KR_LoadConfig")(0), -1);
}

TEST(ExportTableTest, StartUpReachesTheSimulatedBoard) {
  setenv(kDeviceVariable, "sim", 1);
  SharedObject so;
  ASSERT_NE(so.Handle(), nullptr) << dlerror();
  EXPECT_EQ(so.Get<int32_t()>("KR_Locate")(), 0);
  EXPECT_EQ(so.Get<int32_t()>("KR_Init")(), 0);
  EXPECT_EQ(so.Get<int32_t(int32_t, int32_t, int32_t, int32_t)>("KR_SetVideoConfig")(0, 1, 2, 0), 0);
  EXPECT_EQ(so.Get<int32_t()>("KR_GetVideoStandard")(), 1);
  EXPECT_EQ(so.Get<int32_t()>("KR_Cleanup")(), 0);
  unsetenv(kDeviceVariable);
}

// A program may drive the simulated board for hours of its virtual time: a grab loop
// across the first hour and then a wait of more than an hour both return, and the
// program lives on. (The waits run with video off, so no frame is copied meanwhile.)
TEST(ExportTableTest, TheSimulatedBoardServesAProgramPastAVirtualHour) {
  setenv(kDeviceVariable, "sim", 1);
  SharedObject so;
  ASSERT_NE(so.Handle(), nullptr) << dlerror();
  const auto waitMs = so.Get<int32_t(int32_t)>("KR_WaitMS");
  const auto live = so.Get<int32_t(int32_t, int32_t)>("KR_VideoLive");
  const auto grab = so.Get<int32_t(int32_t, int32_t, int32_t, int32_t)>("KR_VideoGrab");
  constexpr int32_t kHourMs = 60 * 60 * 1000;
  ASSERT_EQ(so.Get<int32_t()>("KR_Locate")(), 0);
  ASSERT_EQ(so.Get<int32_t(int32_t)>("KR_LoadConfig")(0), 1);
  ASSERT_EQ(so.Get<int32_t()>("KR_Init")(), 0);
  // Start-up takes well under a second and a grab tens of milliseconds.
  EXPECT_EQ(waitMs(kHourMs - 2000), 0);
  ASSERT_EQ(live(1, 0), 0);
  for (int i = 0; i < 60; ++i) ASSERT_EQ(grab(0, 0, 2, 0), 0) << "grab " << i;
  ASSERT_EQ(live(0, 0), 0);
  EXPECT_EQ(waitMs(kHourMs + 1), 0);
  ASSERT_EQ(live(1, 0), 0);
  EXPECT_EQ(grab(0, 0, 2, 0), 0);
  EXPECT_EQ(so.Get<int32_t()>("KR_Cleanup")(), 0);
  unsetenv(kDeviceVariable);
}

void Nothing() {}

TEST(ExportTableTest, UnloadingWithAnInterruptWorkerRunningIsSafe) {
  setenv(kDeviceVariable, "sim", 1);
  {
    SharedObject so;
    ASSERT_NE(so.Handle(), nullptr) << dlerror();
    EXPECT_EQ(so.Get<int32_t()>("KR_Locate")(), 0);
    EXPECT_EQ(so.Get<int32_t()>("KR_Init")(), 0);
    EXPECT_EQ(so.Get<int32_t(int32_t, int32_t, int32_t, KR_IrqCallback)>("KR_EnableIRQ")(0, 0, 1, Nothing), 0);
  }  // dlclose: the library's teardown stops and joins the worker
  unsetenv(kDeviceVariable);
}

}  // namespace
}  // namespace orvale::korrin
