#include "plugins/tavrel/GrabberPropertiesDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "plugins/tavrel/DialogUnits.h"
#include "plugins/tavrel/SettingsMenu.h"

namespace orvale {

GrabberPropertiesDialog::GrabberPropertiesDialog(CaptureEngine& engine, QWidget* parent)
    : QDialog(parent), engine_(engine) {
  setWindowTitle("Tavrel Properties");
  // A modal frame with a close box only. Opened over the program's window after the live
  // window, it stands above that as the program's other dialogs do.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFont(QFont("MS Sans Serif", 8));
  const DialogUnits units(font());
  setFixedSize(units.X(154), units.Y(59));

  auto* label = new QLabel("Camera", this);
  label->setGeometry(units.Rect(7, 7, 90, 9));
  cameras_ = new QComboBox(this);
  cameras_->setObjectName("cboCamera");
  const QRect comboPlace = units.Rect(7, 19, 102, 13);
  cameras_->setGeometry(comboPlace.x(), comboPlace.y(), comboPlace.width(),
                        std::max(comboPlace.height(), cameras_->sizeHint().height()));
  settings_ = new QPushButton("Settings", this);
  settings_->setObjectName("cmdSettings");
  settings_->setGeometry(units.Rect(114, 19, 33, 13));
  settings_->setAutoDefault(false);
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("cmdOK");
  ok_->setGeometry(units.Rect(97, 38, 50, 14));
  ok_->setDefault(true);

  const auto names = engine_.EnumerateVideoDevices();
  values_ = ReadSettings(engine_.Profile(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i)
    cameras_->addItem(QString::fromStdString(names[i]), static_cast<int>(i));
  cameras_->setCurrentIndex(cameras_->findData(values_.SelectedDevice));

  menu_ = new QMenu(this);
  FillSettingsMenu();

  connect(cameras_, &QComboBox::activated, this, [this](int item) { CameraChosen(item); });
  connect(settings_, &QPushButton::clicked, this, [this] { ShowSettingsMenu(); });
  connect(ok_, &QPushButton::clicked, this, [this] { Save(); });
}

void GrabberPropertiesDialog::CameraChosen(int item) {
  const QVariant data = cameras_->itemData(item);
  if (!data.isValid() || data.toInt() == values_.SelectedDevice) return;
  values_.SelectedDevice = data.toInt();
  // Opening closes the camera in use first; its live window shows the new one.
  engine_.OpenDevice(&values_.SelectedDevice);
  FillSettingsMenu();
}

void GrabberPropertiesDialog::FillSettingsMenu() {
  menu_->clear();
  for (const SettingsMenuEntry& entry : BuildSettingsMenu(engine_.Capabilities()))
    menu_->addAction(QString::fromStdString(entry.Text))->setData(entry.Id);
}

void GrabberPropertiesDialog::ShowSettingsMenu() {
  // A camera may let the user set nothing: an empty menu would open unseen and take the
  // next click.
  if (menu_->isEmpty()) return;
  menu_->popup(settings_->mapToGlobal(settings_->rect().topRight()));
}

void GrabberPropertiesDialog::Save() {
  const QVariant data = cameras_->currentData();
  if (data.isValid()) SaveSelectedDevice(engine_.Profile(), data.toInt());
  accept();
}

bool RunGrabberPropertiesDialog(CaptureEngine& engine) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
  GrabberPropertiesDialog dialog(engine, QApplication::activeWindow());
  dialog.exec();
  return true;
}

}  // namespace orvale
