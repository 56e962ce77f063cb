#include "platform/gdi/RecordingDeviceContext.h"

#include <QImage>
#include <sstream>

#include "platform/gdi/QtText.h"
#include "platform/gdi/RasterSurface.h"

namespace orvale::gdi {

std::string ColorDescription(Color color) {
  std::ostringstream out;
  out << "rgb(" << int{GetRValue(color)} << ',' << int{GetGValue(color)} << ','
      << int{GetBValue(color)} << ')';
  return out.str();
}

std::string Rop2Name(int rop2) {
  static const char* const kNames[] = {"BLACK",   "NOTMERGEPEN", "MASKNOTPEN", "NOTCOPYPEN",
                                       "MASKPENNOT", "NOT",     "XORPEN",     "NOTMASKPEN",
                                       "MASKPEN", "NOTXORPEN",   "NOP",        "MERGENOTPEN",
                                       "COPYPEN", "MERGEPENNOT", "MERGEPEN",   "WHITE"};
  if (!IsValidRop2(rop2)) return "?";
  return kNames[rop2 - 1];
}

std::string PenDescription(const Pen& pen) {
  static const char* const kStyles[] = {"solid", "dash", "dot", "dashdot",
                                        "dashdotdot", "null", "insideframe"};
  const char* style = pen.style >= 0 && pen.style <= PS_INSIDEFRAME ? kStyles[pen.style] : "?";
  return std::string(style) + "," + std::to_string(pen.width) + "," +
         ColorDescription(pen.color);
}

std::string BrushDescription(const Brush& brush) {
  switch (brush.style) {
    case BS_NULL: return "hollow";
    case BS_HATCHED:
      return "hatch" + std::to_string(brush.hatch) + "," + ColorDescription(brush.color);
    default: return "solid," + ColorDescription(brush.color);
  }
}

namespace {

std::string AlignDescription(std::uint32_t align) {
  std::string h = "LEFT";
  if ((align & kTextAlignHorizontalMask) == TA_CENTER) h = "CENTER";
  else if ((align & kTextAlignHorizontalMask) == TA_RIGHT) h = "RIGHT";
  std::string v = "TOP";
  if ((align & kTextAlignVerticalMask) == TA_BASELINE) v = "BASELINE";
  else if ((align & kTextAlignVerticalMask) == TA_BOTTOM) v = "BOTTOM";
  return h + "|" + v;
}

std::string RectDescription(const Rect& r) {
  std::ostringstream out;
  out << '(' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ')';
  return out.str();
}

}  // namespace

std::string DrawRecord::ToString() const {
  std::ostringstream out;
  out << call;
  if (call == "SelectPalette" || call == "RealizePalette") {
    out << " palette=#" << static_cast<std::uintptr_t>(state.palette)
        << (state.paletteInBackground ? " background" : " foreground");
    return out.str();
  }
  if (!points.empty()) {
    out << ' ';
    for (std::size_t i = 0; i < points.size(); ++i) {
      out << (i ? "-" : "") << '(' << points[i].x << ',' << points[i].y << ')';
    }
  }
  if (!rect.IsEmpty()) out << " rect=" << RectDescription(rect);
  if (!sourceRect.IsEmpty()) out << " source=" << RectDescription(sourceRect);
  if (call == "SetPixel" || call == "SetPixels") out << " color=" << ColorDescription(color);
  if (!colors.empty()) out << " colors=" << colors.size();
  if (!text.empty()) {
    out << " text=\"" << text << "\" font=\"" << state.font.FaceName()
        << "\" height=" << state.font.lfHeight << " weight=" << state.font.lfWeight
        << " escapement=" << state.font.lfEscapement << " align=" << AlignDescription(state.textAlign)
        << " textcolor=" << ColorDescription(state.textColor)
        << " bk=" << (state.bkMode == OPAQUE ? "opaque," + ColorDescription(state.bkColor)
                                             : std::string("transparent"));
  } else {
    out << " pen=" << PenDescription(state.pen) << " brush=" << BrushDescription(state.brush)
        << " rop2=" << Rop2Name(state.rop2)
        << " fill=" << (state.polyFillMode == WINDING ? "WINDING" : "ALTERNATE");
  }
  if (rop3 != 0) {
    std::ostringstream hex;
    hex << std::hex << std::uppercase << rop3;
    out << " rop=0x" << hex.str() << " brush=" << BrushDescription(brush);
  }
  out << " clip=" << (state.clip ? RectDescription(state.clip->Box()) : std::string("none"));
  return out.str();
}

class RecordingDeviceContext::Surface : public DrawingSurface {
 public:
  Surface(const DeviceCaps& caps, bool drawIntoImage) : caps_(caps) {
    if (drawIntoImage) {
      image_ = std::make_unique<QImage>(std::max(1, caps.horzRes), std::max(1, caps.vertRes),
                                        QImage::Format_RGB32);
      image_->fill(0xFFFFFFFFu);
      inner_ = std::make_unique<RasterSurface>(*image_, caps);
    }
  }

  DeviceCaps Caps() const override { return caps_; }
  Rect Bounds() const override { return Rect{0, 0, caps_.horzRes, caps_.vertRes}; }

  void Polyline(std::string_view call, const DrawState& state, std::span<const Point> points,
                bool closed) override {
    Add(call, state).points.assign(points.begin(), points.end());
    if (inner_) inner_->Polyline(call, state, points, closed);
  }
  void Polygon(std::string_view call, const DrawState& state,
               std::span<const Point> points) override {
    Add(call, state).points.assign(points.begin(), points.end());
    if (inner_) inner_->Polygon(call, state, points);
  }
  void Rectangle(std::string_view call, const DrawState& state, const Rect& box) override {
    Add(call, state).rect = box;
    if (inner_) inner_->Rectangle(call, state, box);
  }
  void Ellipse(std::string_view call, const DrawState& state, const Rect& box) override {
    Add(call, state).rect = box;
    if (inner_) inner_->Ellipse(call, state, box);
  }
  void PatternBlt(std::string_view call, const DrawState& state, const Rect& box,
                  const Brush& brush, std::uint32_t rop3) override {
    DrawRecord& record = Add(call, state);
    record.rect = box;
    record.brush = brush;
    record.rop3 = rop3;
    if (inner_) inner_->PatternBlt(call, state, box, brush, rop3);
  }
  void SetPixels(std::string_view call, const DrawState& state, std::span<const Point> points,
                 Color color) override {
    DrawRecord& record = Add(call, state);
    record.points.assign(points.begin(), points.end());
    record.color = color;
    if (inner_) inner_->SetPixels(call, state, points, color);
  }
  void SetPixelRow(std::string_view call, const DrawState& state, Point start,
                   std::span<const Color> colors) override {
    DrawRecord& record = Add(call, state);
    record.points = {start};
    record.colors.assign(colors.begin(), colors.end());
    if (inner_) inner_->SetPixelRow(call, state, start, colors);
  }
  Color GetPixel(Point p) const override { return inner_ ? inner_->GetPixel(p) : kInvalidColor; }
  void TextOut(std::string_view call, const DrawState& state, Point origin,
               std::string_view text) override {
    DrawRecord& record = Add(call, state);
    record.points = {origin};
    record.text = std::string(text);
    if (inner_) inner_->TextOut(call, state, origin, text);
  }
  TextLayout MeasureText(const LogFont& font, std::string_view text) const override {
    return inner_ ? inner_->MeasureText(font, text)
                  : MeasureTextQt(font, text, caps_.logPixelsY, nullptr);
  }
  Size MeasureTextSize(const LogFont& font, std::string_view text) const override {
    return inner_ ? inner_->MeasureTextSize(font, text)
                  : MeasureTextSizeQt(font, text, caps_.logPixelsY, nullptr);
  }
  TextMetrics FontMetrics(const LogFont& font) const override {
    return inner_ ? inner_->FontMetrics(font) : FontMetricsQt(font, caps_.logPixelsY, nullptr);
  }
  void Blit(std::string_view call, const DrawState& state, const BlitGeometry& g,
            const PixelSource& source, std::uint32_t rop3) override {
    DrawRecord& record = Add(call, state);
    record.rect = RectOf(SpanOf(g.xDest, g.wDest), SpanOf(g.yDest, g.hDest));
    record.sourceRect = RectOf(SpanOf(g.xSrc, g.wSrc), SpanOf(g.ySrc, g.hSrc));
    record.rop3 = rop3;
    record.brush = state.brush;
    if (inner_) inner_->Blit(call, state, g, source, rop3);
  }
  std::optional<PixelSource> Pixels() const override {
    return inner_ ? inner_->Pixels() : std::nullopt;
  }
  void Note(std::string_view call, const DrawState& state) override { Add(call, state); }

  std::vector<DrawRecord> records;
  const QImage* image() const { return image_.get(); }

 private:
  DrawRecord& Add(std::string_view call, const DrawState& state) {
    DrawRecord& record = records.emplace_back();
    record.call = std::string(call);
    record.state = state;
    return record;
  }

  DeviceCaps caps_;
  std::unique_ptr<QImage> image_;
  std::unique_ptr<RasterSurface> inner_;
};

RecordingDeviceContext::RecordingDeviceContext(const DeviceCaps& caps, bool drawIntoImage)
    : DeviceContext(std::make_unique<Surface>(caps, drawIntoImage)),
      recorder_(static_cast<Surface*>(&surface())) {}

RecordingDeviceContext::~RecordingDeviceContext() = default;

const std::vector<DrawRecord>& RecordingDeviceContext::Records() const {
  return recorder_->records;
}
void RecordingDeviceContext::ClearRecords() { recorder_->records.clear(); }

std::string RecordingDeviceContext::Log() const {
  std::string log;
  for (const DrawRecord& record : recorder_->records) log += record.ToString() + "\n";
  return log;
}

const QImage* RecordingDeviceContext::Image() const { return recorder_->image(); }

}  // namespace orvale::gdi
