#include "app/imageview/ImageEditController.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <numbers>
#include <vector>

#include "app/document/LineWidth.h"
#include "platform/gdi/ImageDeviceContext.h"
#include "platform/runtime/NumberText.h"
#include "samples/SampleMirror.h"
#include "tests/app/imageview/ImageViewTestSupport.h"

namespace orvale {
namespace {

using testing::ViewFixture;

// One step of a mouse or key scenario, in picture-area pixels.
struct Step {
  enum Act { Down, Move, Up, KeyDown, KeyUp } act;
  double x = 0;
  double y = 0;
  std::int32_t shift = 0;
  std::int32_t button = mousebutton::kLeft;  // for moves: the buttons held
  std::int32_t key = 0;
};

Step Press(double x, double y, std::int32_t shift = 0) { return {Step::Down, x, y, shift}; }
Step Drag(double x, double y, std::int32_t shift = 0) { return {Step::Move, x, y, shift}; }
Step Hover(double x, double y, std::int32_t shift = 0) { return {Step::Move, x, y, shift, 0}; }
Step Release(double x, double y, std::int32_t shift = 0) { return {Step::Up, x, y, shift}; }
Step RightPress(double x, double y) { return {Step::Down, x, y, 0, mousebutton::kRight}; }
Step KeyRelease(std::int32_t key, std::int32_t shift = 0) { return {Step::KeyUp, 0, 0, shift, 0, key}; }

void Play(ImageEditController& editor, std::initializer_list<Step> steps) {
  for (const Step& s : steps) {
    switch (s.act) {
      case Step::Down: editor.MouseDown(s.button, s.shift, s.x, s.y); break;
      case Step::Move: editor.MouseMove(s.button, s.shift, s.x, s.y); break;
      case Step::Up: editor.MouseUp(s.button, s.shift, s.x, s.y); break;
      case Step::KeyDown: editor.KeyDown(s.key, s.shift); break;
      case Step::KeyUp: editor.KeyUp(s.key, s.shift); break;
    }
  }
}

void Click(ImageEditController& editor, double x, double y, std::int32_t shift = 0) {
  Play(editor, {Press(x, y, shift), Release(x, y, shift)});
}

// What the toolbox does to start drawing an object.
void StartDrawing(ImageEditController& editor, std::int32_t object, std::int32_t type,
                  std::int32_t clicks) {
  editor.ClearMouseClickBuffer();
  editor.newDrawingObject = object;
  editor.newDrawingType = type;
  editor.newMouseClicks = clicks;
}

void GiveGridSizes(clsGrid& grid) {
  grid.GridPhysicalWidth = 10;
  grid.CellPhysicalWidth = 2;
  grid.CellPhysicalHeight = 2;
}

void SetCircle(clsShape& shape, double cx, double cy, double r) {
  shape.SetShapeType(clsShape::kCircle);
  shape.SetCenter(cx, cy);
  shape.SetRadii(r, r);
}

void AddCenter(clsDocument& doc, std::int32_t order, double x, double y) {
  std::int32_t index = doc.Fringes.GetFringeIndex(order);
  if (index == kNoOrder) {
    std::vector<double> xs{0, x}, ys{0, y};
    doc.Fringes.InsertOrder(order, 1, xs, ys);
  } else {
    doc.Fringes.AddCenter(order, x, y, index);
  }
}

// A document with a current fit and nothing unsaved.
void MarkClean(clsDocument& doc) {
  doc.DocDirty = false;
  doc.AnalysisValid = true;
}

class EditTest : public ::testing::Test {
 protected:
  EditTest() : f(200, 200, 200, 200) {}  // 1:1, so screen pixels are image pixels
  ViewFixture f;
};

// --- Defining objects by clicks ---

TEST_F(EditTest, ClicksDefineEachObjectAndReturnToFringeCentres) {
  struct Case {
    const char* what;
    std::int32_t object, type, clicks;
    std::vector<PointD> points;
    std::function<bool(const clsDocument&)> made;
  };
  const Case cases[] = {
      {"circle aperture", drawing::kAperture, 1, 4, {{60, 100}, {140, 100}, {100, 60}, {100, 140}},
       [](const clsDocument& d) {
         double r1 = 0, r2 = 0;
         d.Aperture.GetRadii(r1, r2);
         return d.Aperture.GetShapeType() == clsShape::kCircle && r1 == 40 && r2 == 40;
       }},
      {"ellipse obstruction", drawing::kObstruction, 2, 3, {{60, 100}, {140, 100}, {100, 80}},
       [](const clsDocument& d) { return d.Obstruction.GetShapeType() == clsShape::kEllipse; }},
      {"polygon closed near its first point", drawing::kAperture, 3, 50,
       {{50, 50}, {150, 50}, {150, 150}, {50, 150}, {52, 47}},
       [](const clsDocument& d) {
         return d.Aperture.GetShapeType() == clsShape::kPolygon && d.Aperture.GetVertices() == 4;
       }},
      {"grid", drawing::kGrid, 3, 2, {{40, 40}, {140, 150}},
       [](const clsDocument& d) {
         return d.Grid.UpperLeftX == 40 && d.Grid.PixelSizeX == 100 && d.Grid.PixelSizeY == 100;
       }},
      {"fringe centre", drawing::kFringeCenters, 0, 1, {{30, 40}},
       [](const clsDocument& d) {
         std::int32_t index = kNoOrder;
         return d.Fringes.GetNumTicks(1, index) == 1;
       }},
  };
  for (const Case& c : cases) {
    ViewFixture v(200, 200, 200, 200);
    GiveGridSizes(v.doc->Grid);
    MarkClean(*v.doc);
    StartDrawing(v.editor, c.object, c.type, c.clicks);
    for (const PointD& p : c.points) {
      EXPECT_FALSE(c.made(*v.doc)) << c.what << ": made before its last click";
      Click(v.editor, p.x, p.y);
    }
    EXPECT_TRUE(c.made(*v.doc)) << c.what;
    EXPECT_TRUE(v.doc->DocDirty) << c.what;
    EXPECT_EQ(v.editor.newDrawingObject, drawing::kFringeCenters) << c.what;
    EXPECT_EQ(v.editor.newMouseClicks, 1) << c.what;
    EXPECT_EQ(v.editor.ClickCount(), 0) << c.what;
    const bool drewShape = c.object != drawing::kFringeCenters;
    EXPECT_EQ(v.toolbox.calls == std::vector<std::string>{"SetControls 1 1 1"}, drewShape) << c.what;
    EXPECT_TRUE(v.ShowsFreshPaint()) << c.what;
  }
}

TEST_F(EditTest, PolygonNeedsMoreThanThreeClicksToClose) {
  StartDrawing(f.editor, drawing::kAperture, clsShape::kPolygon, 50);
  Click(f.editor, 50, 50);
  Click(f.editor, 150, 50);
  Click(f.editor, 51, 52);  // near the first, but only the third click
  EXPECT_EQ(f.editor.ClickCount(), 3);
  EXPECT_EQ(f.editor.newDrawingObject, drawing::kAperture);
  Click(f.editor, 150, 150);
  Click(f.editor, 54, 50);  // 4 away: not close enough
  EXPECT_EQ(f.editor.ClickCount(), 5);
  Click(f.editor, 47, 53);
  EXPECT_EQ(f.doc->Aperture.GetVertices(), 5);
  double x = 0, y = 0;
  f.doc->Aperture.GetVertex(x, y, 5);
  EXPECT_EQ(x, 54);  // the closing click itself is not a vertex
}

TEST_F(EditTest, CollinearClicksGiveNoApertureAndEnableTheToolbox) {
  StartDrawing(f.editor, drawing::kAperture, clsShape::kEllipse, 3);
  for (double x : {50.0, 100.0, 150.0}) Click(f.editor, x, 100);
  EXPECT_EQ(f.doc->Aperture.GetShapeType(), clsShape::kNone);
  EXPECT_EQ(f.toolbox.calls, (std::vector<std::string>{"SetControls 1 1 1"}));
  EXPECT_EQ(f.editor.newDrawingObject, drawing::kFringeCenters);
  EXPECT_EQ(f.frame.screenPointer, "");
}

// --- What a press with Shift or Ctrl does ---

TEST_F(EditTest, ModifiersOnPressChooseTheOperationOrFallBack) {
  struct Case {
    const char* what;
    std::function<void(ViewFixture&)> setup;
    PointD at;
    std::int32_t shift;
    std::function<void(ViewFixture&)> check;
  };
  const auto polygon = [](ViewFixture& v) {
    std::vector<double> xs{0, 50, 150, 150, 50}, ys{0, 50, 50, 150, 150};
    v.doc->Aperture.Save(clsShape::kPolygon, 4, xs, ys);
  };
  const auto grid = [](ViewFixture& v) {
    GiveGridSizes(v.doc->Grid);
    v.doc->Grid.SetBounds(40, 40, 140, 140);
  };
  const auto circle = [](ViewFixture& v) { SetCircle(v.doc->Aperture, 100, 100, 40); };
  const auto centre = [](ViewFixture& v) { AddCenter(*v.doc, 7, 30, 30); };
  const auto gridMovedBy = [](double dx, double dy) {
    return [dx, dy](ViewFixture& v) {
      EXPECT_EQ(v.doc->Grid.UpperLeftX, 40 + dx);
      EXPECT_EQ(v.doc->Grid.UpperLeftY, 40 + dy);
      EXPECT_EQ(v.doc->Grid.PixelSizeX, 100);
      EXPECT_TRUE(v.doc->DocDirty);
      EXPECT_TRUE(v.doc->AnalysisValid);  // the grid is evaluated again on Apply
    };
  };
  const Case cases[] = {
      {"Shift on a polygon body moves it", polygon, {100, 50}, modifier::kShift,
       [](ViewFixture& v) {
         double x = 0, y = 0;
         v.doc->Aperture.GetVertex(x, y, 1);
         EXPECT_EQ(x, 60);
         EXPECT_EQ(y, 55);
       }},
      {"Shift on the grid's edge moves it", grid, {90, 40}, modifier::kShift, gridMovedBy(10, 5)},
      {"Ctrl on the grid moves it", grid, {40, 40}, modifier::kCtrl, gridMovedBy(10, 5)},
      {"Shift on a grid corner resizes it in whole cells", grid, {140, 140}, modifier::kShift,
       [](ViewFixture& v) {
         EXPECT_EQ(v.doc->Grid.UpperLeftX, 40);  // the opposite corner stays
         EXPECT_EQ(v.doc->Grid.PixelSizeX, 110);
         EXPECT_EQ(v.doc->Grid.PixelSizeY, 88);  // 4 cells of 22
         EXPECT_TRUE(v.doc->DocDirty);
         EXPECT_TRUE(v.doc->AnalysisValid);
       }},
      {"Ctrl on a circle moves it", circle, {140, 100}, modifier::kCtrl,
       [](ViewFixture& v) {
         double x = 0, y = 0;
         v.doc->Aperture.GetCenter(x, y);
         EXPECT_EQ(x, 110);
         EXPECT_EQ(y, 105);
       }},
      {"Shift on a centre selects its order only", centre, {30, 30}, modifier::kShift,
       [](ViewFixture& v) {
         EXPECT_EQ(v.toolbox.calls, (std::vector<std::string>{"SelectOrder 7"}));
         double x = 0, y = 0;
         std::int32_t index = kNoOrder;
         v.doc->Fringes.GetCenter(7, 1, x, y, index);
         EXPECT_EQ(x, 30);
         EXPECT_FALSE(v.doc->DocDirty);
       }},
      {"Ctrl on a centre deletes it and marks the document", centre, {30, 30}, modifier::kCtrl,
       [](ViewFixture& v) {
         EXPECT_EQ(v.doc->Fringes.TotalNumTicks(), 0);
         EXPECT_TRUE(v.doc->DocDirty);
         EXPECT_FALSE(v.doc->AnalysisValid);
       }},
      {"Ctrl-drag on a centre while drawing a shape does nothing",
       [centre](ViewFixture& v) {
         centre(v);
         StartDrawing(v.editor, drawing::kAperture, clsShape::kCircle, 4);
       },
       {30, 30}, modifier::kCtrl,
       [](ViewFixture& v) {
         double x = 0, y = 0;
         std::int32_t index = kNoOrder;
         v.doc->Fringes.GetCenter(7, 1, x, y, index);
         EXPECT_EQ(x, 30);
         EXPECT_EQ(v.doc->Fringes.TotalNumTicks(), 1);
         EXPECT_FALSE(v.doc->DocDirty);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ViewFixture v(200, 200, 200, 200);
    c.setup(v);
    MarkClean(*v.doc);
    v.editor.PaintImage();
    Play(v.editor, {Press(c.at.x, c.at.y, c.shift), Drag(c.at.x + 4, c.at.y + 2, c.shift),
                   Drag(c.at.x + 10, c.at.y + 5, c.shift), Release(c.at.x + 10, c.at.y + 5, c.shift)});
    c.check(v);
    EXPECT_EQ(v.editor.SelectedObject().Kind, ImageObject::kNothing);
    EXPECT_TRUE(v.ShowsFreshPaint());
  }
}

// --- Resizing ---

TEST_F(EditTest, CircleResizeKeepsTheOppositeEdge) {
  SetCircle(f.doc->Aperture, 100, 100, 40);
  Play(f.editor, {Press(140, 100, modifier::kShift), Drag(150, 100, modifier::kShift),
                 Release(150, 100, modifier::kShift)});
  double cx = 0, cy = 0, r1 = 0, r2 = 0;
  f.doc->Aperture.GetCenter(cx, cy);
  f.doc->Aperture.GetRadii(r1, r2);
  EXPECT_EQ(r1, 45);
  EXPECT_EQ(cx, 105);
  EXPECT_EQ(r2, 40);
  EXPECT_EQ(cx - r1, 60);  // the left edge stayed
}

// For turned ellipses, both axes, both ends, growing and shrinking: the end of the
// grabbed axis opposite the press stays where it was.
TEST_F(EditTest, EllipseResizeKeepsTheOppositeEndOfTheGrabbedAxis) {
  constexpr double kCx = 100, kCy = 100, kR1 = 50, kR2 = 25;
  for (const double degrees : {-60.0, -30.0, 0.0, 30.0, 60.0}) {
    const double theta = degrees * std::numbers::pi / 180;
    // Axis directions in image pixels (y down; the angle turns counter-clockwise).
    const PointD axes[3] = {{}, {std::cos(theta), -std::sin(theta)}, {std::sin(theta), std::cos(theta)}};
    for (const int axis : {1, 2}) {
      const double radius = axis == 1 ? kR1 : kR2;
      const PointD u = axes[axis];
      for (const double end : {1.0, -1.0}) {
        for (const double step : {8.0, -8.0}) {  // outwards, inwards
          SCOPED_TRACE(::testing::Message() << degrees << " deg, axis " << axis << ", end "
                                            << end << ", step " << step);
          ViewFixture v(200, 200, 200, 200);
          clsShape& e = v.doc->Aperture;
          e.SetShapeType(clsShape::kEllipse);
          e.SetCenter(kCx, kCy);
          e.SetRadii(kR1, kR2);
          e.SetAngle(theta);
          const PointD press{kCx + end * radius * u.x, kCy + end * radius * u.y};
          const PointD to{press.x + end * step * u.x, press.y + end * step * u.y};
          const PointD opposite{kCx - end * radius * u.x, kCy - end * radius * u.y};
          Play(v.editor, {Press(press.x, press.y, modifier::kShift),
                         Drag(to.x, to.y, modifier::kShift), Release(to.x, to.y, modifier::kShift)});
          double cx = 0, cy = 0, r1 = 0, r2 = 0;
          e.GetCenter(cx, cy);
          e.GetRadii(r1, r2);
          const double r = axis == 1 ? r1 : r2;
          EXPECT_NEAR(r, radius + step / 2, 1e-9);
          EXPECT_NEAR(axis == 1 ? r2 : r1, axis == 1 ? kR2 : kR1, 1e-12);
          EXPECT_NEAR(cx - end * r * u.x, opposite.x, 1e-9);
          EXPECT_NEAR(cy - end * r * u.y, opposite.y, 1e-9);
        }
      }
    }
  }
}

TEST_F(EditTest, ShiftPressedDuringAMoveResizesFromThereWithoutAJump) {
  SetCircle(f.doc->Aperture, 100, 100, 40);
  Play(f.editor, {Press(140, 100), Drag(150, 100)});  // moved by 10
  double cx = 0, cy = 0, r1 = 0, r2 = 0;
  f.doc->Aperture.GetCenter(cx, cy);
  ASSERT_EQ(cx, 110);
  Play(f.editor, {Drag(150, 100, modifier::kShift)});  // Shift comes in: nothing jumps
  f.doc->Aperture.GetCenter(cx, cy);
  f.doc->Aperture.GetRadii(r1, r2);
  EXPECT_EQ(cx, 110);
  EXPECT_EQ(r1, 40);
  Play(f.editor, {Drag(160, 100, modifier::kShift), Release(160, 100, modifier::kShift)});
  f.doc->Aperture.GetCenter(cx, cy);
  f.doc->Aperture.GetRadii(r1, r2);
  EXPECT_EQ(r1, 45);
  EXPECT_EQ(cx, 115);
}

TEST_F(EditTest, PolygonVertexResizeScalesTheOutline) {
  std::vector<double> xs{0, 50, 150, 150, 50}, ys{0, 50, 50, 150, 150};
  f.doc->Aperture.Save(clsShape::kPolygon, 4, xs, ys);
  Play(f.editor, {Press(150, 150, modifier::kShift), Drag(160, 160, modifier::kShift),
                 Release(160, 160, modifier::kShift)});
  double x = 0, y = 0;
  f.doc->Aperture.GetVertex(x, y, 1);
  EXPECT_NEAR(std::hypot(x - 100, y - 100), std::hypot(60.0, 60.0), 1e-9);  // scaled by 1.2
}

TEST_F(EditTest, CtrlDragTurnsAnEllipse) {
  f.doc->Aperture.SetShapeType(clsShape::kEllipse);
  f.doc->Aperture.SetCenter(100, 100);
  f.doc->Aperture.SetRadii(50, 25);
  f.doc->Aperture.SetAngle(0);
  // From the right end of the long axis a quarter turn up, counter-clockwise.
  Play(f.editor, {Press(150, 100, modifier::kCtrl), Drag(150, 90, modifier::kCtrl),
                 Drag(100, 50, modifier::kCtrl), Release(100, 50, modifier::kCtrl)});
  EXPECT_NEAR(std::fabs(f.doc->Aperture.GetAngle()), std::numbers::pi / 2, 1e-9);
  EXPECT_FALSE(f.doc->ZAnalysis.MaskValid);
}

// --- Fringe centres ---

TEST_F(EditTest, DraggedCentreMovesInsideAndIsDeletedOutsideTheImage) {
  AddCenter(*f.doc, 3, 30, 30);
  AddCenter(*f.doc, 3, 60, 30);
  MarkClean(*f.doc);
  Play(f.editor, {Press(30, 30), Drag(35, 40), Release(35, 40)});
  double x = 0, y = 0;
  std::int32_t index = kNoOrder;
  f.doc->Fringes.GetCenter(3, 1, x, y, index);
  EXPECT_EQ(x, 35);
  EXPECT_EQ(y, 40);
  EXPECT_TRUE(f.doc->DocDirty);
  EXPECT_FALSE(f.doc->AnalysisValid);

  Play(f.editor, {Press(60, 30), Drag(60, 10)});
  EXPECT_EQ(f.editor.SelectedObject().Kind, ImageObject::kFringeCenter);
  Play(f.editor, {Drag(60, -5)});  // off the image: gone, and the drag ends
  EXPECT_EQ(f.doc->Fringes.TotalNumTicks(), 1);
  EXPECT_EQ(f.editor.SelectedObject().Kind, ImageObject::kNothing);
  Play(f.editor, {Release(60, -5)});
  EXPECT_TRUE(f.ShowsFreshPaint());
}

// The bundled sample at 100 % in a view larger than the picture, as a maximised window
// shows it, black right of and below the picture.
class SampleBesideBlackTest : public ::testing::Test {
 protected:
  SampleBesideBlackTest() : f(sample::kWidth, sample::kHeight, 1200, 800) {
    const QImage picture =
        QImage(QStringLiteral(ORVALE_SAMPLES_DIR "/sample.bmp")).convertToFormat(QImage::Format_Grayscale8);
    std::vector<std::uint8_t> bytes;
    for (int y = 0; y < picture.height(); ++y) {
      const uchar* row = picture.constScanLine(y);
      bytes.insert(bytes.end(), row, row + picture.width());
    }
    f.doc->SetImageData(std::move(bytes), picture.width(), picture.height());
    f.display.RefreshBitmapFromData(f.doc->ImageData(), picture.width(), picture.height());
    f.editor.PaintImage();
    MarkClean(*f.doc);
  }
  ViewFixture f;
};

TEST_F(SampleBesideBlackTest, AClickBesideThePictureAddsNoFringeCentre) {
  ASSERT_EQ(f.display.Geometry.ImageWidth, 640);
  const PointD beside[] = {{892, 413}, {640, 200}, {300, 480}, {1199, 799}, {-1, 10}};
  for (const PointD& p : beside) {
    Click(f.editor, p.x, p.y);
    EXPECT_EQ(f.doc->Fringes.TotalNumTicks(), 0) << p.x << "," << p.y;
    EXPECT_EQ(f.editor.ClickCount(), 0) << p.x << "," << p.y;
  }
  EXPECT_FALSE(f.doc->DocDirty);
  EXPECT_TRUE(f.ShowsFreshPaint());  // no cross left in the black

  // The picture's last pixels take a centre.
  Click(f.editor, 639, 479);
  Click(f.editor, 0, 0);
  EXPECT_EQ(f.doc->Fringes.TotalNumTicks(), 2);
  EXPECT_TRUE(f.doc->DocDirty);
}

TEST_F(EditTest, DragLeavesThePictureAsAFreshPaintEvenWithARepaintInBetween) {
  SetCircle(f.doc->Aperture, 100, 100, 40);
  SetCircle(f.doc->Obstruction, 100, 100, 10);
  for (int i = 0; i < 40; ++i) AddCenter(*f.doc, 1 + i % 4, 40 + 3 * i, 30 + (i % 5) * 7);
  f.editor.PaintImage();
  Play(f.editor, {Press(140, 100), Drag(145, 103)});
  EXPECT_TRUE(f.ShowsFreshPaint());  // the picture mid-drag is what a paint gives
  Play(f.editor, {Drag(150, 110), Drag(131, 95)});
  f.editor.PaintImage();  // the window repaints mid-drag
  Play(f.editor, {Drag(120, 90), Release(120, 90)});
  EXPECT_TRUE(f.ShowsFreshPaint());

  Play(f.editor, {Press(43, 37), Drag(50, 50), Drag(52, 51)});  // a fringe centre
  EXPECT_TRUE(f.ShowsFreshPaint());
  Play(f.editor, {Release(52, 51)});
  EXPECT_TRUE(f.ShowsFreshPaint());
}

TEST_F(EditTest, ScrollingKeepsFringeCrossesOnTheirImageFeature) {
  for (const std::int32_t zoom : {100, 300}) {
    SCOPED_TRACE(zoom);
    ViewFixture v(200, 200, 60, 50, zoom);
    AddCenter(*v.doc, 2, 10, 8);
    v.toolbox.order = 2;  // white
    v.editor.PaintImage();
    const auto crossAt = [&v] {
      return v.Backing().pixel(v.ScreenX(10), v.ScreenY(8)) == qRgb(255, 255, 255);
    };
    EXPECT_TRUE(crossAt());
    v.display.Geometry.Horizontal.Value += 1;  // one step of the bar
    v.display.Geometry.SyncOrigin();
    v.editor.PaintImage();
    EXPECT_EQ(v.ScreenX(10), RoundToInt32((10 - 1) * v.display.Geometry.ScaleFactor));
    EXPECT_TRUE(crossAt());
    EXPECT_TRUE(v.ShowsFreshPaint());
  }
}

TEST_F(EditTest, SpaceBarStepsTheOrderAndKeepsAnOutlinesClicks) {
  f.toolbox.order = 5;
  Play(f.editor, {KeyRelease(kSpaceKey)});
  EXPECT_EQ(f.toolbox.order, 6);
  Play(f.editor, {KeyRelease(kSpaceKey, modifier::kShift)});
  EXPECT_EQ(f.toolbox.order, 5);
  Play(f.editor, {KeyRelease(kSpaceKey, modifier::kCtrl)});
  EXPECT_EQ(f.toolbox.order, 5);

  // Mid-polygon, a change of order must not turn the outline's clicks into centres.
  StartDrawing(f.editor, drawing::kAperture, clsShape::kPolygon, 50);
  Click(f.editor, 50, 50);
  Click(f.editor, 150, 50);
  Play(f.editor, {KeyRelease(kSpaceKey)});
  EXPECT_EQ(f.editor.ClickCount(), 2);
  EXPECT_EQ(f.doc->Fringes.TotalNumTicks(), 0);
  for (const PointD& p : {PointD{150, 150}, PointD{50, 150}, PointD{51, 51}}) Click(f.editor, p.x, p.y);
  EXPECT_EQ(f.doc->Aperture.GetVertices(), 4);
}

// --- View mode ---

TEST_F(EditTest, ViewModePansWithinTheBarsAndZoomsAboutTheClick) {
  ViewFixture v(640, 480, 100, 80);
  v.editor.MouseEditMode = false;
  Play(v.editor, {Press(50, 40), Drag(30, 20)});
  EXPECT_EQ(v.display.Geometry.Horizontal.Value, 20);
  EXPECT_EQ(v.display.Geometry.OriginY, 20);
  Play(v.editor, {Drag(500, 500), Release(500, 500)});
  EXPECT_EQ(v.display.Geometry.Horizontal.Value, 0);
  EXPECT_FALSE(v.editor.Panning());
  EXPECT_GT(v.port.barChanges, 0);

  v.frame.zoomIndex = 6;  // 100 %
  Click(v.editor, 60, 40, modifier::kShift);
  EXPECT_EQ(v.frame.zoomIndex, 5);  // 150 %
  EXPECT_EQ(v.display.Geometry.Horizontal.Value, RoundToInt32(60 - 100 * 50 / 150.0));
  EXPECT_TRUE(v.display.ImageReady);

  v.frame.ClearLog();
  v.frame.zoomIndex = 0;  // 1600 %: no further in
  Click(v.editor, 60, 40, modifier::kShift);
  v.frame.zoomIndex = 9;  // 25 %: no further out
  Click(v.editor, 60, 40, modifier::kCtrl);
  EXPECT_EQ(v.frame.Count("SelectZoomListIndex"), 0);
}

// --- Status bar and pop-up ---

TEST_F(EditTest, MovesReportThePointAndItsIntensity) {
  ViewFixture v(100, 100, 60, 50, 50);
  Play(v.editor, {Hover(6.2, 17.9)});
  EXPECT_EQ(v.frame.panels[3], "(12 ,35)");
  EXPECT_EQ(v.frame.panels[4], "i: " + std::to_string((12 * 7 + 35 * 13) & 255));
  ViewFixture small(10, 10, 60, 50);
  Play(small.editor, {Hover(30, 20)});
  EXPECT_EQ(small.frame.panels[3], "(30 ,20)");
  EXPECT_EQ(small.frame.panels[4], "i:");
}

TEST_F(EditTest, HoverSetsCursorAndStatusForWhatIsUnderTheMouse) {
  SetCircle(f.doc->Aperture, 100, 100, 40);
  Play(f.editor, {Hover(140, 100)});
  EXPECT_EQ(f.port.cursorKeys.back(), "curMoveShapeMono");
  EXPECT_EQ(f.frame.panels[1], "Drag mouse to move aperture.");
  Play(f.editor, {{Step::KeyDown, 0, 0, modifier::kShift}});
  EXPECT_EQ(f.port.cursorKeys.back(), "curResizeShape");
  Play(f.editor, {Hover(10, 10, modifier::kShift)});
  EXPECT_EQ(f.port.cursorKeys.back(), "");
  EXPECT_EQ(f.frame.panels[1], "Click to add a fringe center.");
}

TEST_F(EditTest, RightClickAsksForThePopupThatFitsWhatWasHit) {
  SetCircle(f.doc->Obstruction, 100, 100, 20);
  AddCenter(*f.doc, 4, 30, 30);
  f.toolbox.apertureIndex = 2;
  f.toolbox.obstructionIndex = 1;
  Play(f.editor, {RightPress(120, 100)});
  ASSERT_EQ(f.frame.popups.size(), 1u);
  const FringePopupRequest& onObstruction = f.frame.popups[0];
  EXPECT_EQ(onObstruction.AddApertureCaption, "Add Polygonal Aperture");
  EXPECT_EQ(onObstruction.AddObstructionCaption, "Add Elliptical Obstruction");
  EXPECT_TRUE(onObstruction.AddApertureVisible);
  EXPECT_FALSE(onObstruction.AddObstructionVisible);
  EXPECT_TRUE(onObstruction.ClearObstructionVisible);
  EXPECT_FALSE(onObstruction.DeleteCenterVisible);
  EXPECT_EQ(onObstruction.ScreenX, 1120);
  EXPECT_FALSE(f.frame.PopupActive);  // the menu has closed again

  Play(f.editor, {RightPress(30, 30)});
  EXPECT_TRUE(f.frame.popups[1].DeleteCenterVisible);
  // A miss forgets the centre: the pop-up's Delete Fringe Center must not take it.
  Play(f.editor, {RightPress(170, 20)});
  EXPECT_FALSE(f.frame.popups[2].DeleteCenterVisible);
  MarkClean(*f.doc);
  f.editor.DeleteFringeCenter(kNotGivenDouble, kNotGivenDouble);
  EXPECT_EQ(f.doc->Fringes.TotalNumTicks(), 1);
  EXPECT_FALSE(f.doc->DocDirty);
}

TEST_F(EditTest, InactiveViewIgnoresTheMouse) {
  f.doc->ActiveView = viewtype::kContourPlot;
  StartDrawing(f.editor, drawing::kFringeCenters, 0, 1);
  Click(f.editor, 20, 20);
  EXPECT_EQ(f.doc->Fringes.TotalNumTicks(), 0);
  f.doc->ActiveView = viewtype::kImage;
  f.frame.PopupActive = true;  // the press that dismissed a menu only clears the flag
  Click(f.editor, 20, 20);
  EXPECT_FALSE(f.frame.PopupActive);
  EXPECT_EQ(f.doc->Fringes.TotalNumTicks(), 0);
}

}  // namespace
}  // namespace orvale
