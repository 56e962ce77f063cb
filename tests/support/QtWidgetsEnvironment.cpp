// Widget suites need a QApplication; one is made for the whole test program.
#include <QApplication>

#include "tests/support/QtApplicationEnvironment.h"

namespace {

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(
    new orvale::testing::QtApplicationEnvironment<QApplication>);

}  // namespace
