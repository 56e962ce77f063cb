#pragma once
// One Qt application for a whole test program: a QGuiApplication for the suites that
// draw and measure text, a QApplication for the widget suites.
#include <gtest/gtest.h>

#include <memory>

namespace orvale::testing {

template <class Application>
class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "orvale_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<Application>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<Application> app_;
};

}  // namespace orvale::testing
