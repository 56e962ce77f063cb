#pragma once
// The arguments of a D-Bus call as the automation members take them. A variant
// argument ("v") becomes an AutoValue by what it holds: "b" a Boolean; "y n q i u x t"
// a whole number; "d" a real; "s" a text; an array of any of those numbers ("ay an aq
// ai au ax at ad") or of variants ("av") a list of numbers (control points); anything
// else (object paths, signatures, dictionaries, nested variants, ...) a value no member
// takes.
#include <QVariant>

#include "app/automation/AutoValue.h"

namespace orvale {

// `argument` is the QDBusVariant of a "v" argument; any other argument is taken as the
// value it holds.
AutoValue FromDBusArgument(const QVariant& argument);

}  // namespace orvale
