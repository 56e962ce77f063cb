#pragma once
// The splash window shown while the program starts, and the same window as the About
// box of the Help menu. Esc or a click anywhere on it closes it; the web and mail
// labels open their link instead.
#include <QDialog>
#include <QString>
#include <functional>

class QFrame;
class QLabel;

namespace orvale {

class frmSplash : public QDialog {
 public:
  enum class Mode {
    Splash,  // frameless and modeless, shown by start-up
    About,   // modal, owned by the main window
  };
  // Hands a link to the desktop; false when nothing could open it.
  using LinkOpener = std::function<bool(const QString& link)>;

  frmSplash(Mode mode, QWidget* owner);

  // Replaces the desktop's opener (tests install a fake one).
  void SetLinkOpener(LinkOpener opener) { opener_ = std::move(opener); }

  QFrame* fraMainFrame = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* lblProductName = nullptr;
  QLabel* lblCompanyProduct = nullptr;
  QLabel* lblPlatform = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblCompany = nullptr;
  QLabel* lblCopyright = nullptr;
  QLabel* lblWeb = nullptr;
  QLabel* lblEmail = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OpenLink(const QString& link);
  LinkOpener opener_;
};

}  // namespace orvale
