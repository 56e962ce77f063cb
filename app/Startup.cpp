#include "app/Startup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/AppState.h"
#include "app/ProgramAutomation.h"
#include "app/automation/AutomationCall.h"
#include "app/dialogs/GrabberSelection.h"
#include "app/document/LineWidth.h"
#include "app/document/OpenFiles.h"
#include "app/document/SaveCommands.h"
#include "app/document/DocumentSaveService.h"
#include "app/frame/OrvaleLogo.h"
#include "app/frame/frmInput.h"
#include "app/frame/frmMain.h"
#include "app/frame/frmSplash.h"
#include "platform/registry/IniSettingsStore.h"
#include "platform/registry/SettingsBatch.h"
#include "platform/registry/SettingsStore.h"
#include "platform/ui/FontChooser.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtFileDialogService.h"
#include "platform/ui/QtPrintDialogService.h"
#include "platform/ui/QtMessageService.h"
#include "platform/ui/WindowFrame.h"

namespace orvale {

namespace {

// How long the start waits for the window manager to frame the main window: it takes a
// few milliseconds; without a window manager there is no frame to wait for.
constexpr std::chrono::milliseconds kFrameWait{250};

// The screen the default result-window layout is made for.
ScreenGeometry PrimaryScreenGeometry() {
  ScreenGeometry geometry;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize size = screen != nullptr ? screen->size() : QSize(1024, 768);
  geometry.Width = size.width();
  geometry.Height = size.height();
  const QStyle* style = QApplication::style();
  geometry.FrameThickness = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
  geometry.CaptionHeight = style->pixelMetric(QStyle::PM_TitleBarHeight);
  return geometry;
}

// The first time the settings file cannot be used, the user is told once; the program
// goes on with its settings in memory. A file nobody may write was made read-only on
// purpose, and a program started by automation has nobody to answer: then it is only
// noted on standard error.
void ReportSettingsProblem(const RunError& problem, bool readOnlyOnPurpose, bool unattended) {
  if (readOnlyOnPurpose || unattended) {
    std::fprintf(stderr, "orvale: %s; settings changed now last until the program ends.\n",
                 problem.Description.c_str());
    std::fflush(stderr);
    return;
  }
  const std::string text = "The settings file cannot be used: " + problem.Description +
                           "\n\nOrvale goes on with its settings in memory; the ones changed now "
                           "last until it ends, and the file is left as it is.";
  // Shown from the event loop: the failure may come in the middle of anything. A notice
  // holds up neither the start nor an automation call.
  if (QCoreApplication::instance() != nullptr) {
    QTimer::singleShot(0, QCoreApplication::instance(),
                       [text] { ShowNotice(text, mb::kOk | mb::kIconExclamation, "Warning"); });
  }
}

bool Start(AppState& app, ProgramServices* services, int argc, char** argv,
           const std::filesystem::path& programFolder,
           std::optional<QDBusConnection> automationBus) {
  const int scrollBar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  app.ScrollBarWidth = scrollBar;
  app.ScrollBarHeight = scrollBar;
  SetLineWidthForDevice(nullptr);
  QApplication::setWindowIcon(OrvaleIcon());
  // The start reads a few hundred settings: one reading of the settings file serves them.
  const ScopedSettingsReadBatch settingsReads;
  const CommandLine commandLine = ParseCommandLine(ProgramArguments(argc, argv));
  // Started for automation, nobody is there to answer a box: the start's messages are
  // answered as an automation call's are, on standard error, so that a client's call
  // does not wait for them; so are the settings file's problems for the whole run.
  if (services != nullptr) services->SetUnattended(commandLine.Embedding);
  std::optional<AutomationCall> unattended;
  if (commandLine.Embedding) unattended.emplace();
  QtStartupSteps steps(app, services, programFolder, std::move(automationBus));
  return RunStartupSequence(steps, commandLine);
}

}  // namespace

struct ProgramServices::Installed {
  explicit Installed(const std::filesystem::path& file) : settings(file) {
    settings.SetProblemReport([this](const RunError& problem, bool readOnlyOnPurpose) {
      ReportSettingsProblem(problem, readOnlyOnPurpose, unattended);
    });
  }
  bool unattended = false;
  IniSettingsStore settings;
  QtMessageService messages;
  QtFileDialogService fileDialogs;
  QtFontDialogService fontDialogs;
  QtPrintDialogService printDialogs;
};

ProgramServices::ProgramServices(const std::filesystem::path& settingsFile)
    : installed_(std::make_unique<Installed>(settingsFile)) {
  SetSettingsStore(&installed_->settings);
  SetMessageService(&installed_->messages);
  SetFileDialogService(&installed_->fileDialogs);
  SetFontDialogService(&installed_->fontDialogs);
  SetPrintDialogService(&installed_->printDialogs);
  SetDocumentSaveService(&FileSaveCommands());
}

ProgramServices::~ProgramServices() {
  SetDocumentSaveService(nullptr);
  SetFontDialogService(nullptr);
  SetPrintDialogService(nullptr);
  SetFileDialogService(nullptr);
  SetMessageService(nullptr);
  SetSettingsStore(nullptr);
}

void ProgramServices::SetMainWindow(QWidget* frame) { installed_->messages.SetMainWindow(frame); }

void ProgramServices::SetUnattended(bool unattended) { installed_->unattended = unattended; }

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i)
    if (argv[i] != nullptr) arguments.emplace_back(argv[i]);
  return arguments;
}

QtStartupSteps::QtStartupSteps(AppState& app, ProgramServices* services,
                               std::filesystem::path programFolder,
                               std::optional<QDBusConnection> automationBus)
    : app_(app), services_(services), programFolder_(std::move(programFolder)),
      automationBus_(std::move(automationBus)) {}

QtStartupSteps::~QtStartupSteps() {
  if (splash_) delete splash_.data();
}

void QtStartupSteps::CreateWindows() {
  CreateMainWindows(app_);
  if (services_ != nullptr) services_->SetMainWindow(app_.FormMain.get());
}

void QtStartupSteps::ShowSplash() {
  splash_ = new frmSplash(frmSplash::Mode::Splash, nullptr);
  splash_->show();
  QCoreApplication::processEvents();
}

void QtStartupSteps::FindGrabbers() {
  const std::filesystem::path folder =
      programFolder_.empty() ? std::filesystem::path(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString())
                             : programFolder_;
  FindGrabberPlugins(app_.Grabber, folder);
}

void QtStartupSteps::ReadSettings() {
  app_.Screen = PrimaryScreenGeometry();
  app_.Settings = ReadGeneralSettings(app_.Screen);
}

void QtStartupSteps::LoadFrame() { app_.FormMain->Load(); }

void QtStartupSteps::ShowFrame() {
  app_.FormMain->show();
  // The tool windows' default places lie beside the frame, title bar and borders included.
  AwaitWindowFrame(*app_.FormMain, kFrameWait);
  LoadToolWindows(app_.Tools);
  app_.FormMain->ShowToolWindowsByChecks();
}

void QtStartupSteps::CloseSplash() {
  // The user may have closed it with a click already.
  if (splash_) splash_->close();
}

void QtStartupSteps::SelectGrabber() { SelectStartupGrabber(app_.Grabber, app_.Settings.GrabberName); }

void QtStartupSteps::ResetFrameStates() {
  app_.FormMain->SetMenuItems(false);
  app_.FormMain->SetToolBarItems(false);
}

void QtStartupSteps::OpenFile(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  const std::string names[] = {error ? path : absolute.string()};
  OpenFiles(*app_.Documents, *app_.RecentFiles, names, false);
}

void QtStartupSteps::StartAutomation(bool /*embedding*/) {
  if (!automationBus_) return;
  app_.Automation = std::make_unique<ProgramAutomation>(app_, *automationBus_);
  if (!app_.Automation->Start()) app_.Automation.reset();
}

bool RunStartup(AppState& app, int argc, char** argv) {
  app.Services = std::make_unique<ProgramServices>(DefaultSettingsFile());
  return Start(app, app.Services.get(), argc, argv, {}, QDBusConnection::sessionBus());
}

bool RunStartupWithInstalledServices(AppState& app, int argc, char** argv,
                                     const std::filesystem::path& programFolder,
                                     std::optional<QDBusConnection> automationBus) {
  return Start(app, nullptr, argc, argv, programFolder, std::move(automationBus));
}

}  // namespace orvale
