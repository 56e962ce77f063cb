// Fonts need a GUI application; one is made for the whole test program.
#include <QGuiApplication>

#include "tests/support/QtApplicationEnvironment.h"

namespace {

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(
    new orvale::testing::QtApplicationEnvironment<QGuiApplication>);

}  // namespace
