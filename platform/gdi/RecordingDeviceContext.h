#pragma once
// A device context that records each drawing call with the state it was drawn with, so
// tests can read what was drawn, how, and in which order; it can also draw everything
// into an image at the same time.
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/DeviceContext.h"

class QImage;

namespace orvale::gdi {

struct DrawRecord {
  std::string call;           // the device-context call: "LineTo", "Ellipse", "TextOut" ...
  std::vector<Point> points;  // lines and polygons; LineTo holds its start and end
  Rect rect;                  // shapes, fills, and the destination of a blit
  Rect sourceRect;            // the source of a blit (rows from the top)
  std::string text;
  Color color = 0;            // SetPixel(s)
  std::vector<Color> colors;  // SetPixelRow
  Brush brush;                // the brush of FillRect, PatBlt and InvertRect
  std::uint32_t rop3 = 0;     // blits and pattern fills
  DrawState state;            // the resolved state the call was drawn with

  // One readable line, e.g. "LineTo (0,0)-(5,3) pen=solid,1,rgb(0,0,0) rop2=XORPEN ...".
  std::string ToString() const;
};

class RecordingDeviceContext : public DeviceContext {
 public:
  explicit RecordingDeviceContext(const DeviceCaps& caps = DisplayCaps(640, 480),
                                  bool drawIntoImage = false);
  ~RecordingDeviceContext() override;

  const std::vector<DrawRecord>& Records() const;
  void ClearRecords();
  // Every record's ToString, one per line.
  std::string Log() const;
  // The picture drawn so far, when drawing into an image; nullptr otherwise.
  const QImage* Image() const;

 private:
  class Surface;
  Surface* recorder_;  // the surface the base owns
};

// Readable names of modes and objects, as the records print them.
std::string Rop2Name(int rop2);
std::string PenDescription(const Pen& pen);
std::string BrushDescription(const Brush& brush);
std::string ColorDescription(Color color);

}  // namespace orvale::gdi
