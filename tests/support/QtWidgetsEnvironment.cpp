// Widget suites need a QApplication; one is made for the whole test program.
#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

class QtWidgetsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "widget_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtWidgetsEnvironment);

}  // namespace
