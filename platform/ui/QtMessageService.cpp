#include "platform/ui/QtMessageService.h"

#include <QPushButton>

namespace orvale {

namespace {

struct ButtonAnswer {
  QMessageBox::StandardButton Button;
  int Answer;
};

constexpr ButtonAnswer kButtonAnswers[] = {
    {QMessageBox::Ok, idbutton::kOk},         {QMessageBox::Cancel, idbutton::kCancel},
    {QMessageBox::Abort, idbutton::kAbort},   {QMessageBox::Retry, idbutton::kRetry},
    {QMessageBox::Ignore, idbutton::kIgnore}, {QMessageBox::Yes, idbutton::kYes},
    {QMessageBox::No, idbutton::kNo},
};

QMessageBox::StandardButton ButtonFor(int answer) {
  for (const auto& pair : kButtonAnswers)
    if (pair.Answer == answer) return pair.Button;
  return QMessageBox::NoButton;
}

QMessageBox::StandardButtons ButtonsFor(std::uint32_t flags) {
  switch (flags & mb::kButtonsMask) {
    case mb::kOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case mb::kAbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case mb::kYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case mb::kYesNo: return QMessageBox::Yes | QMessageBox::No;
    case mb::kRetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    default: return QMessageBox::Ok;  // kOk, and any style without buttons of its own
  }
}

QMessageBox::Icon IconFor(std::uint32_t flags) {
  switch (flags & mb::kIconMask) {
    case mb::kIconStop: return QMessageBox::Critical;
    case mb::kIconQuestion: return QMessageBox::Question;
    case mb::kIconExclamation: return QMessageBox::Warning;
    case mb::kIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

WindowHandle HandleOf(QWidget* widget) { return reinterpret_cast<WindowHandle>(widget); }

std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* owner, const std::string& text,
                                             const std::string& title, std::uint32_t flags) {
  auto box = std::make_unique<QMessageBox>(IconFor(flags), QString::fromStdString(title),
                                           QString::fromStdString(text), ButtonsFor(flags), owner);
  box->setDefaultButton(ButtonFor(DefaultButton(flags)));
  // A task-modal box, or one without an owner, blocks the whole program; otherwise only
  // its owner's window.
  box->setWindowModality(owner && !(flags & mb::kTaskModal) ? Qt::WindowModal
                                                            : Qt::ApplicationModal);
  return box;
}

int AnswerOf(QMessageBox::StandardButton button) {
  for (const auto& pair : kButtonAnswers)
    if (pair.Button == button) return pair.Answer;
  return 0;
}

QWidget* QtMessageService::OwnerWidget(WindowHandle owner) const {
  if (owner == kMainWindowOwner) return mainWindow_.data();
  return reinterpret_cast<QWidget*>(owner);
}

int QtMessageService::MessageBox(WindowHandle owner, const std::string& text,
                                 const std::string& title, std::uint32_t flags) {
  auto box = BuildMessageBox(OwnerWidget(owner), text, title, flags);
  const QPointer<QMessageBox> alive(box.get());
  box->exec();
  if (!alive) {  // its owner was destroyed meanwhile, and the box with it
    box.release();
    return DefaultButton(flags);
  }
  const int answer = AnswerOf(box->standardButton(box->clickedButton()));
  return answer ? answer : DefaultButton(flags);
}

}  // namespace orvale
