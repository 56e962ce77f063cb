// The image view's fringe and shape commands, called by the toolbox, the main window's
// menus and the analysis. Each marks the document only when it changed something.
#include <string>

#include "app/imageview/ImageEditController.h"
#include "app/analysis/FringeCenterData.h"
#include "app/document/ImagePrinting.h"
#include "app/document/clsDocument.h"
#include "platform/runtime/NumberText.h"
#include "platform/ui/MessageService.h"

namespace orvale {

namespace {

// Why the store took none of the clicked points.
std::string RefusedFringeMessage(const clsFringes& fringes, std::int32_t Order,
                                 std::int32_t clicks) {
  const std::string lost = clicks == 1 ? "The fringe center was not added."
                                       : "The fringe centers were not added.";
  if (Order < 1 || Order > kMaxFringes)
    return "Fringe order " + FormatLong(Order) + " is out of range (1 to 200). " + lost;
  if (fringes.GetFringeIndex(Order) == kNoOrder)
    return "No more than 200 fringes can be traced. " + lost;
  return "A fringe cannot hold more than 4000 centers. " + lost;
}

}  // namespace

void ImageEditController::MarkFringesChanged() {
  doc_.AnalysisValid = false;
  doc_.DocDirty = true;
}

void ImageEditController::DeleteAperture() {
  doc_.Aperture.Delete();
  doc_.InvalidateMask();
  PaintImage();
}

void ImageEditController::DeleteObstruction() {
  doc_.Obstruction.Delete();
  doc_.InvalidateMask();
  PaintImage();
}

void ImageEditController::InsertFringe(std::int32_t Order) {
  if (doc_.Fringes.Renumber(Order, false)) MarkFringesChanged();
}

void ImageEditController::DeleteFringe(std::int32_t Order) {
  if (doc_.Fringes.GetFringeIndex(Order) == kNoOrder) return;
  std::int32_t index = kNoOrder;
  doc_.Fringes.DeleteOrder(Order, index);
  MarkFringesChanged();
}

void ImageEditController::DeleteFringeCenter(double X, double Y) {
  clsFringes& fringes = doc_.Fringes;
  if (X != kNotGivenDouble && Y != kNotGivenDouble) {
    std::int32_t order = kNoOrder;
    std::int32_t center = kNoOrder;
    std::int32_t index = kNoOrder;
    fringes.Find(X, Y, order, center, index);
    if (order == kNoOrder || center == kNoOrder) return;
    fringes.DeleteCenter(order, center, index);
  } else if (mouseObject_.Kind == ImageObject::kFringeCenter) {
    std::int32_t index = mouseObject_.Index;
    fringes.DeleteCenter(mouseObject_.Order, mouseObject_.Tick, index);
    // Gone: a second request must not take whatever centre moved into its place.
    mouseObject_ = ImageObject{};
  } else {
    return;
  }
  PaintImage();
  MarkFringesChanged();
}

void ImageEditController::SaveFringe(std::int32_t Order) {
  // Only clicks made as fringe centres are centres; an outline's clicks stay its own.
  if (newDrawingObject != drawing::kFringeCenters || clickCount_ == 0) return;
  clsFringes& fringes = doc_.Fringes;
  const std::int32_t before = fringes.TotalNumTicks();
  std::int32_t index = fringes.GetFringeIndex(Order);
  if (index == kNoOrder)
    fringes.InsertOrder(Order, clickCount_, clickX_, clickY_);
  else
    fringes.AddCenters(Order, clickCount_, clickX_, clickY_, index);
  const std::int32_t clicks = clickCount_;
  clickCount_ = 0;
  if (fringes.TotalNumTicks() != before) {
    MarkFringesChanged();
    return;
  }
  // The crosses of the refused clicks must not stay on the screen as if recorded.
  PaintImage();
  ShowMessage(RefusedFringeMessage(fringes, Order, clicks), mb::kOk | mb::kIconExclamation,
              "Warning");
}

void ImageEditController::RenumberFringe(std::int32_t destOrder, std::int32_t srcOrder) {
  if (destOrder == srcOrder) return;
  clsFringes& fringes = doc_.Fringes;
  bool changed = false;
  if (fringes.GetFringeIndex(destOrder) != kNoOrder) {
    std::int32_t indexDest = kNoOrder;
    std::int32_t indexSrc = kNoOrder;
    if (fringes.CombineOrders(destOrder, srcOrder, indexDest, indexSrc)) {
      fringes.Defrag(kNoOrder);
      fringes.Renumber(srcOrder, true);
      changed = true;
    }
  } else if (const std::int32_t index = fringes.GetFringeIndex(srcOrder); index != kNoOrder) {
    fringes.SetOrder(destOrder, index);
    changed = fringes.GetFringeOrder(index) == destOrder;
  }
  if (!changed) return;
  MarkFringesChanged();
  PaintImage();
}

std::int32_t ImageEditController::GetFringeNumTicks() const {
  return orvale::GetFringeNumTicks(doc_.Fringes);
}

void ImageEditController::GetFringeCenterData(std::span<double> X, std::span<double> Y,
                                              std::span<double> z) const {
  orvale::GetFringeCenterData(doc_.Fringes, X, Y, z);
}

void ImageEditController::PrintImage(gdi::DeviceContext& dc, std::int32_t left, std::int32_t top,
                                     std::int32_t right, std::int32_t bottom) const {
  orvale::PrintImage(doc_, CurrentOrder(), dc, left, top, right, bottom);
}

}  // namespace orvale
