#include "app/automation/OrvaleDocInterface.h"

#include <array>

#include "app/automation/DBusArguments.h"
#include "app/automation/OrvaleDoc.h"

namespace orvale {

namespace {

using Arguments = QList<QVariant>;
using Results = QList<QVariant>;

AutoValue Arg(const Arguments& arguments, qsizetype i) { return FromDBusArgument(arguments[i]); }

// An argument where the empty text stands for "not given" (D-Bus has no optional
// arguments).
AutoValue OptionalArg(const Arguments& arguments, qsizetype i) {
  AutoValue value = Arg(arguments, i);
  const std::string* text = TextValue(value);
  return text != nullptr && text->empty() ? AutoValue{} : value;
}

// The calls of the common shapes of member: none, one or two variant arguments and a
// result, or one variant argument and no result.
template <auto Member>
Results OfNone(OrvaleDoc& o, const Arguments&) {
  return {QVariant::fromValue((o.*Member)())};
}

template <auto Set>
Results Setter(OrvaleDoc& o, const Arguments& a) {
  (o.*Set)(Arg(a, 0));
  return {};
}

template <auto Member>
Results OfOne(OrvaleDoc& o, const Arguments& a) {
  return {QVariant::fromValue((o.*Member)(Arg(a, 0)))};
}

template <auto Member>
Results OfTwo(OrvaleDoc& o, const Arguments& a) {
  return {QVariant::fromValue((o.*Member)(Arg(a, 0), Arg(a, 1)))};
}

const std::array<OrvaleDocMethod, 33> kMethods = {{
    {"GetAberration", "v", "d", &OfOne<&OrvaleDoc::Aberration>},
    {"Analyze", "", "b", &OfNone<&OrvaleDoc::Analyze>},
    {"AutoTrace", "vv", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       return {o.AutoTrace(Arg(a, 0), OptionalArg(a, 1))};
     }},
    {"ExportMap", "v", "b", &OfOne<&OrvaleDoc::ExportMap>},
    {"FringeCenter", "vv", "bdd",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       const FringeCenterPoint point = o.FringeCenter(Arg(a, 0), Arg(a, 1));
       return {true, point.X, point.Y};
     }},
    {"Grab", "", "b", &OfNone<&OrvaleDoc::Grab>},
    {"GridCell", "vv", "bdd",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       const GridCellResult cell = o.GridCell(Arg(a, 0), Arg(a, 1));
       return {true, cell.RMS, cell.PV};
     }},
    {"SetInputWavelength", "v", "", &Setter<&OrvaleDoc::SetInputWavelength>},
    {"GetInputWavelength", "", "d", &OfNone<&OrvaleDoc::GetInputWavelength>},
    {"SetInvertWavefront", "v", "", &Setter<&OrvaleDoc::SetInvertWavefront>},
    {"GetInvertWavefront", "", "b", &OfNone<&OrvaleDoc::GetInvertWavefront>},
    {"SetOrderLimit", "v", "", &Setter<&OrvaleDoc::SetOrderLimit>},
    {"GetOrderLimit", "", "n", &OfNone<&OrvaleDoc::GetOrderLimit>},
    {"SetOutputWavelength", "v", "", &Setter<&OrvaleDoc::SetOutputWavelength>},
    {"GetOutputWavelength", "", "d", &OfNone<&OrvaleDoc::GetOutputWavelength>},
    {"SetRemove", "vv", "",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       o.SetRemove(Arg(a, 0), Arg(a, 1));
       return {};
     }},
    {"GetRemove", "v", "b", &OfOne<&OrvaleDoc::GetRemove>},
    {"Save", "v", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results { return {o.Save(OptionalArg(a, 0))}; }},
    {"GetScaleFactor", "", "d", &OfNone<&OrvaleDoc::GetScaleFactor>},
    {"SetScaleFactor", "v", "", &Setter<&OrvaleDoc::SetScaleFactor>},
    {"Load", "s", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results { return {o.Load(a[0].toString().toStdString())}; }},
    {"SetAperture", "vv", "b", &OfTwo<&OrvaleDoc::SetAperture>},
    {"SetGrid", "iiiiiii", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       return {o.SetGrid(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt(), a[4].toInt(),
                         a[5].toInt(), a[6].toInt())};
     }},
    {"SetObstruction", "vv", "b", &OfTwo<&OrvaleDoc::SetObstruction>},
    {"Stretch", "v", "b", &OfOne<&OrvaleDoc::Stretch>},
    {"SetTrimEdges", "v", "", &Setter<&OrvaleDoc::SetTrimEdges>},
    {"GetTrimEdges", "", "b", &OfNone<&OrvaleDoc::GetTrimEdges>},
    {"GetZernike", "v", "d", &OfOne<&OrvaleDoc::Zernike>},
    {"SetZoom", "v", "", &Setter<&OrvaleDoc::SetZoom>},
    {"GetZoom", "", "i", &OfNone<&OrvaleDoc::GetZoom>},
    {"GetWidth", "", "d", &OfNone<&OrvaleDoc::GetWidth>},
    {"GetHeight", "", "d", &OfNone<&OrvaleDoc::GetHeight>},
    {"SizeWindow", "vv", "b", &OfTwo<&OrvaleDoc::SizeWindow>},
}};

}  // namespace

std::span<const OrvaleDocMethod> OrvaleDocMethods() { return kMethods; }

const OrvaleDocMethod* FindOrvaleDocMethod(std::string_view name) {
  for (const OrvaleDocMethod& method : kMethods)
    if (method.Name == name) return &method;
  return nullptr;
}

}  // namespace orvale
