// The program's entry: the Qt application, the start-up, then the main window's events
// until it closes.
#include <QApplication>
#include <exception>
#include <string>

#include "app/AppState.h"
#include "app/Startup.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtMessageService.h"

namespace {

// A failed start ends the program with its description; no setting has been written.
int ReportFailedStart(const std::string& description) {
  orvale::QtMessageService messages;
  orvale::ScopedMessageService installed(messages);
  orvale::ShowMessage(description, orvale::mb::kOk | orvale::mb::kIconStop, "Error", 0);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  try {
    orvale::AppState app;
    if (!orvale::RunStartup(app, argc, argv)) return 1;
    return QApplication::exec();
  } catch (const std::exception& e) {
    return ReportFailedStart(e.what());
  } catch (...) {
    return ReportFailedStart("Unknown error");
  }
}
