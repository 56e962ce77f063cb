#pragma once
// The printers the system offers, and which of them is its default. The program asks the
// system (CUPS, through Qt); tests install a fixed list, so that the machine's own
// printers never count.
#include <string>
#include <vector>

namespace orvale {

class PrinterList {
 public:
  virtual ~PrinterList() = default;
  virtual std::vector<std::string> Names() const = 0;
  // The default printer's name; empty when none is set, as a system with printers may
  // have it.
  virtual std::string DefaultName() const = 0;
  bool Has(const std::string& name) const;
};

// Installs `list` for the whole program (nullptr restores the system's). The caller
// keeps ownership.
void SetPrinterList(PrinterList* list);
const PrinterList& CurrentPrinterList();

class FixedPrinterList final : public PrinterList {
 public:
  FixedPrinterList(std::vector<std::string> names, std::string defaultName)
      : names_(std::move(names)), default_(std::move(defaultName)) {}
  std::vector<std::string> Names() const override { return names_; }
  std::string DefaultName() const override { return default_; }

 private:
  std::vector<std::string> names_;
  std::string default_;
};

// Installs a list for the lifetime of a scope and restores the previous one.
class ScopedPrinterList {
 public:
  explicit ScopedPrinterList(PrinterList& list);
  ~ScopedPrinterList();
  ScopedPrinterList(const ScopedPrinterList&) = delete;
  ScopedPrinterList& operator=(const ScopedPrinterList&) = delete;

 private:
  PrinterList* previous_;
};

}  // namespace orvale
