#include "app/plots/frmText.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextOption>

#include "app/document/DocumentViews.h"
#include "app/document/clsDocument.h"
#include "app/plots/TextPrinting.h"
#include "platform/runtime/FaceName.h"
#include "platform/ui/HandlerGuard.h"

namespace orvale {

namespace {

std::int32_t HelpTopicOf(std::int32_t formType) {
  switch (formType) {
    case viewtype::kAberrations:
      return 25;
    case viewtype::kZernikes:
      return 26;
    default:
      return 56;
  }
}

// The reports end their lines with CR LF; the text box keeps one line break.
QString ToBoxText(const std::string& text) {
  QString box = QString::fromStdString(text);
  box.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return box;
}

std::string FromBoxText(QString text) {
  text.replace(QChar::ParagraphSeparator, QChar('\n'));
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return text.toStdString();
}

QFont ScreenFont(const FontSpec& spec, const QFont& base) {
  QFont font = base;
  const std::string_view face = TrimFaceName(spec.facename);
  if (!face.empty())
    font.setFamily(QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())));
  if (spec.Size > 0) font.setPointSize(spec.Size);
  font.setBold(spec.Bold);
  font.setItalic(spec.Italic);
  font.setUnderline(spec.Underline);
  return font;
}

// What the text box lets through: moving the caret and the view, help, and copying.
bool KeyPasses(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_F1:
      return true;
    case Qt::Key_C:
      return key.modifiers().testFlag(Qt::ControlModifier);
    default:
      return false;
  }
}

}  // namespace

frmText::frmText(MainFrame& frame, clsDocument& doc, TextViewModel& view)
    : DocumentSubWindow(frame, doc, view.FormType, new QPlainTextEdit),
      View(view),
      txtOutput(static_cast<QPlainTextEdit*>(widget())),
      HelpContextID(HelpTopicOf(view.FormType)) {
  txtOutput->setReadOnly(true);
  txtOutput->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  txtOutput->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtOutput->setAcceptDrops(false);
  txtOutput->viewport()->setAcceptDrops(false);
  txtOutput->installEventFilter(this);
  UpdateTextBox();
}

void frmText::UpdateTextBox() {
  if (parentDoc == nullptr) return;
  const QFont font = ScreenFont(View.Font, txtOutput->font());
  txtOutput->setFont(font);
  QPalette palette = txtOutput->palette();
  palette.setColor(QPalette::Text,
                   QColor(gdi::GetRValue(View.Font.colour), gdi::GetGValue(View.Font.colour),
                          gdi::GetBValue(View.Font.colour)));
  txtOutput->setPalette(palette);
  // Tab stops come in dialog units: a quarter of the font's average character width.
  const double unit = QFontMetricsF(font).averageCharWidth() / 4.0;
  QList<QTextOption::Tab> tabs;
  for (const std::int32_t stop : View.TabStops)
    tabs.append(QTextOption::Tab(stop * unit, QTextOption::LeftTab));
  QTextOption option = txtOutput->document()->defaultTextOption();
  option.setTabs(tabs);
  txtOutput->document()->setDefaultTextOption(option);
  txtOutput->setPlainText(ToBoxText(View.Text));
}

void frmText::PrintTextBox(gdi::DeviceContext& DC, std::int32_t left, std::int32_t top,
                           std::int32_t right, std::int32_t bottom) {
  if (parentDoc == nullptr) return;
  orvale::PrintTextBox(View, *parentDoc, DC, left, top, right, bottom);
}

std::string frmText::Text() const { return FromBoxText(txtOutput->toPlainText()); }

std::string frmText::SelectedText() const {
  return FromBoxText(txtOutput->textCursor().selectedText());
}

bool frmText::eventFilter(QObject* watched, QEvent* event) {
  // Dropping a key press is enough: the box cannot be edited in any other way.
  if (watched == txtOutput && event->type() == QEvent::KeyPress &&
      !KeyPasses(static_cast<const QKeyEvent&>(*event))) {
    return true;
  }
  return DocumentSubWindow::eventFilter(watched, event);
}

}  // namespace orvale
