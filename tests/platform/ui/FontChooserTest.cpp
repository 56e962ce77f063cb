#include "platform/ui/FontChooser.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QSpinBox>
#include <QTimer>

namespace orvale {
namespace {

template <class Widget>
Widget* Child(const QWidget& parent, const char* name) {
  auto* widget = parent.findChild<Widget*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

FontDialogRequest Request(const std::string& face) {
  FontDialogRequest request;
  request.Title = "Printer Font";
  request.Initial = {face, 14, true, false, true, 0x0000FF};
  return request;
}

TEST(FontChooserTest, ShowsTheStyleAndGivesBackWhatTheUserSet) {
  const QString family = QFontDatabase::families().value(0);
  ASSERT_FALSE(family.isEmpty()) << "no fonts installed";
  FontChooser chooser(Request(family.toStdString()), nullptr);

  EXPECT_EQ(chooser.windowTitle(), "Printer Font");
  EXPECT_EQ(Child<QComboBox>(chooser, "cboFace")->currentText(), family);
  EXPECT_EQ(chooser.Choice(), (FontChoice{family.toStdString(), 14, true, false, true, 0xFF}));
  EXPECT_TRUE(Child<QLabel>(chooser, "lblSample")->font().bold());

  Child<QSpinBox>(chooser, "spnSize")->setValue(500);  // the box holds 1..72
  Child<QCheckBox>(chooser, "chkItalic")->setChecked(true);
  Child<QCheckBox>(chooser, "chkBold")->setChecked(false);
  chooser.SetColor(0x123456);
  const FontChoice choice = chooser.Choice();
  EXPECT_EQ(choice.Size, 72);
  EXPECT_TRUE(choice.Italic);
  EXPECT_FALSE(choice.Bold);
  EXPECT_EQ(choice.Color, 0x123456);
  EXPECT_TRUE(Child<QLabel>(chooser, "lblSample")->font().italic());
}

TEST(FontChooserTest, AFaceThatIsNotInstalledShowsTheFamilyThatServesIt) {
  FontChooser chooser(Request("No Such Face At All"), nullptr);
  const QString served = QFontInfo(QFont("No Such Face At All")).family();
  EXPECT_EQ(Child<QComboBox>(chooser, "cboFace")->currentText(), served);
}

TEST(FontChooserTest, TheServiceAnswersWithTheChoiceOrACancel) {
  QtFontDialogService service;
  const auto answerWith = [&service](bool accept) {
    QTimer::singleShot(0, [accept] {
      auto* chooser = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(chooser, nullptr);
      if (accept) chooser->accept(); else chooser->reject();
    });
    return service.ChooseFont(Request(QFontDatabase::families().value(0).toStdString()));
  };
  const FontDialogAnswer chosen = answerWith(true);
  EXPECT_FALSE(chosen.Cancelled);
  EXPECT_EQ(chosen.Choice.Size, 14);
  EXPECT_TRUE(answerWith(false).Cancelled);
}

}  // namespace
}  // namespace orvale
