#include "app/dialogs/frmAverage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <set>
#include <vector>

#include "app/dialogs/DerivedDocuments.h"
#include "app/document/DocumentTable.h"
#include "app/document/clsDocument.h"
#include "platform/ui/HandlerGuard.h"
#include "platform/ui/ScreenTwips.h"

namespace orvale {

namespace {

constexpr std::string_view kSection = "CurrentVersion";
constexpr int kListWidth = 170;
constexpr int kListHeight = 150;

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::int32_t SlotOf(const QListWidgetItem* item) { return item->data(Qt::UserRole).toInt(); }

void Fill(QListWidget& list, const std::vector<ListedDocument>& entries,
          const std::set<std::int32_t>& selected) {
  const QSignalBlocker blocker(list);
  list.clear();
  for (const ListedDocument& entry : entries) {
    auto* item = new QListWidgetItem(Text(entry.Text), &list);
    item->setData(Qt::UserRole, entry.Slot);
    item->setSelected(selected.contains(entry.Slot));
  }
}

std::set<std::int32_t> SelectedSlots(const QListWidget& list) {
  std::set<std::int32_t> documentSlots;
  for (const QListWidgetItem* item : list.selectedItems()) documentSlots.insert(SlotOf(item));
  return documentSlots;
}

}  // namespace

frmAverage::frmAverage(MainFrame& frame, DocumentTable& table, QWidget* owner)
    : ToolWindow(frame, ViewMenuItem::AverageBox, "Average", owner), table_(&table) {
  BuildControls();
  adjustSize();  // its size is known before it is first placed
}

void frmAverage::BuildControls() {
  lstAvailable = new QListWidget(this);
  lstAvailable->setObjectName("lstAvailable");
  lstAverage = new QListWidget(this);
  lstAverage->setObjectName("lstAverage");
  for (QListWidget* list : {lstAvailable, lstAverage}) {
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setFixedSize(kListWidth, kListHeight);
  }
  // The program has no picture files: the arrows are the style's own.
  cmdIn = new QPushButton(style()->standardIcon(QStyle::SP_ArrowRight), "", this);
  cmdIn->setObjectName("cmdIn");
  cmdIn->setToolTip("Include the selected documents");
  cmdOut = new QPushButton(style()->standardIcon(QStyle::SP_ArrowLeft), "", this);
  cmdOut->setObjectName("cmdOut");
  cmdOut->setToolTip("Remove the selected documents");
  cmdAddAll = new QPushButton("Add All", this);
  cmdAddAll->setObjectName("cmdAddAll");
  cmdClearAll = new QPushButton("Clear All", this);
  cmdClearAll->setObjectName("cmdClearAll");
  cmdApply = new QPushButton("Apply", this);
  cmdApply->setObjectName("cmdApply");
  cmdClose = new QPushButton("Close", this);
  cmdClose->setObjectName("cmdClose");

  auto* arrows = new QVBoxLayout;
  arrows->addStretch();
  arrows->addWidget(cmdIn);
  arrows->addWidget(cmdOut);
  arrows->addStretch();

  auto* lists = new QGridLayout;
  auto* lblAvailable = new QLabel("Available For Average", this);
  lblAvailable->setObjectName("lblAvailable");
  auto* lblAverage = new QLabel("Included In Average", this);
  lblAverage->setObjectName("lblAverage");
  lists->addWidget(lblAvailable, 0, 0);
  lists->addWidget(lblAverage, 0, 2);
  lists->addWidget(lstAvailable, 1, 0);
  lists->addLayout(arrows, 1, 1);
  lists->addWidget(lstAverage, 1, 2);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {cmdAddAll, cmdClearAll}) buttons->addWidget(button);
  buttons->addStretch();
  for (QPushButton* button : {cmdApply, cmdClose}) buttons->addWidget(button);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lists);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  const auto on = [this](QPushButton* button, auto handler) {
    connect(button, &QPushButton::clicked, this, [handler] { GuardHandler(handler); });
  };
  on(cmdIn, [this] { IncludeAvailable(true); });
  on(cmdOut, [this] { ExcludeSelected(); });
  on(cmdAddAll, [this] { IncludeAvailable(false); });
  on(cmdClearAll, [this] {
    lists_.ClearIncluded();
    ShowLists();
  });
  on(cmdApply, [this] { AverageDocs(); });
  on(cmdClose, [this] { HideFromView(); });
}

void frmAverage::Load() {
  adjustSize();
  std::int32_t defaultLeft = 0;
  std::int32_t defaultTop = 0;
  if (const QWidget* owner = parentWidget()) {
    const QRect main = owner->frameGeometry();
    const QSize box = OuterSize();
    defaultLeft = PixelsToTwips(main.left() - box.width());
    defaultTop = PixelsToTwips(main.top() - box.height());
  }
  RestorePositionOnScreen(kSection, "AverageLeft", "AverageTop", defaultLeft, defaultTop);
}

void frmAverage::Unload() { SavePosition(kSection, "AverageLeft", "AverageTop"); }

void frmAverage::ShowLists(std::int32_t deselect) {
  std::set<std::int32_t> available = SelectedSlots(*lstAvailable);
  available.erase(deselect);
  Fill(*lstAvailable, lists_.Available(), available);
  Fill(*lstAverage, lists_.Included(), SelectedSlots(*lstAverage));
}

void frmAverage::EnterDocument(std::int32_t slot, const std::string& text) {
  lists_.Enter(slot, text);
  ShowLists();
}

void frmAverage::RemoveDocument(std::int32_t slot) {
  lists_.Remove(slot);
  ShowLists();
}

void frmAverage::AddToAverage(const clsDocument& doc) {
  if (!lists_.Include(doc.ovDocIndex, doc.ImageFileName)) return;
  ShowLists(doc.ovDocIndex);
}

void frmAverage::IncludeAvailable(bool selectedOnly) {
  std::vector<std::int32_t> documentSlots;
  for (int row = 0; row < lstAvailable->count(); ++row) {
    const QListWidgetItem* item = lstAvailable->item(row);
    if (!selectedOnly || item->isSelected()) documentSlots.push_back(SlotOf(item));
  }
  for (const std::int32_t slot : documentSlots)
    if (const clsDocument* doc = ListedDocumentOf(*table_, slot)) AddToAverage(*doc);
}

void frmAverage::ExcludeSelected() {
  std::vector<int> rows;
  for (int row = 0; row < lstAverage->count(); ++row)
    if (lstAverage->item(row)->isSelected()) rows.push_back(row);
  lists_.Exclude(rows);
  ShowLists();
}

clsDocument* frmAverage::AverageDocs() {
  return AverageDocuments(*table_, Frame(), lists_.IncludedSlots(), AverageCounter);
}

}  // namespace orvale
