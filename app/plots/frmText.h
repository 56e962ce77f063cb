#pragma once
// The text windows of a document: the aberrations (view code 7), the Zernike
// coefficients (8) and the grid results (9). The client area is one read-only text box,
// txtOutput, showing the view's report in the document's screen font with the report's
// tab stops. The text can be scrolled, selected and copied, never edited.
#include <QPlainTextEdit>
#include <cstdint>
#include <string>

#include "app/plots/DocumentSubWindow.h"
#include "app/plots/ResultViewModels.h"
#include "platform/gdi/DeviceContext.h"

namespace orvale {

class frmText final : public DocumentSubWindow {
 public:
  // `view` holds the report and outlives the window's use.
  frmText(MainFrame& frame, clsDocument& doc, TextViewModel& view);

  TextViewModel& View;
  QPlainTextEdit* const txtOutput;
  // The window's help topic: 25 aberrations, 26 Zernikes, 56 grid results.
  const std::int32_t HelpContextID;

  // The text box takes the view's text, font and tab stops.
  void UpdateTextBox();
  // Prints the report inside the rectangle (inclusive edges, device units) of `DC` in
  // the document's printer text style.
  void PrintTextBox(gdi::DeviceContext& DC, std::int32_t left, std::int32_t top, std::int32_t right,
                    std::int32_t bottom);
  // The text box's whole text and its selection, lines ended by CR LF.
  std::string Text() const;
  std::string SelectedText() const;

 protected:
  // Passes only the keys that move through the text and copy it.
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace orvale
