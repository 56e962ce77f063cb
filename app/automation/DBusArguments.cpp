#include "app/automation/DBusArguments.h"

#include <QDBusArgument>
#include <QDBusVariant>
#include <QStringList>
#include <limits>

namespace orvale {

namespace {

AutoValue FromDBusValue(const QVariant& value);

template <class Number>
void ReadNumbers(const QDBusArgument& argument, NumberList& list) {
  while (!argument.atEnd()) {
    Number number{};
    argument >> number;
    list.Values.push_back(static_cast<double>(number));
  }
}

// A list of variants keeps the numbers it holds; anything else in it spoils the list.
void ReadVariants(const QDBusArgument& argument, NumberList& list) {
  while (!argument.atEnd()) {
    QDBusVariant element;
    argument >> element;
    const std::optional<double> number = NumericValue(FromDBusValue(element.variant()));
    if (!number) list.AllNumbers = false;
    list.Values.push_back(number.value_or(std::numeric_limits<double>::quiet_NaN()));
  }
}

AutoValue FromList(const QDBusArgument& argument) {
  const QString signature = argument.currentSignature();
  static const QStringList kNumberLists = {"ad", "ai", "au", "an", "aq", "ax", "at", "av"};
  if (!kNumberLists.contains(signature)) return OtherValue{};
  NumberList list;
  argument.beginArray();
  switch (signature.at(1).toLatin1()) {
    case 'd':
      ReadNumbers<double>(argument, list);
      break;
    case 'i':
      ReadNumbers<int>(argument, list);
      break;
    case 'u':
      ReadNumbers<uint>(argument, list);
      break;
    case 'n':
      ReadNumbers<short>(argument, list);
      break;
    case 'q':
      ReadNumbers<ushort>(argument, list);
      break;
    case 'x':
      ReadNumbers<qlonglong>(argument, list);
      break;
    case 't':
      ReadNumbers<qulonglong>(argument, list);
      break;
    default:
      ReadVariants(argument, list);
      break;
  }
  argument.endArray();
  return list;
}

// QtDBus hands an array of bytes over as the bytes themselves.
AutoValue FromBytes(const QByteArray& bytes) {
  NumberList list;
  for (char byte : bytes) list.Values.push_back(static_cast<unsigned char>(byte));
  return list;
}

AutoValue FromDBusValue(const QVariant& value) {
  switch (value.metaType().id()) {
    case QMetaType::Bool:
      return value.toBool();
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
      return static_cast<std::int64_t>(value.toLongLong());
    case QMetaType::ULongLong: {
      const qulonglong number = value.toULongLong();
      if (number <= static_cast<qulonglong>(std::numeric_limits<std::int64_t>::max()))
        return static_cast<std::int64_t>(number);
      return static_cast<double>(number);
    }
    case QMetaType::Double:
      return value.toDouble();
    case QMetaType::QString:
      return value.toString().toStdString();
    case QMetaType::QByteArray:
      return FromBytes(value.toByteArray());
    default:
      break;
  }
  if (value.metaType() == QMetaType::fromType<QDBusArgument>())
    return FromList(qvariant_cast<QDBusArgument>(value));
  return OtherValue{};
}

}  // namespace

AutoValue FromDBusArgument(const QVariant& argument) {
  if (argument.metaType() == QMetaType::fromType<QDBusVariant>()) {
    const QVariant held = qvariant_cast<QDBusVariant>(argument).variant();
    // A variant inside the variant is no value a member takes.
    if (held.metaType() == QMetaType::fromType<QDBusVariant>()) return OtherValue{};
    return FromDBusValue(held);
  }
  return FromDBusValue(argument);
}

}  // namespace orvale
