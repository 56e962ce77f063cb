#pragma once
// Reaching the controls of a dialog by their names, and typing into them as a user
// would.
#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>

namespace orvale::testing {

template <class Widget>
Widget* Child(const QWidget& parent, const char* name) {
  auto* widget = parent.findChild<Widget*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

inline void Click(const QWidget& parent, const char* button) {
  if (auto* b = Child<QPushButton>(parent, button)) b->click();
}

// Replaces the text of a text or number box key by key; keys the box refuses are
// dropped. A number box then reads its text (its value stays while the text is not a
// number in its range).
inline void TypeInto(QLineEdit* box, const QString& keys) {
  box->selectAll();
  QTest::keyClicks(box, keys);
}
inline void TypeInto(QAbstractSpinBox* box, const QString& keys) {
  box->selectAll();
  QTest::keyClicks(box, keys);
  box->interpretText();
}

}  // namespace orvale::testing
