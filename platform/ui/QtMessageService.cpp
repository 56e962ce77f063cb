#include "platform/ui/QtMessageService.h"

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <utility>
#include <vector>

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

// While a box with an owner is the program's modal window, a window of its owner that
// gets the activation hands it on to the box. Qt on X11 means to do so, but when the
// focus leaves one of the owner's other windows (a tool window closed from its title
// bar, or clicked while the box is open) it activates the owner instead: the box then
// shows inactive and Return does nothing.
void KeepActivationInBox(QMessageBox& box) {
  if (qGuiApp == nullptr) return;
  QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &box, [&box](QWindow*) {
    // After the activation in progress has settled.
    QTimer::singleShot(0, &box, [&box] {
      const QWindow* focus = QGuiApplication::focusWindow();
      const QWindow* self = box.windowHandle();
      const QWidget* owner = box.parentWidget();
      if (focus == nullptr || self == nullptr || owner == nullptr || !box.isVisible() ||
          QApplication::activeModalWidget() != &box)
        return;
      const QWindow* ownerWindow = owner->window()->windowHandle();
      const bool ownersWindow =
          ownerWindow != nullptr && (focus == ownerWindow || ownerWindow->isAncestorOf(focus, QWindow::IncludeTransients));
      if (ownersWindow && focus != self && !self->isAncestorOf(focus, QWindow::IncludeTransients)) box.activateWindow();
    });
  });
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
  KeepActivationInBox(*box);
  return box;
}

int AnswerOf(QMessageBox::StandardButton button) {
  for (const auto& pair : kButtonAnswers)
    if (pair.Button == button) return pair.Answer;
  return 0;
}

namespace {

void ShowNoticeBox(QWidget* owner, const std::string& text, const std::string& title,
                   std::uint32_t flags) {
  QMessageBox* box = BuildMessageBox(owner, text, title, flags).release();
  box->setWindowModality(Qt::NonModal);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->show();
}

}  // namespace

// Notices for the main window given before it is shown: shown, above it, once it is.
class QtMessageService::HeldNotices final : public QObject {
 public:
  struct Notice {
    std::string Text;
    std::string Title;
    std::uint32_t Flags;
  };

  void Hold(Notice notice) { held_.push_back(std::move(notice)); }

  void Watch(QWidget* window) {
    if (window_ != nullptr) window_->removeEventFilter(this);
    window_ = window;
    if (window_ != nullptr) window_->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::Show && !held_.empty()) {
      // After the show itself, so that the window is there to stay above.
      QTimer::singleShot(0, this, [this] { ShowHeld(); });
    }
    return false;
  }

 private:
  void ShowHeld() {
    const std::vector<Notice> notices = std::exchange(held_, {});
    for (const Notice& n : notices) ShowNoticeBox(window_.data(), n.Text, n.Title, n.Flags);
  }

  QPointer<QWidget> window_;
  std::vector<Notice> held_;
};

QtMessageService::QtMessageService() : held_(std::make_unique<HeldNotices>()) {}

QtMessageService::~QtMessageService() = default;

void QtMessageService::SetMainWindow(QWidget* mainWindow) {
  mainWindow_ = mainWindow;
  held_->Watch(mainWindow);
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

void QtMessageService::Notice(WindowHandle owner, const std::string& text, const std::string& title,
                              std::uint32_t flags) {
  QWidget* shownOver = OwnerWidget(owner);
  if (owner == kMainWindowOwner && (shownOver == nullptr || !shownOver->isVisible())) {
    held_->Hold({text, title, flags});
    return;
  }
  ShowNoticeBox(shownOver, text, title, flags);
}

}  // namespace orvale
