// Automation over a private D-Bus bus of its own (a dbus-daemon started for the run):
// the round trip of a call that needs no document, and a script's whole road on the
// bundled sample, beside the same steps called in process, so that what the bus adds is
// visible. The program runs in process; its events run while a call waits for its
// answer.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QProcess>
#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/AppState.h"
#include "app/ProgramAutomation.h"
#include "app/Startup.h"
#include "app/automation/AutomationCall.h"
#include "app/automation/OrvaleDoc.h"
#include "app/document/DocumentTable.h"
#include "platform/registry/IniSettingsStore.h"
#include "platform/registry/MemorySettingsStore.h"
#include "platform/ui/MessageService.h"

namespace {

using namespace orvale;

const std::string g_sample = ORVALE_SAMPLES_DIR "/sample.jpg";
// The sample's aperture: a circle about (318.4, 243.1) of radius 193.
const QList<double> g_aperture = {125.4, 243.1, 511.4, 243.1, 318.4, 50.1, 318.4, 436.1};

struct Bench {
  AppState* app = nullptr;
  QDBusConnection* client = nullptr;
  std::filesystem::path scratch;
} g;

QVariant V(const QVariant& value) { return QVariant::fromValue(QDBusVariant(value)); }

// One call; the program's events run until its answer is in.
QDBusMessage Call(const QString& path, const QString& interface, const QString& member,
                  const QVariantList& arguments = {}) {
  QDBusMessage message =
      QDBusMessage::createMethodCall(AutomationServer::kServiceName, path, interface, member);
  message.setArguments(arguments);
  QDBusPendingCall pending = g.client->asyncCall(message, 60000);
  while (!pending.isFinished()) QCoreApplication::processEvents(QEventLoop::AllEvents);
  return pending.reply();
}

QDBusMessage Doc(const QString& path, const char* member, const QVariantList& arguments = {}) {
  return Call(path, QStringLiteral("com.halvern.Orvale.OrvaleDoc"), QString::fromLatin1(member), arguments);
}

QString CreateObject() {
  const QDBusMessage reply = Call(AutomationServer::kFactoryPath, QStringLiteral("com.halvern.Orvale.Factory"),
                                  QStringLiteral("CreateOrvaleDoc"));
  return qvariant_cast<QDBusObjectPath>(reply.arguments().value(0)).path();
}

void CloseAllDocuments() {
  DocumentTable& table = *g.app->Documents;
  for (std::int32_t slot = 1; slot <= DocumentTable::kMaxDocuments; ++slot) {
    clsDocument* doc = table.Documents[slot].get();
    std::int16_t cancel = 0;
    if (table.DocumentInUse[slot]) table.CloseDocument(doc, true, cancel);
  }
  QCoreApplication::processEvents();
}

void BM_AutomationRoundTrip(benchmark::State& state) {
  const QString path = CreateObject();
  for (auto _ : state) {
    const QDBusMessage reply = Doc(path, "GetInputWavelength");
    if (reply.type() != QDBusMessage::ReplyMessage) state.SkipWithError("the call failed");
  }
  Doc(path, "Release");
}
BENCHMARK(BM_AutomationRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_AutomationScript(benchmark::State& state) {
  const QString saved = QString::fromStdString((g.scratch / "script.ovd").string());
  for (auto _ : state) {
    const QString path = CreateObject();
    bool ok = Doc(path, "Load", {QString::fromStdString(g_sample)}).arguments().value(0).toBool() &&
              Doc(path, "SetAperture", {V(QStringLiteral("CIRCLE")), V(QVariant::fromValue(g_aperture))})
                  .arguments().value(0).toBool() &&
              Doc(path, "AutoTrace", {V(QStringLiteral("V")), V(QString())}).arguments().value(0).toBool() &&
              Doc(path, "Analyze").arguments().value(0).toBool();
    for (int term = 1; term <= 36; ++term)
      ok = ok && Doc(path, "GetZernike", {V(term)}).type() == QDBusMessage::ReplyMessage;
    ok = ok && Doc(path, "Save", {V(saved)}).arguments().value(0).toBool();
    Doc(path, "Release");
    if (!ok) state.SkipWithError("a step failed");
    state.PauseTiming();
    CloseAllDocuments();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AutomationScript)->Unit(benchmark::kMillisecond);

// Load of the sample over a settings file of 30,000 values, as a file that grew by hand
// or by a fault might be: what the settings reads of a load cost with such a file.
void BM_AutomationLoadWithLargeSettingsFile(benchmark::State& state) {
  const std::filesystem::path file = g.scratch / "Large.ini";
  {
    std::ofstream out(file, std::ios::binary);
    out << "[CurrentVersion]\r\n";
    for (int i = 0; i < 30000; ++i) out << "Key " << i << "=Value " << i << "\r\n";
    out << "[Toolbox]\r\n[Recent File List]\r\n";
  }
  IniSettingsStore store(file);
  ScopedSettingsStore installed(store);
  for (auto _ : state) {
    const QString path = CreateObject();
    if (!Doc(path, "Load", {QString::fromStdString(g_sample)}).arguments().value(0).toBool())
      state.SkipWithError("the load failed");
    Doc(path, "Release");
    state.PauseTiming();
    CloseAllDocuments();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AutomationLoadWithLargeSettingsFile)->Unit(benchmark::kMillisecond);

// The same steps on an object in process: what the script costs without the bus.
void BM_AutomationScriptInProcess(benchmark::State& state) {
  const std::string saved = (g.scratch / "in-process.ovd").string();
  const AutoValue aperture = NumberList{{g_aperture.begin(), g_aperture.end()}, true};
  for (auto _ : state) {
    OrvaleDoc object(g.app->Automation->Context());
    const auto step = [](auto&& run) {
      AutomationCall call;  // as each call over the bus
      return run();
    };
    bool ok = step([&] { return object.Load(g_sample); }) &&
              step([&] { return object.SetAperture(std::string("CIRCLE"), aperture); }) &&
              step([&] { return object.AutoTrace(std::string("V"), AutoValue{}); }) &&
              step([&] { return object.Analyze(); });
    for (int term = 1; term <= 36; ++term)
      benchmark::DoNotOptimize(step([&] { return object.Zernike(std::int64_t{term}); }));
    ok = ok && step([&] { return object.Save(saved); });
    if (!ok) state.SkipWithError("a step failed");
    state.PauseTiming();
    CloseAllDocuments();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AutomationScriptInProcess)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);

  // A bus of the run's own: nothing touches the user's session bus.
  QProcess daemon;
  daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
  if (!daemon.waitForStarted(5000) || !daemon.waitForReadyRead(5000)) {
    std::fprintf(stderr, "dbus-daemon could not be started (Debian package dbus-daemon)\n");
    return 1;
  }
  const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
  QDBusConnection server = QDBusConnection::connectToBus(address, QStringLiteral("bench-server"));
  QDBusConnection client = QDBusConnection::connectToBus(address, QStringLiteral("bench-client"));

  MemorySettingsStore store;
  ScopedSettingsStore settings(store);
  ScriptedMessageService messages;
  ScopedMessageService installed(messages);
  g.scratch = std::filesystem::temp_directory_path() / ("orvale-bench-automation-" + std::to_string(::getpid()));
  std::filesystem::create_directories(g.scratch);
  int status = 0;
  {
    AppState app;
    std::string name = "orvale";
    char* args[] = {name.data(), nullptr};
    if (!RunStartupWithInstalledServices(app, 1, args, {}, server) || app.Automation == nullptr) {
      std::fprintf(stderr, "the program did not start its automation\n");
      status = 1;
    } else {
      g.app = &app;
      g.client = &client;
      benchmark::Initialize(&argc, argv);
      benchmark::RunSpecifiedBenchmarks();
      benchmark::Shutdown();
    }
  }
  std::filesystem::remove_all(g.scratch);
  QDBusConnection::disconnectFromBus(QStringLiteral("bench-client"));
  QDBusConnection::disconnectFromBus(QStringLiteral("bench-server"));
  daemon.kill();
  daemon.waitForFinished(5000);
  return status;
}
