#include "platform/ui/PrinterList.h"

#include <QPrinterInfo>
#include <algorithm>

namespace orvale {

namespace {

class SystemPrinterList final : public PrinterList {
 public:
  std::vector<std::string> Names() const override {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
    return names;
  }
  std::string DefaultName() const override { return QPrinterInfo::defaultPrinterName().toStdString(); }
};

SystemPrinterList g_system;
PrinterList* g_list = nullptr;

}  // namespace

bool PrinterList::Has(const std::string& name) const {
  const std::vector<std::string> names = Names();
  return std::find(names.begin(), names.end(), name) != names.end();
}

void SetPrinterList(PrinterList* list) { g_list = list; }

const PrinterList& CurrentPrinterList() { return g_list != nullptr ? *g_list : g_system; }

ScopedPrinterList::ScopedPrinterList(PrinterList& list) : previous_(g_list) { SetPrinterList(&list); }

ScopedPrinterList::~ScopedPrinterList() { SetPrinterList(previous_); }

}  // namespace orvale
