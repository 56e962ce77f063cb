#include "app/dialogs/DialogPosition.h"

#include <gtest/gtest.h>

#include <QDialog>

#include "platform/registry/MemorySettingsStore.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale {
namespace {

TEST(DialogPositionTest, ADialogOpensCentredInTheUpperHalfOrWhereItWasLeft) {
  MemorySettingsStore store;
  ScopedSettingsStore scope(store);
  QDialog dialog;
  dialog.resize(300, 200);
  const QSize screen = ScreenSizeTwips();
  const QPoint centred(TwipsToPixels((screen.width() - PixelsToTwips(300)) / 2),
                       TwipsToPixels((screen.height() / 2 - PixelsToTwips(200)) / 2));
  EXPECT_EQ(DefaultDialogTopLeft(dialog), centred);

  RestoreDialogPosition(dialog, "TestLeft", "TestTop");  // nothing stored yet
  EXPECT_EQ(dialog.pos(), centred);

  dialog.move(40, 30);
  SaveDialogPosition(dialog, "TestLeft", "TestTop");
  EXPECT_EQ(GetSettingLong("CurrentVersion", "TestLeft", 0, 100000, 0), PixelsToTwips(40));
  dialog.move(0, 0);
  RestoreDialogPosition(dialog, "TestLeft", "TestTop");
  EXPECT_EQ(dialog.pos(), QPoint(40, 30));

  // A place clamped to the screen's far corner leaves nothing usable on it.
  SaveSettingLong("CurrentVersion", "TestLeft", screen.width());
  SaveSettingLong("CurrentVersion", "TestTop", screen.height());
  RestoreDialogPosition(dialog, "TestLeft", "TestTop");
  EXPECT_EQ(dialog.pos(), centred);
}

}  // namespace
}  // namespace orvale
