#include "app/automation/AutomationServer.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QFile>
#include <QTimer>
#include <exception>
#include <string>

#include "app/automation/AutomationCall.h"
#include "app/automation/OrvaleDoc.h"
#include "app/automation/OrvaleDocInterface.h"
#include "app/automation/OrvaleDocTypes.h"
#include "platform/com/AutomationError.h"

namespace orvale {

namespace {

// How often a call waiting behind a modal window looks again.
constexpr int kModalPollMs = 20;

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Resource(const char* name) {
  QFile file(QStringLiteral(":/automation/") + QLatin1String(name));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QDBusMessage BusError(const QDBusMessage& message, const char* name, const QString& text) {
  return message.createErrorReply(QLatin1String(name), text);
}

// The object's error: its code and source in the error's name, its description the
// body's one string, which is all that gdbus and other GLib clients show of a body.
QDBusMessage ObjectError(const QDBusMessage& message, std::uint32_t code, const std::string& source,
                         const std::string& description) {
  return message.createErrorReply(QString::fromStdString(AutomationErrorName(code, source)),
                                  QString::fromStdString(description));
}

bool IsOneOf(const QString& interface, std::string_view expected) {
  return interface.isEmpty() || interface == Q(expected);
}

QDBusMessage WrongArguments(const QDBusMessage& message, std::string_view expected) {
  return BusError(message, "org.freedesktop.DBus.Error.InvalidArgs",
                  QStringLiteral("Wrong arguments for %1: expected (%2), got (%3)")
                      .arg(message.member(), Q(expected), message.signature()));
}

QDBusMessage UnknownMethod(const QDBusMessage& message) {
  return BusError(message, "org.freedesktop.DBus.Error.UnknownMethod",
                  QStringLiteral("No such method '%1' in interface '%2' at object path '%3'")
                      .arg(message.member(), message.interface(), message.path()));
}

}  // namespace

// The one D-Bus object behind every path of the service: it queues each call for the
// event loop and answers later; introspection and Ping are left to QtDBus.
class AutomationServer::Dispatcher final : public QDBusVirtualObject {
 public:
  explicit Dispatcher(AutomationServer& server) : server_(server) {}

  QString introspect(const QString& path) const override { return server_.Introspect(path); }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    const QString interface = message.interface();
    if (interface == QLatin1String("org.freedesktop.DBus.Introspectable") ||
        interface == QLatin1String("org.freedesktop.DBus.Peer")) {
      return false;
    }
    server_.Enqueue(message, connection);
    return true;
  }

 private:
  AutomationServer& server_;
};

AutomationServer::AutomationServer(AutomationContext& context, QDBusConnection connection)
    : context_(context), connection_(std::move(connection)),
      dispatcher_(std::make_unique<Dispatcher>(*this)) {}

AutomationServer::~AutomationServer() {
  if (registered_) {
    connection_.unregisterService(QLatin1String(kServiceName));
    connection_.unregisterObject(QLatin1String(kFactoryPath), QDBusConnection::UnregisterTree);
  }
  // Nobody will run what is still waiting; its clients hear so at once.
  for (const PendingCall& call : queue_) {
    call.connection.send(
        BusError(call.message, "org.freedesktop.DBus.Error.Failed", QStringLiteral("The program is ending.")));
  }
}

bool AutomationServer::Start() {
  if (!connection_.isConnected()) {
    LogAutomation("off (no D-Bus session bus)");
    return false;
  }
  if (!connection_.registerVirtualObject(QLatin1String(kFactoryPath), dispatcher_.get(),
                                         QDBusConnection::SubPath)) {
    LogAutomation("off (its objects could not be registered on the bus)");
    return false;
  }
  if (!connection_.registerService(QLatin1String(kServiceName))) {
    connection_.unregisterObject(QLatin1String(kFactoryPath), QDBusConnection::UnregisterTree);
    LogAutomation(std::string("off (") + kServiceName + " is owned by another program)");
    return false;
  }
  registered_ = true;
  return true;
}

void AutomationServer::Enqueue(const QDBusMessage& message, const QDBusConnection& connection) {
  const bool waits = running_ || !queue_.empty();
  queue_.push_back({message, connection, waits});
  ScheduleNext(0);
}

void AutomationServer::ScheduleNext(int delayMs) {
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(delayMs, dispatcher_.get(), [this] {
    scheduled_ = false;
    RunNext();
  });
}

void AutomationServer::RunNext() {
  // A call that runs the event loop (and so reaches here) is finished first; it
  // schedules the next one when it ends.
  if (running_ || queue_.empty()) return;
  if (QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr) {
    for (PendingCall& call : queue_) call.waited = true;
    ScheduleNext(kModalPollMs);
    return;
  }
  PendingCall call = std::move(queue_.front());
  queue_.pop_front();
  const bool clientThere =
      !call.waited || call.connection.interface()->isServiceRegistered(call.message.service()).value();
  if (clientThere) {
    running_ = true;
    const QDBusMessage reply = Answer(call.message);
    running_ = false;
    call.connection.send(reply);
  }
  if (!queue_.empty()) ScheduleNext(0);
}

QDBusMessage AutomationServer::Answer(const QDBusMessage& message) {
  AutomationCall call;
  try {
    if (message.path() == QLatin1String(kFactoryPath)) return AnswerFactory(message);
    return AnswerObject(message);
  } catch (const AutomationError& e) {
    return ObjectError(message, e.Code(), e.Source(), e.Description());
  } catch (const std::exception& e) {
    return ObjectError(message, kAutomationFailure, std::string(kOrvaleDocSource), e.what());
  } catch (...) {
    return ObjectError(message, kAutomationFailure, std::string(kOrvaleDocSource), "Unknown error");
  }
}

QDBusMessage AutomationServer::AnswerFactory(const QDBusMessage& message) {
  if (!IsOneOf(message.interface(), kFactoryInterface) || message.member() != QLatin1String("CreateOrvaleDoc"))
    return UnknownMethod(message);
  if (!message.signature().isEmpty()) return WrongArguments(message, "");
  const std::uint64_t number = ++lastObject_;
  objects_.emplace(number, std::make_unique<OrvaleDoc>(context_));
  const QString path = QLatin1String(kObjectsPath) + QLatin1Char('/') + QString::number(number);
  return message.createReply(QVariant::fromValue(QDBusObjectPath(path)));
}

QDBusMessage AutomationServer::AnswerObject(const QDBusMessage& message) {
  OrvaleDoc* object = ObjectAt(message.path());
  if (object == nullptr) {
    return BusError(message, "org.freedesktop.DBus.Error.UnknownObject",
                    QStringLiteral("No such object path '%1'").arg(message.path()));
  }
  if (!IsOneOf(message.interface(), kOrvaleDocInterface)) return UnknownMethod(message);
  const std::string member = message.member().toStdString();
  if (member == "Release") {
    if (!message.signature().isEmpty()) return WrongArguments(message, "");
    objects_.erase(message.path().section(QLatin1Char('/'), -1).toULongLong());
    return message.createReply();
  }
  const OrvaleDocMethod* method = FindOrvaleDocMethod(member);
  if (method == nullptr) return UnknownMethod(message);
  if (message.signature() != Q(method->In)) return WrongArguments(message, method->In);
  return message.createReply(method->Call(*object, message.arguments()));
}

OrvaleDoc* AutomationServer::ObjectAt(const QString& path) const {
  const QString prefix = QLatin1String(kObjectsPath) + QLatin1Char('/');
  if (!path.startsWith(prefix)) return nullptr;
  bool isNumber = false;
  const std::uint64_t number = path.mid(prefix.size()).toULongLong(&isNumber);
  // Only the path the factory gave out: "/7", never "/07" or "/+7".
  if (!isNumber || prefix + QString::number(number) != path) return nullptr;
  const auto found = objects_.find(number);
  return found != objects_.end() ? found->second.get() : nullptr;
}

QString AutomationServer::Introspect(const QString& path) const {
  static const QString factory = Resource("com.halvern.Orvale.Factory.xml");
  static const QString object = Resource("com.halvern.Orvale.OrvaleDoc.xml");
  if (path == QLatin1String(kFactoryPath)) return factory + QStringLiteral("<node name=\"OrvaleDoc\"/>");
  if (path == QLatin1String(kObjectsPath)) {
    QString children;
    for (const auto& entry : objects_)
      children += QStringLiteral("<node name=\"%1\"/>").arg(entry.first);
    return children;
  }
  return ObjectAt(path) != nullptr ? object : QString();
}

}  // namespace orvale
