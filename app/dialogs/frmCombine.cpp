#include "app/dialogs/frmCombine.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/dialogs/DerivedDocuments.h"
#include "platform/ui/HandlerGuard.h"

namespace orvale {

namespace {

constexpr std::string_view kSection = "CurrentVersion";
constexpr std::int32_t kDefaultLeft = 4128;
constexpr std::int32_t kDefaultTop = 2784;
constexpr int kDocumentListChars = 28;

QComboBox* DocumentList(const char* name, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setMinimumContentsLength(kDocumentListChars);
  list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return list;
}

}  // namespace

frmCombine::frmCombine(MainFrame& frame, DocumentTable& table, QWidget* owner)
    : ToolWindow(frame, ViewMenuItem::MathBox, "Math", owner), table_(&table) {
  BuildControls();
  ShowChoices();
  adjustSize();  // its size is known before it is first placed
}

void frmCombine::BuildControls() {
  cboFirstDoc = DocumentList("cboFirstDoc", this);
  cboSecondDoc = DocumentList("cboSecondDoc", this);
  cboOperation = new QComboBox(this);
  cboOperation->setObjectName("cboOperation");
  for (std::string_view operation : kCombineOperations)
    cboOperation->addItem(QString::fromUtf8(operation.data(), static_cast<qsizetype>(operation.size())));
  cmdApply = new QPushButton("Apply", this);
  cmdApply->setObjectName("cmdApply");
  cmdClose = new QPushButton("Close", this);
  cmdClose->setObjectName("cmdClose");

  auto* form = new QFormLayout;
  form->addRow("First Document", cboFirstDoc);
  form->addRow("Second Document", cboSecondDoc);
  form->addRow("Operation", cboOperation);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdApply);
  buttons->addWidget(cmdClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(cboFirstDoc, &QComboBox::currentIndexChanged, this,
          [this](int index) { choices_.SelectFirst(index); });
  connect(cboSecondDoc, &QComboBox::currentIndexChanged, this,
          [this](int index) { choices_.SelectSecond(index); });
  connect(cboOperation, &QComboBox::currentIndexChanged, this,
          [this](int index) { choices_.SelectOperation(index); });
  connect(cmdApply, &QPushButton::clicked, this, [this] { GuardHandler([this] { Combine(); }); });
  connect(cmdClose, &QPushButton::clicked, this, [this] { GuardHandler([this] { HideFromView(); }); });
}

void frmCombine::ShowChoices() {
  // The lists are rebuilt without echoing: a removed selection goes straight to "None".
  for (auto [list, selected] : {std::pair{cboFirstDoc, choices_.First()},
                                std::pair{cboSecondDoc, choices_.Second()}}) {
    const QSignalBlocker blocker(list);
    list->clear();
    for (const ListedDocument& entry : choices_.Entries())
      list->addItem(QString::fromStdString(entry.Text), entry.Slot);
    list->setCurrentIndex(selected);
  }
  const QSignalBlocker blocker(cboOperation);
  cboOperation->setCurrentIndex(choices_.Operation());
}

void frmCombine::Load() {
  choices_.SelectDefaults();
  ShowChoices();
  adjustSize();
  RestorePositionOnScreen(kSection, "CombineLeft", "CombineTop", kDefaultLeft, kDefaultTop);
}

void frmCombine::Unload() { SavePosition(kSection, "CombineLeft", "CombineTop"); }

void frmCombine::EnterDocument(std::int32_t slot, const std::string& text) {
  choices_.Enter(slot, text);
  ShowChoices();
}

void frmCombine::RemoveDocument(std::int32_t slot) {
  choices_.Remove(slot);
  ShowChoices();
}

clsDocument* frmCombine::Combine() {
  return CombineDocuments(*table_, Frame(), choices_.FirstSlot(), choices_.SecondSlot(),
                          choices_.Operation());
}

}  // namespace orvale
