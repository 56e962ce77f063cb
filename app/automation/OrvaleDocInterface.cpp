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

const std::array<OrvaleDocMethod, 33> kMethods = {{
    {"GetAberration", "v", "d",
     [](OrvaleDoc& o, const Arguments& a) -> Results { return {o.Aberration(Arg(a, 0))}; }},
    {"Analyze", "", "b", [](OrvaleDoc& o, const Arguments&) -> Results { return {o.Analyze()}; }},
    {"AutoTrace", "vv", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       return {o.AutoTrace(Arg(a, 0), OptionalArg(a, 1))};
     }},
    {"ExportMap", "v", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results { return {o.ExportMap(Arg(a, 0))}; }},
    {"FringeCenter", "vv", "bdd",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       const FringeCenterPoint point = o.FringeCenter(Arg(a, 0), Arg(a, 1));
       return {true, point.X, point.Y};
     }},
    {"Grab", "", "b", [](OrvaleDoc& o, const Arguments&) -> Results { return {o.Grab()}; }},
    {"GridCell", "vv", "bdd",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       const GridCellResult cell = o.GridCell(Arg(a, 0), Arg(a, 1));
       return {true, cell.RMS, cell.PV};
     }},
    {"SetInputWavelength", "v", "",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       o.SetInputWavelength(Arg(a, 0));
       return {};
     }},
    {"GetInputWavelength", "", "d",
     [](OrvaleDoc& o, const Arguments&) -> Results { return {o.GetInputWavelength()}; }},
    {"SetInvertWavefront", "v", "",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       o.SetInvertWavefront(Arg(a, 0));
       return {};
     }},
    {"GetInvertWavefront", "", "b",
     [](OrvaleDoc& o, const Arguments&) -> Results { return {o.GetInvertWavefront()}; }},
    {"SetOrderLimit", "v", "",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       o.SetOrderLimit(Arg(a, 0));
       return {};
     }},
    {"GetOrderLimit", "", "n",
     [](OrvaleDoc& o, const Arguments&) -> Results { return {QVariant::fromValue(o.GetOrderLimit())}; }},
    {"SetOutputWavelength", "v", "",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       o.SetOutputWavelength(Arg(a, 0));
       return {};
     }},
    {"GetOutputWavelength", "", "d",
     [](OrvaleDoc& o, const Arguments&) -> Results { return {o.GetOutputWavelength()}; }},
    {"SetRemove", "vv", "",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       o.SetRemove(Arg(a, 0), Arg(a, 1));
       return {};
     }},
    {"GetRemove", "v", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results { return {o.GetRemove(Arg(a, 0))}; }},
    {"Save", "v", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results { return {o.Save(OptionalArg(a, 0))}; }},
    {"GetScaleFactor", "", "d",
     [](OrvaleDoc& o, const Arguments&) -> Results { return {o.GetScaleFactor()}; }},
    {"SetScaleFactor", "v", "",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       o.SetScaleFactor(Arg(a, 0));
       return {};
     }},
    {"Load", "s", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       return {o.Load(a[0].toString().toStdString())};
     }},
    {"SetAperture", "vv", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       return {o.SetAperture(Arg(a, 0), Arg(a, 1))};
     }},
    {"SetGrid", "iiiiiii", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       return {o.SetGrid(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt(), a[4].toInt(),
                         a[5].toInt(), a[6].toInt())};
     }},
    {"SetObstruction", "vv", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       return {o.SetObstruction(Arg(a, 0), Arg(a, 1))};
     }},
    {"Stretch", "v", "b", [](OrvaleDoc& o, const Arguments& a) -> Results { return {o.Stretch(Arg(a, 0))}; }},
    {"SetTrimEdges", "v", "",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       o.SetTrimEdges(Arg(a, 0));
       return {};
     }},
    {"GetTrimEdges", "", "b", [](OrvaleDoc& o, const Arguments&) -> Results { return {o.GetTrimEdges()}; }},
    {"GetZernike", "v", "d",
     [](OrvaleDoc& o, const Arguments& a) -> Results { return {o.Zernike(Arg(a, 0))}; }},
    {"SetZoom", "v", "",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       o.SetZoom(Arg(a, 0));
       return {};
     }},
    {"GetZoom", "", "i", [](OrvaleDoc& o, const Arguments&) -> Results { return {o.GetZoom()}; }},
    {"GetWidth", "", "d", [](OrvaleDoc& o, const Arguments&) -> Results { return {o.GetWidth()}; }},
    {"GetHeight", "", "d", [](OrvaleDoc& o, const Arguments&) -> Results { return {o.GetHeight()}; }},
    {"SizeWindow", "vv", "b",
     [](OrvaleDoc& o, const Arguments& a) -> Results {
       return {o.SizeWindow(Arg(a, 0), Arg(a, 1))};
     }},
}};

}  // namespace

std::span<const OrvaleDocMethod> OrvaleDocMethods() { return kMethods; }

const OrvaleDocMethod* FindOrvaleDocMethod(std::string_view name) {
  for (const OrvaleDocMethod& method : kMethods)
    if (method.Name == name) return &method;
  return nullptr;
}

}  // namespace orvale
