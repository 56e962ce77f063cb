#include "app/frame/frmSplash.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>

#include "app/frame/OrvaleLogo.h"
#include "app/frame/OrvaleVersion.h"
#include "platform/runtime/RunError.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

constexpr char kWebLink[] = "https://www.halvern.example/orvale";
constexpr char kMailLink[] = "mailto:support@halvern.example";
// The shell's number for a link no program is associated with.
constexpr int kNoAssociationError = 31;
constexpr int kLogoSize = 128;

QLabel* MakeLabel(QWidget* parent, const QString& text, int points, bool bold = false) {
  auto* label = new QLabel(text, parent);
  QFont font("Arial", points);
  font.setBold(bold);
  label->setFont(font);
  return label;
}

QLabel* MakeLinkLabel(QWidget* parent, const QString& link) {
  QLabel* label = MakeLabel(parent, link, 9);
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  label->setStyleSheet("color: #1a4fa0;");
  label->setCursor(Qt::PointingHandCursor);
  return label;
}

}  // namespace

frmSplash::frmSplash(Mode mode, QWidget* owner)
    : QDialog(owner, mode == Mode::Splash ? Qt::SplashScreen | Qt::FramelessWindowHint
                                          : Qt::Dialog | Qt::FramelessWindowHint),
      opener_([](const QString& link) { return QDesktopServices::openUrl(QUrl(link)); }) {
  setModal(mode == Mode::About);
  setWindowTitle("Orvale");

  fraMainFrame = new QFrame(this);
  fraMainFrame->setFrameShape(QFrame::Panel);
  fraMainFrame->setFrameShadow(QFrame::Raised);
  fraMainFrame->setLineWidth(2);

  Image1 = new QLabel(fraMainFrame);
  Image1->setPixmap(OrvaleLogo(kLogoSize));
  lblProductName = MakeLabel(fraMainFrame, "Orvale", 28, true);
  lblCompanyProduct =
      MakeLabel(fraMainFrame, "Fringe analysis software for optical testing", 11);
  lblPlatform = MakeLabel(fraMainFrame, "Linux", 10);
  lblVersion = MakeLabel(fraMainFrame,
                         QString("Version %1.%2").arg(kVersionMajor).arg(kVersionMinor), 10, true);
  lblCompany = MakeLabel(fraMainFrame, "Halvern", 10, true);
  lblCopyright = MakeLabel(fraMainFrame, "Copyright \u00A9 Halvern. All rights reserved.", 8);
  lblWeb = MakeLinkLabel(fraMainFrame, kWebLink);
  lblEmail = MakeLinkLabel(fraMainFrame, kMailLink);
  lblPlatform->setAlignment(Qt::AlignRight);
  lblVersion->setAlignment(Qt::AlignRight);

  auto* grid = new QGridLayout(fraMainFrame);
  grid->setContentsMargins(18, 18, 18, 14);
  grid->setHorizontalSpacing(18);
  grid->addWidget(Image1, 0, 0, 4, 1, Qt::AlignTop);
  grid->addWidget(lblProductName, 0, 1);
  grid->addWidget(lblCompanyProduct, 1, 1);
  grid->addWidget(lblPlatform, 2, 1);
  grid->addWidget(lblVersion, 3, 1, Qt::AlignTop);
  grid->setRowMinimumHeight(4, 12);
  grid->addWidget(lblCompany, 5, 0, 1, 2);
  grid->addWidget(lblWeb, 6, 0, 1, 2);
  grid->addWidget(lblEmail, 7, 0, 1, 2);
  grid->addWidget(lblCopyright, 8, 0, 1, 2);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(fraMainFrame);

  for (QWidget* w : {static_cast<QWidget*>(fraMainFrame), static_cast<QWidget*>(Image1),
                     static_cast<QWidget*>(lblProductName), static_cast<QWidget*>(lblCompanyProduct),
                     static_cast<QWidget*>(lblPlatform), static_cast<QWidget*>(lblVersion),
                     static_cast<QWidget*>(lblCompany), static_cast<QWidget*>(lblCopyright),
                     static_cast<QWidget*>(lblWeb), static_cast<QWidget*>(lblEmail)})
    w->installEventFilter(this);
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseButtonRelease ||
      static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
    return QDialog::eventFilter(watched, event);
  GuardHandler([&] {
    if (watched == lblWeb || watched == lblEmail) {
      OpenLink(static_cast<QLabel*>(watched)->text());
    } else {
      close();
    }
  });
  return true;
}

void frmSplash::OpenLink(const QString& link) {
  std::string description;
  int number = 0;
  try {
    if (!opener_(link)) {
      description = "No application is associated with this link";
      number = kNoAssociationError;
    }
  } catch (const std::exception& e) {
    description = e.what();
    number = errnum::kInvalidArgument;
  }
  // The window goes first in every case, then the failure is told.
  close();
  if (number == 0) return;
  ShowMessage("Unable to load '" + link.toStdString() + "' : " + description + " (Error " +
                  std::to_string(number) + ")",
              mb::kOk, "Orvale");
}

}  // namespace orvale
