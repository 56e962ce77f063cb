// Fonts need a GUI application; one is made for the whole test program.
#include <QGuiApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

class QtAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "gdi_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QGuiApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

}  // namespace
