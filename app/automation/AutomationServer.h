#pragma once
// The automation server on a D-Bus connection: the service com.halvern.Orvale, the
// factory object /com/halvern/Orvale that makes OrvaleDoc objects, and those objects at
// /com/halvern/Orvale/OrvaleDoc/<n> (n counts up and is never reused). An object lives
// until a client calls its Release, whoever made it and whether or not that client is
// still on the bus, so that a script running one command-line call per step can make
// an object in one step and use it in the next.
//
// Calls run one at a time, in the order they came, from the event loop: never inside
// another call, and never while the user has a modal window or a pop-up menu open
// (they wait until it closes). A call whose client has left the bus by then is dropped.
// Every error comes back as its D-Bus error, named with its code and source, whose body
// is its description alone; no failure leaves a call without an answer.
#include <QDBusConnection>
#include <QDBusMessage>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>

#include "app/automation/AutomationContext.h"

namespace orvale {

class OrvaleDoc;

class AutomationServer {
 public:
  static constexpr const char* kServiceName = "com.halvern.Orvale";
  static constexpr const char* kFactoryPath = "/com/halvern/Orvale";
  static constexpr const char* kObjectsPath = "/com/halvern/Orvale/OrvaleDoc";

  // `context` must outlive the server.
  AutomationServer(AutomationContext& context, QDBusConnection connection);
  ~AutomationServer();
  AutomationServer(const AutomationServer&) = delete;
  AutomationServer& operator=(const AutomationServer&) = delete;

  // Serves the objects, then takes the service name last, so that a client started by
  // D-Bus activation reaches a program that is ready. False when there is no bus or
  // another program owns the name: the program then runs without automation, and one
  // line on stderr says so.
  bool Start();

  // The objects alive, and the calls waiting to run (tests).
  std::size_t ObjectCount() const { return objects_.size(); }
  std::size_t PendingCalls() const { return queue_.size(); }

 private:
  class Dispatcher;
  struct PendingCall {
    QDBusMessage message;
    QDBusConnection connection;
    bool waited;  // it did not run at once: its client may have left meanwhile
  };

  void Enqueue(const QDBusMessage& message, const QDBusConnection& connection);
  void ScheduleNext(int delayMs);
  void RunNext();
  QDBusMessage Answer(const QDBusMessage& message);
  QDBusMessage AnswerFactory(const QDBusMessage& message);
  QDBusMessage AnswerObject(const QDBusMessage& message);
  // The object a path names; null for any other path.
  OrvaleDoc* ObjectAt(const QString& path) const;
  QString Introspect(const QString& path) const;

  AutomationContext& context_;
  QDBusConnection connection_;
  std::unique_ptr<Dispatcher> dispatcher_;
  bool registered_ = false;
  std::map<std::uint64_t, std::unique_ptr<OrvaleDoc>> objects_;
  std::uint64_t lastObject_ = 0;
  std::deque<PendingCall> queue_;
  bool running_ = false;
  bool scheduled_ = false;
};

}  // namespace orvale
