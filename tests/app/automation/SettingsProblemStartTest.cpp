// The program started over a settings file it cannot use, with its own services and on
// the private session bus of the automation suite (whose CTest entry runs it): started
// by automation it says so on standard error and shows nothing; started by a user it
// shows a box, and automation is answered while the box is open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/AppState.h"
#include "app/ProgramAutomation.h"
#include "app/Startup.h"
#include "app/frame/frmMain.h"
#include "app/automation/AutomationServer.h"
#include "platform/registry/IniSettingsStore.h"
#include "platform/runtime/TextOutput.h"
#include "tests/support/TempConfigHome.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

constexpr int kHangBoundMs = 60000;  // only a hang takes that long

// Runs the program's events until `done`; false when the bound passed first.
bool RunEventsUntil(const std::function<bool()>& done) {
  QDeadlineTimer deadline(kHangBoundMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// Every message box the program shows, as it shows it; a modal one is closed at once,
// since nobody is there to answer it and it would hold the test.
class ShownBoxes final : public QObject {
 public:
  struct Shown {
    QPointer<QMessageBox> box;
    std::string text;
    bool modal;
  };
  ShownBoxes() { qApp->installEventFilter(this); }
  ~ShownBoxes() override { qApp->removeEventFilter(this); }
  const std::vector<Shown>& Boxes() const { return shown_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (box != nullptr && event->type() == QEvent::Show) {
      const bool modal = box->isModal() || box->windowModality() != Qt::NonModal;
      shown_.push_back({box, box->text().toStdString(), modal});
      if (modal) QMetaObject::invokeMethod(box, &QMessageBox::close, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  std::vector<Shown> shown_;
};

// A settings file the program cannot use, made at `file` (its folder exists; false when
// this machine cannot make it); or a disk that is full for the program's writes (this
// process's only).
struct UnusableFile {
  const char* name;
  std::function<bool(const fs::path& file)> make;
  bool diskFull = false;
};

// Sets or clears the file's immutable attribute (chattr +i); false when it cannot.
bool SetImmutable(const fs::path& file, bool immutable) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
  done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  ::close(fd);
  return done;
}

bool MakeSocket(const fs::path& file) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (file.string().size() >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, file.c_str(), file.string().size());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  if (fd >= 0) ::close(fd);
  return bound;
}

const UnusableFile kUnusableFiles[] = {
    {"an immutable file",
     [](const fs::path& file) {
       std::ofstream(file) << "[CurrentVersion]\r\n";
       return SetImmutable(file, true);
     }},
    {"a folder", [](const fs::path& file) { return fs::create_directory(file); }},
    {"a FIFO", [](const fs::path& file) { return ::mkfifo(file.c_str(), 0644) == 0; }},
    {"a socket", MakeSocket},
    {"a file larger than any settings file",
     [](const fs::path& file) {
       std::ofstream(file) << "[CurrentVersion]\r\nMainLeft=10\r\n";
       fs::resize_file(file, 17 << 20);
       return true;
     }},
    {"a link to /dev/zero",
     [](const fs::path& file) {
       fs::create_symlink("/dev/zero", file);
       return true;
     }},
    {"a file where its folder should be",
     [](const fs::path& file) {
       fs::remove(file.parent_path());
       std::ofstream(file.parent_path()) << "not a folder";
       return true;
     }},
    {"a full disk", [](const fs::path&) { return true; }, true},
};

// A fresh configuration folder holding the case's settings file, while it lives.
class UnusableSettings {
 public:
  explicit UnusableSettings(const UnusableFile& unusable) {
    fs::create_directories(file_.parent_path());
    made_ = unusable.make(file_);
    if (unusable.diskFull) fullDisk_ = std::make_unique<AtomicWriteFailure>(AtomicWriteFailure::At::Write);
    if (!made_) std::printf("(%s cannot be made here: not tried)\n", unusable.name);
  }
  ~UnusableSettings() {
    std::error_code error;
    if (fs::is_regular_file(fs::symlink_status(file_, error))) SetImmutable(file_, false);  // so it can go
  }
  UnusableSettings(const UnusableSettings&) = delete;
  UnusableSettings& operator=(const UnusableSettings&) = delete;
  bool Made() const { return made_; }

 private:
  testing::TempConfigHome home_;
  fs::path file_ = DefaultSettingsFile();
  bool made_ = false;
  std::unique_ptr<AtomicWriteFailure> fullDisk_;
};

class SettingsProblemStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (qEnvironmentVariable("ORVALE_TEST_PRIVATE_BUS") != QLatin1String("1"))
      GTEST_SKIP() << "runs on the private bus of its CTest entry only";
  }

  // Starts the program as `orvale <arguments>` with the program's own services.
  static bool Start(AppState& app, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "orvale");
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    return RunStartup(app, static_cast<int>(arguments.size()), argv.data());
  }

  // An object made by the program's factory for a client on a bus connection of its
  // own, on a thread, while this thread runs the program's events; the reply.
  static QDBusMessage CallFromAClient() {
    QDBusMessage reply;
    std::atomic<bool> answered{false};
    std::thread client([&] {
      const QString name = QStringLiteral("settings-problem-client");
      {
        QDBusConnection connection = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        reply = connection.call(
            QDBusMessage::createMethodCall(QLatin1String(AutomationServer::kServiceName),
                                           QLatin1String(AutomationServer::kFactoryPath),
                                           QStringLiteral("com.halvern.Orvale.Factory"),
                                           QStringLiteral("CreateOrvaleDoc")),
            QDBus::Block, kHangBoundMs);
      }
      QDBusConnection::disconnectFromBus(name);
      answered = true;
    });
    RunEventsUntil([&] { return answered.load(); });  // the call's own bound ends it
    client.join();
    return reply;
  }
};

TEST_F(SettingsProblemStartTest, StartedByAutomationItSaysSoOnStandardErrorAndAnswers) {
  for (const UnusableFile& unusable : kUnusableFiles) {
    SCOPED_TRACE(unusable.name);
    const UnusableSettings settings(unusable);
    if (!settings.Made()) continue;
    ShownBoxes boxes;
    ::testing::internal::CaptureStderr();
    AppState app;
    const bool started = Start(app, {"-Embedding"});
    const QDBusMessage reply = started ? CallFromAClient() : QDBusMessage();
    const std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(started);
    EXPECT_NE(app.Automation, nullptr);
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_NE(said.find("settings changed now last until the program ends"), std::string::npos) << said;
    EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes().front().text;
  }
}

// The program itself, as D-Bus activation starts it.
TEST_F(SettingsProblemStartTest, TheProgramStartedForAutomationServesTheBus) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  const QString service = QLatin1String(AutomationServer::kServiceName);
  for (const UnusableFile& unusable : kUnusableFiles) {
    if (unusable.diskFull) continue;  // a fault of this process only
    SCOPED_TRACE(unusable.name);
    const UnusableSettings settings(unusable);
    if (!settings.Made()) continue;
    QProcess program;
    program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    program.start(QStringLiteral(ORVALE_PROGRAM), {QStringLiteral("-Embedding")});
    ASSERT_TRUE(program.waitForStarted(kHangBoundMs));
    // Only once it owns the name: a call before would have the bus start another copy.
    QDeadlineTimer deadline(kHangBoundMs);
    while (bus.interface()->servicePid(service).value() != static_cast<uint>(program.processId()) &&
           program.state() == QProcess::Running && !deadline.hasExpired())
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(bus.interface()->servicePid(service).value(), static_cast<uint>(program.processId()))
        << "the program did not serve the bus";
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(service, QLatin1String(AutomationServer::kFactoryPath),
                                       QStringLiteral("com.halvern.Orvale.Factory"), QStringLiteral("CreateOrvaleDoc")),
        QDBus::Block, kHangBoundMs);
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    program.terminate();
    program.waitForFinished(kHangBoundMs);
    // The name is free again before the next case, or test, starts a program.
    QDeadlineTimer gone(kHangBoundMs);
    while (bus.interface()->isServiceRegistered(service).value() && !gone.hasExpired())
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::string said = program.readAllStandardError().toStdString();
    EXPECT_NE(said.find("settings changed now last until the program ends"), std::string::npos) << said;
  }
}

TEST_F(SettingsProblemStartTest, StartedByAUserItShowsABoxThatHoldsNoAutomationCall) {
  for (const UnusableFile& unusable : kUnusableFiles) {
    SCOPED_TRACE(unusable.name);
    const UnusableSettings settings(unusable);
    if (!settings.Made()) continue;
    ShownBoxes boxes;
    AppState app;
    ASSERT_TRUE(Start(app, {}));
    EXPECT_NE(app.Automation, nullptr);
    // The box comes from the event loop, once the start has ended.
    ASSERT_TRUE(RunEventsUntil([&] { return !boxes.Boxes().empty(); }));
    const ShownBoxes::Shown report = boxes.Boxes().front();
    EXPECT_EQ(report.text.rfind("The settings file cannot be used: ", 0), 0u) << report.text;
    EXPECT_FALSE(report.modal);

    const QDBusMessage reply = CallFromAClient();
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    ASSERT_FALSE(report.box.isNull());
    EXPECT_TRUE(report.box->isVisible());
    // Above the main window, not left behind it where the start put it first.
    EXPECT_EQ(report.box->parentWidget(), static_cast<QWidget*>(app.FormMain.get()));
    EXPECT_EQ(boxes.Boxes().size(), 1u);
  }
}

}  // namespace
}  // namespace orvale
