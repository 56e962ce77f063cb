#pragma once
// The main window's hourglass for as long as a piece of work runs, and the default
// pointer again however that work ends.
#include "app/document/DocumentHost.h"

namespace orvale {

class BusyPointerScope {
 public:
  explicit BusyPointerScope(DocumentHost& host) : host_(host) { host_.SetBusyPointer(true); }
  ~BusyPointerScope() { host_.SetBusyPointer(false); }
  BusyPointerScope(const BusyPointerScope&) = delete;
  BusyPointerScope& operator=(const BusyPointerScope&) = delete;

 private:
  DocumentHost& host_;
};

}  // namespace orvale
