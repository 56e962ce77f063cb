#include "app/frame/ToolBarImages.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <cmath>
#include <numbers>

#include "app/frame/PointerShapes.h"

namespace orvale {

namespace {

using Painter = void (*)(QPainter&);

const QColor kInk(40, 40, 40);
const QColor kBlue(30, 90, 190);
const QColor kPaper(250, 250, 245);

void Pen(QPainter& p, const QColor& color, qreal width = 1.0) {
  p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void Glyph(QPainter& p, const QString& text, const QColor& color, int pixelSize, bool italic,
           const QRectF& box = QRectF(0, 0, 16, 16)) {
  QFont font("Liberation Serif");
  font.setPixelSize(pixelSize);
  font.setBold(true);
  font.setItalic(italic);
  p.setFont(font);
  p.setPen(color);
  p.drawText(box, Qt::AlignCenter, text);
}

void Magnifier(QPainter& p, const QColor& lens) {
  Pen(p, QColor(90, 60, 30), 2.6);
  p.drawLine(QPointF(10.0, 10.0), QPointF(14.5, 14.5));
  Pen(p, kInk, 1.3);
  p.setBrush(lens);
  p.drawEllipse(QPointF(6.5, 6.5), 5.0, 5.0);
}

void Page(QPainter& p, const QRectF& r) {
  Pen(p, kInk);
  p.setBrush(kPaper);
  p.drawPath(Outline({r.topLeft(), {r.right() - 3, r.top()}, {r.right(), r.top() + 3}, r.bottomRight(),
                      r.bottomLeft()}));
}

void Camera(QPainter& p) {
  Pen(p, kInk);
  p.setBrush(QColor(70, 70, 80));
  p.drawRoundedRect(QRectF(1.5, 4.5, 13, 9), 1.5, 1.5);
  p.drawRect(QRectF(4.5, 2.5, 4, 2));
  p.setBrush(QColor(120, 170, 230));
  Pen(p, QColor(220, 220, 220));
  p.drawEllipse(QPointF(8, 9), 3.2, 3.2);
  p.setBrush(QColor(255, 210, 60));
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(11.5, 5.5, 2, 1.5));
}

void Open(QPainter& p) {
  Pen(p, QColor(120, 90, 20));
  p.setBrush(QColor(230, 190, 80));
  p.drawRect(QRectF(1.5, 3.5, 11, 10));
  p.drawRect(QRectF(1.5, 2.5, 5, 1.5));
  p.setBrush(QColor(250, 220, 120));
  p.drawPath(Outline({{1.5, 13.5}, {4.5, 7.5}, {15.0, 7.5}, {12.5, 13.5}}));
}

void Save(QPainter& p) {
  Pen(p, kInk);
  p.setBrush(kBlue);
  p.drawPath(Outline({{1.5, 1.5}, {13.0, 1.5}, {14.5, 3.0}, {14.5, 14.5}, {1.5, 14.5}}));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(3.5, 1.5, 9, 5.5));
  p.setBrush(QColor(190, 190, 200));
  p.drawRect(QRectF(4.5, 9.5, 7, 5));
  p.fillRect(QRectF(9.0, 10.5, 1.5, 3), kBlue);
}

void Print(QPainter& p) {
  Page(p, QRectF(3.5, 0.5, 9, 6));
  Pen(p, kInk);
  p.setBrush(QColor(170, 170, 175));
  p.drawRoundedRect(QRectF(0.5, 5.5, 15, 6), 1.5, 1.5);
  p.setBrush(kPaper);
  p.drawRect(QRectF(3.5, 10.5, 9, 5));
  Pen(p, QColor(120, 120, 120));
  p.drawLine(QPointF(5, 12.5), QPointF(11, 12.5));
  p.fillRect(QRectF(12.5, 7, 1.5, 1.5), QColor(60, 200, 60));
}

void Preview(QPainter& p) {
  Page(p, QRectF(1.5, 0.5, 10, 14));
  Pen(p, QColor(150, 150, 150));
  for (int y = 3; y <= 7; y += 2) p.drawLine(QPointF(3.5, y + 0.5), QPointF(9.0, y + 0.5));
  p.save();
  p.translate(4, 4);
  p.scale(0.75, 0.75);
  Magnifier(p, QColor(200, 230, 255, 220));
  p.restore();
}

void ToolBox(QPainter& p) {
  Pen(p, kInk);
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(5.5, 2.5, 5, 3), 1, 1);
  p.setBrush(QColor(200, 40, 40));
  p.drawRect(QRectF(0.5, 5.5, 15, 9));
  p.setBrush(QColor(150, 20, 20));
  p.drawRect(QRectF(0.5, 5.5, 15, 3));
  p.setBrush(QColor(220, 220, 220));
  p.drawRect(QRectF(6.5, 7.5, 3, 2));
}

void Analyze(QPainter& p) {
  Pen(p, kInk);
  p.setBrush(kPaper);
  p.drawRect(QRectF(0.5, 0.5, 15, 15));
  p.fillRect(QRectF(1, 1, 15, 3), kBlue);
  // Three option boxes, two of them ticked.
  for (int row = 0; row < 3; ++row) {
    const qreal y = 5.5 + row * 3.5;
    Pen(p, kInk);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, y, 2.5, 2.5));
    Pen(p, QColor(130, 130, 130));
    p.drawLine(QPointF(6.5, y + 1.25), QPointF(13.5, y + 1.25));
    if (row != 1) {
      Pen(p, QColor(20, 140, 20), 1.2);
      p.drawLine(QPointF(2.8, y + 1.2), QPointF(3.6, y + 2.2));
      p.drawLine(QPointF(3.6, y + 2.2), QPointF(5.4, y - 0.6));
    }
  }
}

void Average(QPainter& p) {
  Pen(p, kInk, 1.4);
  p.drawLine(QPointF(3.5, 3.0), QPointF(12.5, 3.0));
  Glyph(p, "x", kInk, 15, true, QRectF(0, 2, 16, 14));
}

void GridAnalyzeWin(QPainter& p) {
  Pen(p, kInk);
  p.setBrush(kPaper);
  p.drawRect(QRectF(0.5, 0.5, 15, 15));
  p.fillRect(QRectF(1, 1, 15, 3), kBlue);
  Pen(p, QColor(30, 120, 60));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(8, 10), 5, 5);
  for (int i = 0; i <= 3; ++i) {
    const qreal v = 4.0 + i * 3.5;
    p.drawLine(QPointF(v, 5.0), QPointF(v, 15.0));
    p.drawLine(QPointF(2.5, 6.0 + i * 3.0), QPointF(13.5, 6.0 + i * 3.0));
  }
}

void RefZernike(QPainter& p) {
  Glyph(p, "Z", kBlue, 14, false, QRectF(-2, -2, 14, 16));
  Glyph(p, "r", QColor(180, 40, 40), 10, true, QRectF(8, 6, 8, 10));
}

void MathOps(QPainter& p) {
  Pen(p, kInk, 1.5);
  p.drawLine(QPointF(4, 1.5), QPointF(4, 6.5));
  p.drawLine(QPointF(1.5, 4), QPointF(6.5, 4));
  p.drawLine(QPointF(9.5, 4), QPointF(14.5, 4));
  p.drawLine(QPointF(2, 10), QPointF(6, 14));
  p.drawLine(QPointF(6, 10), QPointF(2, 14));
  p.drawLine(QPointF(9.5, 12), QPointF(14.5, 12));
  p.setBrush(kInk);
  p.drawEllipse(QPointF(12, 9.8), 0.6, 0.6);
  p.drawEllipse(QPointF(12, 14.2), 0.6, 0.6);
}

void Plot3D(QPainter& p) {
  // A bowl seen from above at an angle: a small wire mesh.
  auto point = [](double u, double v) {
    const double z = 2.2 * (u * u + v * v);
    return QPointF(8.0 + 6.0 * (u - v) * 0.9, 9.5 + 3.0 * (u + v) * 0.9 - z);
  };
  Pen(p, QColor(20, 110, 60), 0.9);
  for (int i = 0; i <= 4; ++i) {
    QPainterPath a;
    QPainterPath b;
    for (int j = 0; j <= 8; ++j) {
      const double s = -1.0 + j / 4.0;
      const double t = -1.0 + i / 2.0;
      if (j == 0) {
        a.moveTo(point(s, t));
        b.moveTo(point(t, s));
      } else {
        a.lineTo(point(s, t));
        b.lineTo(point(t, s));
      }
    }
    p.drawPath(a);
    p.drawPath(b);
  }
}

void Contour(QPainter& p) {
  const std::array<QColor, 4> colors = {QColor(200, 30, 30), QColor(230, 160, 20),
                                        QColor(40, 170, 60), QColor(30, 80, 200)};
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 4; ++i) {
    Pen(p, colors[static_cast<std::size_t>(i)], 1.2);
    p.drawEllipse(QPointF(8, 8), 1.5 + 2.0 * i, 1.2 + 1.8 * i);
  }
}

void Line(QPainter& p) {
  Pen(p, kInk);
  p.drawLine(QPointF(1.5, 1), QPointF(1.5, 14.5));
  p.drawLine(QPointF(1.5, 14.5), QPointF(15, 14.5));
  Pen(p, QColor(200, 30, 30), 1.4);
  QPainterPath curve;
  for (int x = 0; x <= 12; ++x) {
    const double y = 8.0 - 5.0 * std::sin(x / 12.0 * std::numbers::pi * 1.5);
    const QPointF pt(2.5 + x, y);
    if (x == 0) curve.moveTo(pt); else curve.lineTo(pt);
  }
  p.drawPath(curve);
}

void Fringes(QPainter& p, bool vertical, bool traced) {
  QPainterPath disk;
  disk.addEllipse(QPointF(8, 8), 7, 7);
  p.setClipPath(disk);
  p.fillRect(QRectF(0, 0, 16, 16), QColor(235, 235, 235));
  for (int k = 0; k < 4; ++k) {
    const qreal c = 2.0 + k * 4.0;
    const QRectF band = vertical ? QRectF(c - 1.0, 0, 2.0, 16) : QRectF(0, c - 1.0, 16, 2.0);
    p.fillRect(band, traced ? QColor(90, 90, 90) : QColor(30, 30, 30));
  }
  if (traced) {
    Pen(p, QColor(255, 40, 40), 1.0);
    for (int k = 0; k < 4; ++k) {
      const qreal c = 2.0 + k * 4.0;
      for (int d = 1; d < 16; d += 3) {
        const QPointF pt = vertical ? QPointF(c, d) : QPointF(d, c);
        p.drawPoint(pt);
      }
    }
  }
  p.setClipping(false);
  Pen(p, kInk);
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(8, 8), 7, 7);
}

void Synthetic(QPainter& p) { Fringes(p, true, false); }
void TraceH(QPainter& p) { Fringes(p, false, true); }
void TraceV(QPainter& p) { Fringes(p, true, true); }

void Lambda(QPainter& p) { Glyph(p, QString(QChar(0x03BB)), kBlue, 16, false); }
void Zernikes(QPainter& p) { Glyph(p, "Z", kBlue, 15, false); }

void GridResults(QPainter& p) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      const bool pass = (r * 3 + c) % 4 != 1;
      p.fillRect(QRectF(1 + c * 4.7, 1 + r * 4.7, 4.7, 4.7),
                 pass ? QColor(140, 220, 140) : QColor(240, 120, 110));
    }
  Pen(p, kInk);
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i <= 3; ++i) {
    const qreal v = 1.0 + i * 4.7;
    p.drawLine(QPointF(v, 1.0), QPointF(v, 15.1));
    p.drawLine(QPointF(1.0, v), QPointF(15.1, v));
  }
}

void Grab(QPainter& p) { Camera(p); }

void GrabProps(QPainter& p) {
  p.save();
  p.translate(-1, -1);
  Camera(p);
  p.restore();
  // A small gear in the corner.
  Pen(p, kInk);
  p.setBrush(QColor(230, 230, 230));
  QPainterPath gear;
  for (int k = 0; k < 16; ++k) {
    const double a = k * std::numbers::pi / 8.0;
    const double r = (k % 2 == 0) ? 3.6 : 2.6;
    const QPointF pt(12 + r * std::cos(a), 12 + r * std::sin(a));
    if (k == 0) gear.moveTo(pt); else gear.lineTo(pt);
  }
  gear.closeSubpath();
  p.drawPath(gear);
  p.setBrush(QColor(70, 70, 80));
  p.drawEllipse(QPointF(12, 12), 1.0, 1.0);
}

void ArrowHead(QPainter& p, QPointF tip, double angle, double size) {
  const QPointF a = tip + QPointF(std::cos(angle + 2.6) * size, std::sin(angle + 2.6) * size);
  const QPointF b = tip + QPointF(std::cos(angle - 2.6) * size, std::sin(angle - 2.6) * size);
  p.drawPath(Outline({tip, a, b}));
}

void Aspect(QPainter& p) {
  Pen(p, kInk);
  p.setBrush(kPaper);
  p.drawRect(QRectF(3.5, 3.5, 9, 9));
  Pen(p, kBlue, 1.2);
  p.setBrush(kBlue);
  p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
  ArrowHead(p, QPointF(0.5, 8), std::numbers::pi, 3.2);
  ArrowHead(p, QPointF(15.5, 8), 0.0, 3.2);
}

void HandTool(QPainter& p) {
  Pen(p, kInk, 0.9);
  p.setBrush(QColor(250, 215, 170));
  p.drawPath(OpenHandShape());
}

void ArrowTool(QPainter& p) {
  Pen(p, kInk, 0.9);
  p.setBrush(Qt::white);
  p.drawPath(ArrowPointerShape());
}

void ZoomSign(QPainter& p, bool plus) {
  Magnifier(p, QColor(215, 235, 255));
  Pen(p, kInk, 1.4);
  p.drawLine(QPointF(4.3, 6.5), QPointF(8.7, 6.5));
  if (plus) p.drawLine(QPointF(6.5, 4.3), QPointF(6.5, 8.7));
}
void ZoomIn(QPainter& p) { ZoomSign(p, true); }
void ZoomOut(QPainter& p) { ZoomSign(p, false); }

struct Picture {
  std::string_view Key;
  Painter Draw;
};

constexpr Picture kPictures[] = {
    {"imgOpen", Open},
    {"imgSave", Save},
    {"imgPrint", Print},
    {"imgPreview", Preview},
    {"imgToolBox", ToolBox},
    {"imgAnalyze", Analyze},
    {"imgAverage", Average},
    {"imgGridAnalyzeWin", GridAnalyzeWin},
    {"imgRefZernike", RefZernike},
    {"imgMathOps", MathOps},
    {"img3DPlot", Plot3D},
    {"imgContour8", Contour},
    {"imgLine", Line},
    {"imgSynthetic", Synthetic},
    {"imgLambda", Lambda},
    {"imgZernikes", Zernikes},
    {"imgGridResults", GridResults},
    {"imgGrab", Grab},
    {"imgGrabProps", GrabProps},
    {"imgAspect", Aspect},
    {"imgTraceH", TraceH},
    {"imgTraceV", TraceV},
    {"imgHandTool", HandTool},
    {"imgArrowTool", ArrowTool},
    {"imgZoomIn", ZoomIn},
    {"imgZoomOut", ZoomOut},
};

QPixmap Render(Painter draw, int scale) {
  QPixmap pixmap(16 * scale, 16 * scale);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(scale, scale);
  draw(painter);
  painter.end();
  pixmap.setDevicePixelRatio(scale);
  return pixmap;
}

}  // namespace

QIcon ToolBarImage(std::string_view key) {
  for (const Picture& picture : kPictures) {
    if (picture.Key != key) continue;
    QIcon icon;
    icon.addPixmap(Render(picture.Draw, 1));
    icon.addPixmap(Render(picture.Draw, 2));
    return icon;
  }
  return {};
}

}  // namespace orvale
