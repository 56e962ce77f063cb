// The automation server of the real program on a private session bus (the suite's CTest
// entry runs it under dbus-run-session): real clients, each on a bus connection of its
// own on a thread of the test, call the program, which runs its events on the test's
// main thread. One case starts no program itself: its first call has D-Bus start the
// program with -Embedding.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusReply>
#include <QDBusSignature>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <QXmlStreamReader>
#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <sstream>
#include <thread>

#include "app/AppState.h"
#include "app/ProgramAutomation.h"
#include "app/Startup.h"
#include "app/automation/OrvaleDocInterface.h"
#include "app/automation/OrvaleDocTypes.h"
#include "app/document/BitmapFile.h"
#include "app/document/DocumentSaveService.h"
#include "app/document/SaveCommands.h"
#include "app/document/clsDocument.h"
#include "app/frame/frmMain.h"
#include "platform/com/PluginLibrary.h"
#include "platform/registry/IniSettingsStore.h"
#include "platform/registry/TypedSettings.h"
#include "platform/ui/FileDialogService.h"
#include "platform/ui/MessageService.h"
#include "tests/app/analysis/TraceTestSupport.h"
#include "tests/support/TempConfigHome.h"

namespace orvale {
namespace {

namespace fs = std::filesystem;

// Bounds that only a hang runs into: a call is answered within milliseconds, and a
// program starts within seconds even under the sanitizers on a busy machine.
constexpr int kCallTimeoutMs = 60000;   // a client's bound on one call, or a program's start or end
constexpr int kClientsBoundMs = 120000;  // on all the clients of one case together
const QString kService = QString::fromLatin1(AutomationServer::kServiceName);
const QString kFactory = QString::fromLatin1(AutomationServer::kFactoryPath);
const QString kDocInterface = QStringLiteral("com.halvern.Orvale.OrvaleDoc");

QVariant V(const QVariant& value) { return QVariant::fromValue(QDBusVariant(value)); }
QVariant Points(const QList<double>& values) { return V(QVariant::fromValue(values)); }

// A client with a bus connection of its own; for a thread of the test.
class Client {
 public:
  Client() : name_(QStringLiteral("client-%1").arg(++counter_)) {
    connection_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name_));
  }
  ~Client() {
    connection_.reset();
    QDBusConnection::disconnectFromBus(name_);
  }
  QDBusConnection& Connection() { return *connection_; }

  QDBusMessage Call(const QString& path, const QString& interface, const QString& member,
                    const QVariantList& arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(kService, path, interface, member);
    message.setArguments(arguments);
    return connection_->call(message, QDBus::Block, kCallTimeoutMs);
  }
  QDBusMessage Doc(const QString& path, const QString& member, const QVariantList& arguments = {}) {
    return Call(path, kDocInterface, member, arguments);
  }
  // A new object's path; empty when the factory did not answer.
  QString Create() {
    const QDBusMessage reply = Call(kFactory, QStringLiteral("com.halvern.Orvale.Factory"),
                                    QStringLiteral("CreateOrvaleDoc"));
    return reply.type() == QDBusMessage::ReplyMessage ? qvariant_cast<QDBusObjectPath>(reply.arguments().value(0)).path()
                                                      : QString();
  }

 private:
  static inline std::atomic<int> counter_{0};
  QString name_;
  std::unique_ptr<QDBusConnection> connection_;
};

bool Succeeded(const QDBusMessage& reply) { return reply.type() == QDBusMessage::ReplyMessage; }
bool True(const QDBusMessage& reply) { return Succeeded(reply) && reply.arguments().value(0).toBool(); }
double Number(const QDBusMessage& reply) { return reply.arguments().value(0).toDouble(); }

// While `predicate` is false and the bound has not passed, the program's events run.
bool RunEventsUntil(const std::function<bool()>& predicate, int boundMs) {
  QDeadlineTimer deadline(boundMs);
  while (!predicate()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  return true;
}

// Runs each piece of work on a thread of its own while this thread runs the program's
// events; true when all ended within the bound.
bool RunClients(const std::vector<std::function<void()>>& work) {
  std::atomic<std::size_t> done{0};
  std::vector<std::thread> threads;
  for (const auto& piece : work)
    threads.emplace_back([&done, &piece] {
      piece();
      ++done;
    });
  const bool inTime = RunEventsUntil([&] { return done == work.size(); }, kClientsBoundMs);
  for (std::thread& thread : threads) thread.join();  // the calls' own bounds end them
  return inTime;
}

bool RunClient(const std::function<void()>& work) { return RunClients({work}); }

// True when a client's call was answered by a member or refused with one of the
// object's own errors or the bus's argument errors: never a timeout, never a failure
// the server did not mean.
bool AnsweredAsDesigned(const QDBusMessage& reply) {
  if (Succeeded(reply)) return true;
  if (reply.type() != QDBusMessage::ErrorMessage) return false;
  const QString name = reply.errorName();
  return (name.startsWith(QLatin1String("com.halvern.Orvale.Error.")) &&
          !name.startsWith(QLatin1String("com.halvern.Orvale.Error.Internal."))) ||
         name == QLatin1String("org.freedesktop.DBus.Error.InvalidArgs");
}

class AutomationBusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Only inside the private bus of the suite's CTest entry, never on a developer's
    // own session bus.
    if (qEnvironmentVariable("ORVALE_TEST_PRIVATE_BUS") != QLatin1String("1"))
      GTEST_SKIP() << "runs on the private bus of its CTest entry only";
    fs::create_directories(work_);
  }

  // Starts the program in process, serving the private bus; false when it did not start
  // or its automation did not.
  bool StartProgram(AppState& app, const fs::path& plugins = {}) {
    std::string name = "orvale";
    std::string embedding = "-Embedding";
    char* argv[] = {name.data(), embedding.data(), nullptr};
    if (!RunStartupWithInstalledServices(app, 2, argv, plugins, QDBusConnection::sessionBus())) return false;
    return app.Automation != nullptr;
  }

  // An interferogram of `waves` as a bitmap in the work folder.
  std::string Interferogram(const std::string& name, const ZernikeVector& waves) const {
    const auto image = analysis_test::Interferogram(kSize, kSize, kCentre, kCentre, kRadius, waves);
    EXPECT_TRUE(SaveDataBufferToBMP(work_ / name, image, kSize, kSize, false));
    return (work_ / name).string();
  }
  static ZernikeVector Waves(double defocus) {
    ZernikeVector waves{};
    waves[1] = 4.0;
    waves[2] = 1.0;
    waves[3] = defocus;
    waves[4] = 0.5;
    return waves;
  }
  static QVariant Aperture() {
    return Points({kCentre - kRadius, kCentre, kCentre + kRadius, kCentre, kCentre, kCentre - kRadius,
                   kCentre, kCentre + kRadius});
  }
  // Load, aperture, trace and analysis of `file` through `path`; true when all worked.
  static bool Prepare(Client& client, const QString& path, const std::string& file) {
    return True(client.Doc(path, "Load", {QString::fromStdString(file)})) &&
           True(client.Doc(path, "SetAperture", {V(QStringLiteral("CIRCLE")), Aperture()})) &&
           True(client.Doc(path, "AutoTrace", {V(QStringLiteral("v")), V(QString())})) &&
           True(client.Doc(path, "Analyze"));
  }
  // The open document whose image came from `file`.
  static clsDocument* DocumentOf(const AppState& app, const std::string& file) {
    for (std::int32_t slot = 1; slot <= DocumentTable::kMaxDocuments; ++slot) {
      if (app.Documents->DocumentInUse[slot] && app.Documents->Documents[slot]->ImageFileName == file)
        return app.Documents->Documents[slot].get();
    }
    return nullptr;
  }

  static constexpr std::int32_t kSize = 256;
  static constexpr double kCentre = (kSize - 1) / 2.0;
  static constexpr double kRadius = 0.47 * kSize;

  testing::TempConfigHome home_;
  fs::path work_ = home_.Folder() / "work";
  IniSettingsStore store_{DefaultSettingsFile()};
  ScopedSettingsStore storeInstalled_{store_};
  ScriptedMessageService messages_;  // the user's own messages
  ScopedMessageService messagesInstalled_{messages_};
  ScriptedFileDialogService dialogs_;
  ScopedFileDialogService dialogsInstalled_{dialogs_};
  ScopedDocumentSaveService saving_{FileSaveCommands()};
};

TEST_F(AutomationBusTest, AScriptDrivesAnOrdinaryDocumentOfTheMainWindow) {
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  const std::string file = Interferogram("script.bmp", Waves(1.5));
  const std::string saved = (work_ / "script.ovd").string();
  std::vector<double> zernikes;
  QDBusMessage rms, save;
  ASSERT_TRUE(RunClient([&] {
    Client client;
    const QString path = client.Create();
    client.Doc(path, "SetInvertWavefront", {V(true)});
    client.Doc(path, "SetRemove", {V(QStringLiteral("coma")), V(true)});
    client.Doc(path, "SetOrderLimit", {V(QStringLiteral("auto"))});
    if (!Prepare(client, path, file)) return;
    for (int term = 1; term <= 36; ++term) zernikes.push_back(Number(client.Doc(path, "GetZernike", {V(term)})));
    rms = client.Doc(path, "GetAberration", {V(QStringLiteral("rms"))});
    save = client.Doc(path, "Save", {V(QString::fromStdString(saved))});
  }));
  ASSERT_EQ(zernikes.size(), 36u);
  clsDocument* doc = DocumentOf(app, "script.bmp");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(app.Documents->ActiveDocument(), doc);
  EXPECT_TRUE(doc->ImageViewExist);
  for (int term = 1; term <= 36; ++term) EXPECT_EQ(zernikes[term - 1], doc->Zernike(term)) << term;
  EXPECT_EQ(Number(rms), doc->RMS * doc->DisplayScale);
  EXPECT_TRUE(True(save));
  EXPECT_TRUE(fs::exists(saved));
  // The options a script set are the Analyze window's, shown there, and the analysis
  // used them.
  ASSERT_NE(app.Tools.Analyze, nullptr);
  EXPECT_TRUE(app.Tools.Analyze->Controls().InvertWavefront);
  EXPECT_TRUE(doc->InvertWavefront);
  EXPECT_TRUE(doc->noComa);
  auto* removeComa = app.Tools.Analyze->findChild<QCheckBox*>(QStringLiteral("chkRemove3"));
  ASSERT_NE(removeComa, nullptr);
  EXPECT_TRUE(removeComa->isChecked());
  EXPECT_TRUE(messages_.Messages().empty());  // nothing reached the user
  // Kept at the end as the user's own choices are.
  EXPECT_TRUE(app.FormMain->close());
  EXPECT_TRUE(GetSettingBool("Analyze", "Invert Scale", false));
}

TEST_F(AutomationBusTest, WithoutABusTheProgramRunsWithoutAutomationAndSaysSo) {
  AppState app;
  std::string name = "orvale";
  char* argv[] = {name.data(), nullptr};
  ::testing::internal::CaptureStderr();
  ASSERT_TRUE(RunStartupWithInstalledServices(app, 1, argv, {}, QDBusConnection(QStringLiteral("no bus"))));
  const std::string logged = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(app.Automation, nullptr);
  EXPECT_TRUE(app.FormMain->isVisible());
  EXPECT_NE(logged.find("orvale automation: off (no D-Bus session bus)\n"), std::string::npos) << logged;
}

TEST_F(AutomationBusTest, ErrorsComeBackByNameWithTheirTextCodeAndSource) {
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  std::map<std::string, QDBusMessage> replies;
  ASSERT_TRUE(RunClient([&] {
    Client client;
    const QString path = client.Create();
    replies["no document"] = client.Doc(path, "GetZernike", {V(1)});
    replies["grid argument"] = client.Doc(path, "SetGrid", {0, 0, 10, 10, 0, 1, 1});
    replies["wrong signature"] = client.Doc(path, "Load", {V(QStringLiteral("/x.bmp"))});
    replies["unknown member"] = client.Doc(path, "Close");
    replies["padded path"] = client.Doc(path.left(path.lastIndexOf('/') + 1) + "0" + path.mid(path.lastIndexOf('/') + 1),
                                        "GetZoom");
    replies["release"] = client.Doc(path, "Release");
    replies["released"] = client.Doc(path, "GetInputWavelength");
  }));
  const QDBusMessage& noDocument = replies["no document"];
  // The code and the source in the name, the description alone in the body.
  EXPECT_EQ(noDocument.errorName(), "com.halvern.Orvale.Error.NoDocument.OrvaleDoc.E80040201");
  EXPECT_EQ(noDocument.signature(), "s");
  EXPECT_EQ(noDocument.arguments().value(0).toString(),
            "Can't read Zernike coefficients until an interferogram has been loaded.");
  EXPECT_EQ(noDocument.errorMessage(), noDocument.arguments().value(0).toString());
  EXPECT_EQ(replies["grid argument"].errorName(), "com.halvern.Orvale.Error.NoDocument.OrvaleDoc.E80040201");
  EXPECT_EQ(replies["wrong signature"].errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
  EXPECT_EQ(replies["unknown member"].errorName(), "org.freedesktop.DBus.Error.UnknownMethod");
  EXPECT_EQ(replies["padded path"].errorName(), "org.freedesktop.DBus.Error.UnknownObject");
  EXPECT_TRUE(Succeeded(replies["release"]));
  EXPECT_EQ(replies["released"].errorName(), "org.freedesktop.DBus.Error.UnknownObject");

  ASSERT_TRUE(RunClient([&] {
    Client client;
    const QString path = client.Create();
    client.Doc(path, "Load", {QString::fromStdString(Interferogram("grid.bmp", Waves(1.0)))});
    replies["grid source"] = client.Doc(path, "SetGrid", {0, 0, 10, 10, 0, 1, 1});
  }));
  EXPECT_EQ(replies["grid source"].errorName(), "com.halvern.Orvale.Error.InvalidParameter.Orvaledoc.E8004020F");
}

TEST_F(AutomationBusTest, TheIntrospectionIsTheContractTheServerKeeps) {
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  QString xml;
  ASSERT_TRUE(RunClient([&] {
    Client client;
    const QString path = client.Create();
    xml = client.Call(path, "org.freedesktop.DBus.Introspectable", "Introspect").arguments().value(0).toString();
  }));
  std::map<std::string, std::pair<std::string, std::string>> methods;  // name: in, out
  std::map<std::string, std::string> annotations;
  QXmlStreamReader reader(xml);
  bool inOurs = false;
  std::string method;
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement() && reader.name() == QLatin1String("interface"))
      inOurs = reader.attributes().value("name") == kDocInterface;
    if (!inOurs || !reader.isStartElement()) continue;
    const auto attribute = [&](const char* name) { return reader.attributes().value(name).toString().toStdString(); };
    if (reader.name() == QLatin1String("method")) {
      method = attribute("name");
      methods[method];
    } else if (reader.name() == QLatin1String("arg")) {
      (attribute("direction") == "in" ? methods[method].first : methods[method].second) += attribute("type");
    } else if (reader.name() == QLatin1String("annotation")) {
      annotations[attribute("name")] = attribute("value");
    }
  }
  ASSERT_FALSE(reader.hasError()) << reader.errorString().toStdString();

  std::map<std::string, std::pair<std::string, std::string>> served{{"Release", {"", ""}}};
  for (const OrvaleDocMethod& m : OrvaleDocMethods())
    served[std::string(m.Name)] = {std::string(m.In), std::string(m.Out)};
  EXPECT_EQ(methods, served);
  EXPECT_EQ(annotations["com.halvern.Orvale.Version"], "5.0");
  // Each error the interface lists travels under its own name.
  std::istringstream errors(annotations["com.halvern.Orvale.Enum.OrvaleDocErrors"]);
  int listed = 0;
  for (std::string entry; errors >> entry; ++listed) {
    const std::string name = entry.substr(0, entry.find('='));
    const auto code = static_cast<std::uint32_t>(std::stoul(entry.substr(entry.find('=') + 1), nullptr, 16));
    EXPECT_EQ(AutomationErrorName(code, "OrvaleDoc"),
              "com.halvern.Orvale.Error." + name.substr(5) + ".OrvaleDoc.E" + entry.substr(entry.find('=') + 3))
        << entry;
  }
  EXPECT_EQ(listed, 19);
}

// Load and bad input side by side: many clients at once, every wrong argument, many
// objects made and released.
TEST_F(AutomationBusTest, EightClientsEachReadTheirOwnDocumentsResultsAndEveryCallIsAnswered) {
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  constexpr int kClients = 8;
  constexpr int kCallsPerClient = 200;
  struct Outcome {
    int calls = 0;
    int answered = 0;
    std::string file;
    std::map<int, std::set<double>> zernikes;  // every value read, per term
  };
  std::vector<Outcome> outcomes(kClients);
  std::vector<std::function<void()>> work;
  for (int c = 0; c < kClients; ++c) {
    outcomes[c].file = Interferogram("client" + std::to_string(c) + ".bmp", Waves(0.6 + 0.2 * c));
    work.push_back([&outcome = outcomes[c]] {
      Client client;
      const QString path = client.Create();
      const auto call = [&](const char* member, const QVariantList& arguments = {}) {
        const QDBusMessage reply = client.Doc(path, member, arguments);
        ++outcome.calls;
        if (AnsweredAsDesigned(reply)) ++outcome.answered;
        return reply;
      };
      if (!True(call("Load", {QString::fromStdString(outcome.file)})) ||
          !True(call("SetAperture", {V(QStringLiteral("circle")), Aperture()})) ||
          !True(call("AutoTrace", {V(1), V(3)})) || !True(call("Analyze")))
        return;
      for (int i = 0; outcome.calls < kCallsPerClient; ++i) {
        const int term = i % 36 + 1;
        switch (i % 8) {
          case 0:
          case 1:
          case 2:
            outcome.zernikes[term].insert(Number(call("GetZernike", {V(term)})));
            break;
          case 3:
            call("GetAberration", {V(i % 11)});
            break;
          case 4:
            call("FringeCenter", {V(1), V(1)});
            break;
          case 5:
            call("GetZernike", {V(37)});  // refused
            break;
          case 6:
            call("GetZoom");
            break;
          default:
            call("GetInputWavelength");
            break;
        }
      }
    });
  }
  ASSERT_TRUE(RunClients(work));
  for (int c = 0; c < kClients; ++c) {
    SCOPED_TRACE("client " + std::to_string(c));
    const Outcome& outcome = outcomes[c];
    EXPECT_EQ(outcome.calls, kCallsPerClient);
    EXPECT_EQ(outcome.answered, kCallsPerClient);
    const clsDocument* doc = DocumentOf(app, "client" + std::to_string(c) + ".bmp");
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(doc->AnalysisValid);
    for (const auto& [term, values] : outcome.zernikes)
      EXPECT_EQ(values, std::set<double>{doc->Zernike(term)}) << "term " << term;
  }
  // The defoci differ from client to client, and so do the results read back.
  EXPECT_NE(*outcomes[0].zernikes[3].begin(), *outcomes[kClients - 1].zernikes[3].begin());
}

TEST_F(AutomationBusTest, EveryMemberAnswersEveryWrongArgumentWithANamedError) {
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  QDBusArgument dictionary;
  const QList<double> million(1000000, 0.5);
  const std::vector<std::pair<const char*, QVariant>> values = {
      {"b", V(true)},
      {"y", V(QVariant::fromValue<uchar>(7))},
      {"n", V(QVariant::fromValue<short>(-3))},
      {"q", V(QVariant::fromValue<ushort>(3))},
      {"i", V(2)},
      {"u", V(QVariant::fromValue<uint>(4000000000u))},
      {"x", V(QVariant::fromValue<qlonglong>(-9000000000LL))},
      {"t", V(QVariant::fromValue<qulonglong>(18000000000000000000ULL))},
      {"d NaN", V(std::numeric_limits<double>::quiet_NaN())},
      {"d +Inf", V(std::numeric_limits<double>::infinity())},
      {"d -Inf", V(-std::numeric_limits<double>::infinity())},
      {"s 1 MB", V(QString(1 << 20, QLatin1Char('7')))},
      {"o", V(QVariant::fromValue(QDBusObjectPath("/com/halvern/Orvale")))},
      {"g", V(QVariant::fromValue(QDBusSignature("a{sv}")))},
      {"ay", V(QByteArray("\x01\x02\x03", 3))},
      {"av empty", V(QVariantList{})},
      {"av of variants and texts", V(QVariantList{V(1), QStringLiteral("x"), true})},
      {"a{sv}", V(QVariantMap{{"x", 1}})},
      {"ad of 10^6", Points(million)},
      {"v in v", V(V(1))},
  };
  std::vector<std::string> misanswered;
  ASSERT_TRUE(RunClient([&] {
    Client client;
    const QString path = client.Create();
    client.Doc(path, "Load", {QString::fromStdString(Interferogram("bad.bmp", Waves(1.0)))});
    client.Doc(path, "SetAperture", {V(QStringLiteral("circle")), Aperture()});
    for (const OrvaleDocMethod& method : OrvaleDocMethods()) {
      const QString name = QString::fromUtf8(method.Name.data(), static_cast<qsizetype>(method.Name.size()));
      const bool takesVariants = method.In.find('v') != std::string_view::npos;
      for (const auto& [kind, value] : values) {
        // Every variant argument gets the value; a member without variants gets it
        // anyway, a wrong signature.
        QVariantList arguments;
        for (std::size_t i = 0; i < method.In.size(); ++i) arguments.append(value);
        if (!takesVariants) arguments = {value};
        const QDBusMessage reply = client.Doc(path, name, arguments);
        if (!AnsweredAsDesigned(reply))
          misanswered.push_back(method.Name.data() + std::string(" ") + kind + ": " + reply.errorName().toStdString());
      }
    }
  }));
  EXPECT_TRUE(misanswered.empty()) << misanswered.front();
}

TEST_F(AutomationBusTest, AThousandObjectsMadeAndReleasedLeaveNoneBehind) {
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  int released = 0;
  QString children;
  ASSERT_TRUE(RunClient([&] {
    Client client;
    for (int i = 0; i < 1000; ++i) released += Succeeded(client.Doc(client.Create(), "Release")) ? 1 : 0;
    children = client.Call(QString::fromLatin1(AutomationServer::kObjectsPath),
                           "org.freedesktop.DBus.Introspectable", "Introspect")
                   .arguments()
                   .value(0)
                   .toString();
  }));
  EXPECT_EQ(released, 1000);
  EXPECT_EQ(app.Automation->Server().ObjectCount(), 0u);
  EXPECT_FALSE(children.contains(QLatin1String("<node name=\"")));
}

// What a shell command prints, on stdout and stderr together.
std::string Shell(const std::string& command) {
  std::string output;
  if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    ::pclose(pipe);
  }
  return output;
}

// What gdbus prints for a call: "(true,)".
std::string Gdbus(const std::string& arguments) {
  return Shell("gdbus call --session --dest com.halvern.Orvale " + arguments);
}

// The object path in what gdbus prints for CreateOrvaleDoc.
std::string CreatedPath(const std::string& created) {
  return created.substr(created.find('\'') + 1, created.rfind('\'') - created.find('\'') - 1);
}

TEST_F(AutomationBusTest, ObjectsOutliveTheConnectionsThatUseThem) {
  if (std::system("command -v gdbus > /dev/null") != 0) GTEST_SKIP() << "gdbus is not installed";
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  const std::string file = Interferogram("steps.bmp", Waves(1.0));
  std::string created, loaded, zernike;
  ASSERT_TRUE(RunClient([&] {
    // One command per step, each on a connection of its own.
    created = Gdbus("--object-path /com/halvern/Orvale --method com.halvern.Orvale.Factory.CreateOrvaleDoc");
    const std::string object = "--object-path " + CreatedPath(created) + " --method com.halvern.Orvale.OrvaleDoc.";
    loaded = Gdbus(object + "Load " + file);
    Gdbus(object + "SetAperture \"<'CIRCLE'>\" \"<[" + std::to_string(kCentre - kRadius) + ", " +
          std::to_string(kCentre) + ", " + std::to_string(kCentre + kRadius) + ", " + std::to_string(kCentre) +
          ", " + std::to_string(kCentre) + ", " + std::to_string(kCentre - kRadius) + ", " +
          std::to_string(kCentre) + ", " + std::to_string(kCentre + kRadius) + "]>\"");
    Gdbus(object + "AutoTrace \"<'v'>\" \"<''>\"");
    Gdbus(object + "Analyze");
    zernike = Gdbus(object + "GetZernike \"<3>\"");
  }));
  EXPECT_EQ(created.rfind("(objectpath '/com/halvern/Orvale/OrvaleDoc/", 0), 0u) << created;
  EXPECT_EQ(loaded, "(true,)\n");
  const clsDocument* doc = DocumentOf(app, "steps.bmp");
  ASSERT_NE(doc, nullptr);
  ASSERT_TRUE(doc->AnalysisValid);
  EXPECT_NEAR(std::stod(zernike.substr(1)), doc->Zernike(3), 1e-9) << zernike;

  // A client that leaves in the middle of its calls leaves the object to the next one.
  QString path;
  ASSERT_TRUE(RunClient([&] {
    Client first;
    path = first.Create();
    first.Doc(path, "Load", {QString::fromStdString(file)});
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, kDocInterface, "Stretch");
    call.setArguments({V(2.0)});
    first.Connection().asyncCall(call);
    first.Connection().asyncCall(call);
  }));
  QDBusMessage zoom;
  ASSERT_TRUE(RunClient([&] {
    Client next;
    zoom = next.Doc(path, "GetZoom");
  }));
  EXPECT_TRUE(Succeeded(zoom));
  EXPECT_EQ(app.Automation->Server().ObjectCount(), 2u);
  EXPECT_EQ(app.Documents->NumDocuments, 2);
}

// GLib shows an error's text only when its body is one string: the object's errors
// carry their description alone, with the code and the source in the error's name.
TEST_F(AutomationBusTest, CommandLineClientsPrintAnErrorsTextAndNameWithItsCodeAndSource) {
  if (std::system("command -v gdbus > /dev/null && command -v dbus-send > /dev/null") != 0)
    GTEST_SKIP() << "gdbus or dbus-send is not installed";
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  const std::string file = Interferogram("errors.bmp", Waves(1.0));
  std::map<std::string, std::pair<std::string, std::string>> printed;  // by gdbus and by dbus-send
  ASSERT_TRUE(RunClient([&] {
    const std::string path =
        CreatedPath(Gdbus("--object-path /com/halvern/Orvale --method com.halvern.Orvale.Factory.CreateOrvaleDoc"));
    const std::string gdbus = "--object-path " + path + " --method com.halvern.Orvale.OrvaleDoc.";
    const std::string send = "dbus-send --session --print-reply --dest=com.halvern.Orvale " + path +
                             " com.halvern.Orvale.OrvaleDoc.";
    printed["no document"] = {Gdbus(gdbus + "GetZernike \"<37>\""), Shell(send + "GetZernike variant:int32:37")};
    Gdbus(gdbus + "Load " + file);
    printed["number"] = {Gdbus(gdbus + "GetZernike \"<37>\""), Shell(send + "GetZernike variant:int32:37")};
    printed["grid"] = {Gdbus(gdbus + "SetGrid 0 0 10 10 0 1 1"),
                       Shell(send + "SetGrid int32:0 int32:0 int32:10 int32:10 int32:0 int32:1 int32:1")};
  }));
  const std::map<std::string, std::string> expected = {
      {"no document", "com.halvern.Orvale.Error.NoDocument.OrvaleDoc.E80040201: "
                      "Can't read Zernike coefficients until an interferogram has been loaded.\n"},
      {"number", "com.halvern.Orvale.Error.InvalidNumber.OrvaleDoc.E8004020A: "
                 "Zernike polynomial coefficients must be specified using the integers 1-36.\n"},
      // The grid's argument errors carry the source "Orvaledoc".
      {"grid", "com.halvern.Orvale.Error.InvalidParameter.Orvaledoc.E8004020F: "
               "The physical width of a grid must be greater than zero.\n"},
  };
  for (const auto& [call, error] : expected) {
    EXPECT_EQ(printed[call].first, "Error: GDBus.Error:" + error) << call;
    EXPECT_EQ(printed[call].second, "Error " + error) << call;
  }
}

TEST_F(AutomationBusTest, PythonDbusReadsAnErrorsTextAndName) {
  // Debian's own Python, which python3-dbus belongs to.
  if (std::system("/usr/bin/python3 -c 'import dbus' 2> /dev/null") != 0) GTEST_SKIP() << "python3-dbus is not installed";
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  const fs::path script = work_ / "error.py";
  std::ofstream(script) << "import dbus\n"
                           "bus = dbus.SessionBus()\n"
                           "factory = bus.get_object('com.halvern.Orvale', '/com/halvern/Orvale')\n"
                           "path = factory.CreateOrvaleDoc(dbus_interface='com.halvern.Orvale.Factory')\n"
                           "doc = dbus.Interface(bus.get_object('com.halvern.Orvale', path), 'com.halvern.Orvale.OrvaleDoc')\n"
                           "try:\n"
                           "    doc.GetZernike(37)\n"
                           "except dbus.exceptions.DBusException as e:\n"
                           "    print(e.get_dbus_name())\n"
                           "    print(e.get_dbus_message())\n";
  std::string printed;
  ASSERT_TRUE(RunClient([&] { printed = Shell("/usr/bin/python3 " + script.string()); }));
  EXPECT_EQ(printed,
            "com.halvern.Orvale.Error.NoDocument.OrvaleDoc.E80040201\n"
            "Can't read Zernike coefficients until an interferogram has been loaded.\n");
}

// The README's automation lines, run as they stand from the source folder against the
// program: the sample document loads and is analysed, and the call that passes a
// variant prints the document's value.
TEST_F(AutomationBusTest, TheReadmesAutomationLinesWorkAsWritten) {
  if (std::system("command -v gdbus > /dev/null") != 0) GTEST_SKIP() << "gdbus is not installed";
  std::ifstream readme(fs::path(ORVALE_SOURCE_DIR) / "README.md");
  std::vector<std::string> lines;
  bool automation = false;
  for (std::string line; std::getline(readme, line);) {
    if (line.starts_with("## ")) automation = line == "## Automation";
    if (automation && line.starts_with("    gdbus call ")) lines.push_back(line.substr(4));
  }
  ASSERT_FALSE(lines.empty());
  ASSERT_NE(lines.back().find(".GetZernike \"<3>\""), std::string::npos) << lines.back();
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  std::vector<std::string> printed;
  ASSERT_TRUE(RunClient([&] {
    for (const std::string& line : lines) printed.push_back(Shell("cd " + std::string(ORVALE_SOURCE_DIR) + " && " + line));
  }));
  ASSERT_EQ(printed.size(), lines.size());
  EXPECT_EQ(printed.front(), "(objectpath '/com/halvern/Orvale/OrvaleDoc/1',)\n");
  for (std::size_t i = 1; i + 1 < printed.size(); ++i) EXPECT_EQ(printed[i], "(true,)\n") << lines[i];
  const clsDocument* sample = nullptr;
  for (std::int32_t slot = 1; slot <= DocumentTable::kMaxDocuments; ++slot) {
    if (app.Documents->DocumentInUse[slot] && app.Documents->Documents[slot]->DocumentFileName == "sample.ovd")
      sample = app.Documents->Documents[slot].get();
  }
  ASSERT_NE(sample, nullptr);
  ASSERT_TRUE(sample->AnalysisValid);
  ASSERT_EQ(printed.back().front(), '(') << printed.back();
  EXPECT_NEAR(std::stod(printed.back().substr(1)), sample->Zernike(3), 1e-9) << printed.back();
}

// `values` in the D-Bus array of `signature` ("ai", "au", ... "ay", "ad").
QVariant NumberArray(const std::string& signature, const QList<int>& values) {
  const auto list = [&values]<class Number>(Number) {
    QList<Number> numbers;
    for (int value : values) numbers.append(static_cast<Number>(value));
    return QVariant::fromValue(numbers);
  };
  switch (signature.at(1)) {
    case 'i': return list(int{});
    case 'u': return list(uint{});
    case 'x': return list(qlonglong{});
    case 't': return list(qulonglong{});
    case 'n': return list(short{});
    case 'q': return list(ushort{});
    case 'y': {
      QByteArray bytes;
      for (int value : values) bytes.append(static_cast<char>(value));
      return bytes;
    }
    default: return list(double{});
  }
}

// Control points in any D-Bus array of numbers, each taken as a list of ints is.
TEST_F(AutomationBusTest, PointsComeInAnyArrayOfNumbers) {
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  const std::string file = Interferogram("points.bmp", Waves(1.0));
  QString path;
  ASSERT_TRUE(RunClient([&] {
    Client client;
    path = client.Create();
    client.Doc(path, "Load", {QString::fromStdString(file)});
  }));
  clsDocument* doc = DocumentOf(app, "points.bmp");
  ASSERT_NE(doc, nullptr);
  for (const std::string signature : {"ai", "au", "ax", "at", "an", "aq", "ay", "ad"}) {
    SCOPED_TRACE(signature);
    doc->Aperture.Delete();
    QDBusMessage circle, tooFew;
    ASSERT_TRUE(RunClient([&] {
      Client client;
      // A circle through four points: centre (128, 120), radius 100.
      circle = client.Doc(path, "SetAperture",
                          {V(QStringLiteral("CIRCLE")), V(NumberArray(signature, {28, 120, 228, 120, 128, 20, 128, 220}))});
      tooFew = client.Doc(path, "SetObstruction", {V(QStringLiteral("CIRCLE")), V(NumberArray(signature, {1, 2, 3}))});
    }));
    ASSERT_TRUE(True(circle)) << circle.errorName().toStdString() << ": " << circle.errorMessage().toStdString();
    ASSERT_EQ(doc->Aperture.GetShapeType(), clsShape::kCircle);
    double x = 0, y = 0, rx = 0, ry = 0;
    doc->Aperture.GetCenter(x, y);
    doc->Aperture.GetRadii(rx, ry);
    EXPECT_EQ(std::vector<double>({x, y, rx, ry}), std::vector<double>({128, 120, 100, 100}));
    EXPECT_EQ(tooFew.errorName().toStdString(), "com.halvern.Orvale.Error.InvalidPoints.OrvaleDoc.E8004020E");
    EXPECT_EQ(tooFew.errorMessage().toStdString(), "A circle is defined by four points.");
  }
}

TEST_F(AutomationBusTest, CallsWaitWhileTheUserHasAModalWindowOpenThenRunInOrder) {
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  std::vector<QDBusMessage> replies;
  std::atomic<bool> replied{false};
  std::atomic<bool> boxClosed{false};
  std::atomic<bool> answeredWhileOpen{false};
  std::promise<void> boxOpen;
  std::thread client([&, shown = boxOpen.get_future()] {
    Client c;
    const QString path = c.Create();
    // The calls go out only once the box is open, however late the box comes.
    if (shown.wait_for(std::chrono::milliseconds(kCallTimeoutMs)) != std::future_status::ready) return;
    QDBusMessage set = QDBusMessage::createMethodCall(kService, path, kDocInterface, "SetInputWavelength");
    set.setArguments({V(500)});
    QDBusMessage get = QDBusMessage::createMethodCall(kService, path, kDocInterface, "GetInputWavelength");
    QDBusPendingCall first = c.Connection().asyncCall(set, kCallTimeoutMs);
    QDBusPendingCall second = c.Connection().asyncCall(get, kCallTimeoutMs);
    first.waitForFinished();
    answeredWhileOpen = !boxClosed;
    second.waitForFinished();
    replies = {first.reply(), second.reply()};
    replied = true;
  });
  // Wait for the object, then open the user's box; the two calls come in while it is open.
  ASSERT_TRUE(RunEventsUntil([&] { return app.Automation->Server().ObjectCount() == 1; }, kCallTimeoutMs));
  QMessageBox box(QMessageBox::Warning, "Warning", "The user's question", QMessageBox::Ok, app.FormMain.get());
  QTimer::singleShot(0, &box, [&] {
    boxOpen.set_value();
    RunEventsUntil([&] { return app.Automation->Server().PendingCalls() == 2; }, kCallTimeoutMs);
    boxClosed = true;
    box.accept();
  });
  box.exec();
  EXPECT_TRUE(RunEventsUntil([&] { return replied.load(); }, kCallTimeoutMs));
  client.join();
  EXPECT_FALSE(answeredWhileOpen);
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_TRUE(Succeeded(replies[0]));
  EXPECT_EQ(Number(replies[1]), 500.0);
}

TEST_F(AutomationBusTest, GrabNeedsASelectedGrabberAndTakesItsFrame) {
  const fs::path plugins = ORVALE_FAKE_PLUGIN_DIR;
  {
    AppState app;
    ASSERT_TRUE(StartProgram(app, plugins));
    QDBusMessage withoutGrabber;
    ASSERT_TRUE(RunClient([&] {
      Client client;
      withoutGrabber = client.Doc(client.Create(), "Grab");
    }));
    EXPECT_EQ(withoutGrabber.errorName(), "com.halvern.Orvale.Error.NoGrabber.OrvaleDoc.E80040213");
  }

  std::string error;
  ASSERT_TRUE(RegisterServer(plugins / "OVVGPlugFake.so", error)) << error;
  GetSettingString("CurrentVersion", "Frame Grabber", "");
  SaveSettingString("CurrentVersion", "Frame Grabber", "Fake");
  AppState grabbing;
  ASSERT_TRUE(StartProgram(grabbing, plugins));
  ASSERT_TRUE(grabbing.Grabber.GrabberReady);
  QDBusMessage grabbed;
  ASSERT_TRUE(RunClient([&] {
    Client client;
    grabbed = client.Doc(client.Create(), "Grab");
  }));
  // The fake plug-in's frame went into a new document.
  EXPECT_TRUE(Succeeded(grabbed));
  EXPECT_TRUE(True(grabbed));
  EXPECT_EQ(grabbing.ImageCounter, 1);
  EXPECT_TRUE(messages_.Messages().empty());
  const std::int32_t before = grabbing.Documents->NumDocuments;

  // A failure nobody meant still gets its answer, and shows nothing to the user.
  grabbing.FormMain->SetDocumentGrab([](clsDocument&) -> bool { throw std::runtime_error("The camera is gone."); });
  const fs::path image = work_ / "kept.bmp";
  ASSERT_TRUE(SaveDataBufferToBMP(image, std::vector<std::uint8_t>(16, 9), 4, 4, false));
  QDBusMessage failed;
  ASSERT_TRUE(RunClient([&] {
    Client client;
    const QString path = client.Create();
    client.Doc(path, "Load", {QString::fromStdString(image.string())});
    failed = client.Doc(path, "Grab");
  }));
  EXPECT_EQ(failed.errorName(), "com.halvern.Orvale.Error.Internal.OrvaleDoc.E80004005");
  EXPECT_EQ(failed.errorMessage(), "The camera is gone.");
  ASSERT_EQ(grabbing.Documents->NumDocuments, before + 1);
  ASSERT_NE(DocumentOf(grabbing, "kept.bmp"), nullptr);
  EXPECT_FALSE(DocumentOf(grabbing, "kept.bmp")->BMPDirty);
  EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(AutomationBusTest, TheHundredAndFirstLoadIsRefusedAndSaysWhy) {
  AppState app;
  ASSERT_TRUE(StartProgram(app));
  const fs::path tiny = work_ / "tiny.bmp";
  ASSERT_TRUE(SaveDataBufferToBMP(tiny, std::vector<std::uint8_t>(16, 9), 4, 4, false));
  int loaded = 0;
  QDBusMessage refused;
  ::testing::internal::CaptureStderr();
  ASSERT_TRUE(RunClient([&] {
    Client client;
    const QString path = client.Create();
    for (int i = 0; i < DocumentTable::kMaxDocuments; ++i)
      loaded += True(client.Doc(path, "Load", {QString::fromStdString(tiny.string())})) ? 1 : 0;
    refused = client.Doc(path, "Load", {QString::fromStdString(tiny.string())});
  }));
  const std::string logged = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(loaded, DocumentTable::kMaxDocuments);
  EXPECT_TRUE(Succeeded(refused));
  EXPECT_FALSE(True(refused));
  EXPECT_NE(logged.find("Too many open documents"), std::string::npos);
}

// The name's owner, or 0 once nobody owns it.
uint OwnerPid(QDBusConnection& connection) {
  const QDBusReply<uint> pid = connection.interface()->servicePid(kService);
  return pid.isValid() ? pid.value() : 0;
}

TEST_F(AutomationBusTest, TheFirstCallStartsTheProgramAndASecondCopyRunsWithoutAutomation) {
  Client client;
  ASSERT_EQ(OwnerPid(client.Connection()), 0u);
  // Nothing serves the name: the bus starts the program from the generated service file.
  const QString path = client.Create();
  ASSERT_FALSE(path.isEmpty());
  const uint first = OwnerPid(client.Connection());
  ASSERT_NE(first, 0u);
  EXPECT_EQ(Number(client.Doc(path, "GetInputWavelength")), 632.8);

  QProcess second;
  second.start(QStringLiteral(ORVALE_PROGRAM), {});
  ASSERT_TRUE(second.waitForStarted(kCallTimeoutMs));
  QByteArray said;
  QDeadlineTimer deadline(kCallTimeoutMs);
  while (!said.contains("owned by another program") && !deadline.hasExpired()) {
    second.waitForReadyRead(100);
    said += second.readAllStandardError();
  }
  EXPECT_TRUE(said.contains("orvale automation: off (com.halvern.Orvale is owned by another program)\n")) << said.toStdString();
  EXPECT_EQ(second.state(), QProcess::Running);
  second.kill();
  second.waitForFinished(kCallTimeoutMs);

  EXPECT_EQ(OwnerPid(client.Connection()), first);
  EXPECT_EQ(Number(client.Doc(path, "GetInputWavelength")), 632.8);
  ::kill(static_cast<pid_t>(first), SIGTERM);
  QDeadlineTimer gone(kCallTimeoutMs);
  while (OwnerPid(client.Connection()) != 0 && !gone.hasExpired()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(OwnerPid(client.Connection()), 0u);
}

}  // namespace
}  // namespace orvale
