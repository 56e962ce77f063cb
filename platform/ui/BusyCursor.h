#pragma once
// The hourglass over the whole program while a scope runs (QApplication's override
// cursor). Without a GUI application it does nothing, so plain tests can run the code.
namespace orvale {

class ScopedBusyCursor {
 public:
  ScopedBusyCursor();
  ~ScopedBusyCursor();
  ScopedBusyCursor(const ScopedBusyCursor&) = delete;
  ScopedBusyCursor& operator=(const ScopedBusyCursor&) = delete;

 private:
  bool shown_;
};

}  // namespace orvale
