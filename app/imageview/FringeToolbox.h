#pragma once
// What the main window's menus and the image view ask of the fringe toolbox: the
// current fringe order, the outline types chosen in its lists, and its commands. The
// toolbox window implements it; tests use a fake.
#include <cstdint>

namespace orvale {

class clsDocument;

class FringeToolbox {
 public:
  virtual ~FringeToolbox() = default;

  // The order new fringe-centre points are recorded under (1..200).
  virtual std::int32_t CurrentOrder() const = 0;
  // Makes newOrder current after recording the fringe being clicked; 1..200 only.
  virtual void SelectOrder(std::int32_t newOrder) = 0;
  // Positions 0 circle, 1 ellipse, 2 polygon of the aperture and obstruction lists.
  virtual std::int32_t ApertureTypeIndex() const = 0;
  virtual std::int32_t ObstructionTypeIndex() const = 0;
  // Enables the toolbox (state True), or only the Clear button of the outline being
  // drawn.
  virtual void SetControls(bool state, bool ApertureOn, bool ObstructionOn) = 0;

  virtual void AddAperture() = 0;
  virtual void ClearAperture() = 0;
  virtual void AddObstruction() = 0;
  virtual void ClearObstruction() = 0;
  virtual void InsertFringe() = 0;
  virtual void RemoveFringe() = 0;
  virtual void RenumberFringe() = 0;

  // The stored outline into `doc`; True when one was stored and taken.
  virtual bool LoadAperture(clsDocument& doc) = 0;
  virtual bool LoadObstruction(clsDocument& doc) = 0;
};

}  // namespace orvale
