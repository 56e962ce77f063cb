#pragma once
// A widget named by an address a caller passed across a C boundary, where the address
// may be stale, name some other object or come from another thread.
class QWidget;

namespace orvale {

// Whether widgets may be used here: a QApplication exists and this is its thread.
bool OnWidgetThread();

// The widget `handle` names, found by address among the application's widgets without
// reading through the pointer; null when it names none or when !OnWidgetThread().
QWidget* LiveWidget(const void* handle);

}  // namespace orvale
