#include "platform/gdi/QtText.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <mutex>

namespace orvale::gdi {

namespace {

void InstallSubstitutes() {
  static std::once_flag once;
  std::call_once(once, [] {
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
  });
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFontMetrics MetricsFor(const QFont& font, const QPaintDevice* device) {
  return device != nullptr ? QFontMetrics(font, device) : QFontMetrics(font);
}

}  // namespace

bool FontsAvailable() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QFont ToQFont(const LogFont& font, int dpiY) {
  InstallSubstitutes();
  QFont q;
  const std::string face = font.FaceName();
  q.setFamily(face.empty() ? QStringLiteral("Arial") : QString::fromLatin1(face.c_str()));
  q.setStyleStrategy(QFont::NoAntialias);
  if (font.lfWeight > 0) q.setWeight(static_cast<QFont::Weight>(std::clamp(font.lfWeight, 1, 1000)));
  q.setItalic(font.lfItalic != 0);
  q.setUnderline(font.lfUnderline != 0);
  q.setStrikeOut(font.lfStrikeOut != 0);
  int pixelSize = 0;
  if (font.lfHeight < 0) {
    pixelSize = -font.lfHeight;
  } else if (font.lfHeight > 0) {
    // A positive height is the whole cell; find the em size that fills it.
    QFont reference = q;
    reference.setPixelSize(1000);
    const QFontMetricsF m(reference);
    const double cell = m.ascent() + m.descent();
    pixelSize = cell > 0 ? static_cast<int>(std::lround(font.lfHeight * 1000.0 / cell))
                         : font.lfHeight;
  } else {
    pixelSize = static_cast<int>(std::lround(10.0 * (dpiY > 0 ? dpiY : 96) / 72.0));
  }
  q.setPixelSize(std::max(1, pixelSize));
  if (font.lfWidth > 0) {
    const QFontMetricsF m(q);
    const double natural = m.averageCharWidth();
    if (natural > 0) {
      q.setStretch(std::clamp(static_cast<int>(std::lround(font.lfWidth * 100.0 / natural)), 1,
                              4000));
    }
  }
  return q;
}

TextLayout MeasureTextQt(const LogFont& font, std::string_view text, int dpiY,
                         const QPaintDevice* device) {
  TextLayout layout;
  if (!FontsAvailable()) return layout;
  const QFontMetrics metrics = MetricsFor(ToQFont(font, dpiY), device);
  for (std::size_t i = 1; i <= text.size(); ++i) {
    const bool boundary =
        i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (!boundary) continue;
    layout.ends.push_back(i);
    layout.extents.push_back(metrics.horizontalAdvance(ToQString(text.substr(0, i))));
  }
  layout.size.cx = layout.extents.empty() ? 0 : layout.extents.back();
  layout.size.cy = metrics.ascent() + metrics.descent();
  return layout;
}

Size MeasureTextSizeQt(const LogFont& font, std::string_view text, int dpiY,
                       const QPaintDevice* device) {
  if (!FontsAvailable()) return {};
  const QFontMetrics metrics = MetricsFor(ToQFont(font, dpiY), device);
  return Size{metrics.horizontalAdvance(ToQString(text)), metrics.ascent() + metrics.descent()};
}

TextMetrics FontMetricsQt(const LogFont& font, int dpiY, const QPaintDevice* device) {
  TextMetrics tm;
  if (!FontsAvailable()) return tm;
  const QFont q = ToQFont(font, dpiY);
  const QFontMetrics m = MetricsFor(q, device);
  tm.tmAscent = m.ascent();
  tm.tmDescent = m.descent();
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - q.pixelSize());
  tm.tmExternalLeading = std::max(0, m.leading());
  tm.tmAveCharWidth = m.averageCharWidth();
  tm.tmMaxCharWidth = m.maxWidth();
  tm.tmWeight = font.lfWeight > 0 ? font.lfWeight : FW_NORMAL;
  tm.tmItalic = font.lfItalic;
  tm.tmUnderlined = font.lfUnderline;
  return tm;
}

void DrawTextQt(QPainter& painter, const DrawState& state, Point origin, std::string_view text,
                int dpiY) {
  if (!FontsAvailable() || text.empty()) return;
  const QFont font = ToQFont(state.font, dpiY);
  const QFontMetrics metrics(font, painter.device());
  const QString s = ToQString(text);
  const int width = metrics.horizontalAdvance(s);
  const int ascent = metrics.ascent();
  const int descent = metrics.descent();
  int dx = 0;
  switch (state.textAlign & kTextAlignHorizontalMask) {
    case TA_CENTER: dx = -width / 2; break;
    case TA_RIGHT: dx = -width; break;
    default: break;
  }
  int dy = ascent;  // TA_TOP: the reference point is the top of the cell
  switch (state.textAlign & kTextAlignVerticalMask) {
    case TA_BASELINE: dy = 0; break;
    case TA_BOTTOM: dy = -descent; break;
    default: break;
  }
  painter.save();
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.translate(origin.x, origin.y);
  // Escapement turns counter-clockwise on a screen whose y grows downward.
  if (state.font.lfEscapement != 0) painter.rotate(-state.font.lfEscapement / 10.0);
  if (state.bkMode == OPAQUE) {
    painter.fillRect(QRect(dx, dy - ascent, width, ascent + descent),
                     QColor(GetRValue(state.bkColor), GetGValue(state.bkColor),
                            GetBValue(state.bkColor)));
  }
  painter.setFont(font);
  painter.setPen(QColor(GetRValue(state.textColor), GetGValue(state.textColor),
                        GetBValue(state.textColor)));
  painter.drawText(QPoint(dx, dy), s);
  painter.restore();
}

}  // namespace orvale::gdi
