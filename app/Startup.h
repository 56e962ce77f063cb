#pragma once
// The program's start: the services it installs for its whole run, then the start-up
// order of StartupSequence.h over the real windows.
#include <QDBusConnection>
#include <QPointer>
#include <filesystem>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "app/StartupSequence.h"
#include "app/frame/frmSplash.h"

namespace orvale {

struct AppState;

// The settings file, Qt message boxes, file, font and print dialogs, and the file commands
// behind the documents' save prompts; installed while the object lives.
class ProgramServices {
 public:
  explicit ProgramServices(const std::filesystem::path& settingsFile);
  ~ProgramServices();
  ProgramServices(const ProgramServices&) = delete;
  ProgramServices& operator=(const ProgramServices&) = delete;

  // Message boxes addressed to the main window are owned by `frame` from now on.
  void SetMainWindow(QWidget* frame);
  // For a program started by automation: nobody is there to answer a box, so a problem
  // with the settings file is told on standard error.
  void SetUnattended(bool unattended);

 private:
  struct Installed;
  std::unique_ptr<Installed> installed_;
};

// The arguments after the program's name, as raw bytes (the window system's own
// options have already been taken out by QApplication).
std::vector<std::string> ProgramArguments(int argc, char** argv);

// The start-up steps over the real windows of `app`.
class QtStartupSteps : public StartupSteps {
 public:
  // `services` (may be null: the caller installed its own) learns the main window.
  // Grabber plug-ins are looked for in `programFolder` (empty: the program's folder).
  // The automation server serves `automationBus`; without one there is none.
  QtStartupSteps(AppState& app, ProgramServices* services, std::filesystem::path programFolder = {},
                 std::optional<QDBusConnection> automationBus = {});
  ~QtStartupSteps() override;

  void CreateWindows() override;
  void ShowSplash() override;
  void FindGrabbers() override;
  void ReadSettings() override;
  void LoadFrame() override;
  void ShowFrame() override;
  void CloseSplash() override;
  void SelectGrabber() override;
  void ResetFrameStates() override;
  // Opens the path, made absolute first so that the recent-file list keeps a path
  // that still works when the program starts from another folder.
  void OpenFile(const std::string& path) override;
  // Serves the automation bus; when that fails the program runs without automation.
  void StartAutomation(bool embedding) override;

  frmSplash* Splash() const { return splash_; }

 private:
  AppState& app_;
  ProgramServices* services_;
  std::filesystem::path programFolder_;
  std::optional<QDBusConnection> automationBus_;
  QPointer<frmSplash> splash_;
};

// Installs the program's services (kept in `app`) and starts: false when the windows
// could not be created (reported). The frame is shown, the command line's file open
// and automation served on the session bus when it returns true.
bool RunStartup(AppState& app, int argc, char** argv);

// The same over services the caller has installed (tests, benchmarks); grabber
// plug-ins are looked for in `programFolder` when it is given. Automation is served
// only on an `automationBus` the caller gives, never on the session bus by itself.
bool RunStartupWithInstalledServices(AppState& app, int argc, char** argv,
                                     const std::filesystem::path& programFolder = {},
                                     std::optional<QDBusConnection> automationBus = {});

}  // namespace orvale
