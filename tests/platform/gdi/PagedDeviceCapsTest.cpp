#include "platform/gdi/PagedDeviceCaps.h"

#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPageSize>

#include "platform/gdi/Geometry.h"

namespace orvale::gdi {
namespace {

TEST(PagedDeviceCapsTest, TheCapsAreQtsOwnLayoutOfThePage) {
  struct Case {
    QPageLayout::Orientation orientation;
    Size printable, page;
  };
  // Qt rounds the 0.4 in bottom margin so that 3104 rows remain, not 3105.
  const Case cases[] = {{QPageLayout::Portrait, {2325, 3104}, {2550, 3300}},
                        {QPageLayout::Landscape, {3075, 2354}, {3300, 2550}}};
  for (const Case& c : cases) {
    const QPageLayout layout(QPageSize(QPageSize::Letter), c.orientation,
                             QMarginsF(0.25, 0.25, 0.5, 0.4), QPageLayout::Inch);
    const DeviceCaps caps = PagedDeviceCaps(layout, 300);
    EXPECT_EQ((Size{caps.Get(HORZRES), caps.Get(VERTRES)}), c.printable);
    EXPECT_EQ((Size{caps.Get(PHYSICALWIDTH), caps.Get(PHYSICALHEIGHT)}), c.page);
    EXPECT_EQ(caps.Get(PHYSICALOFFSETX), 75);
    EXPECT_EQ(caps.Get(PHYSICALOFFSETY), 75);
    EXPECT_EQ(caps.Get(LOGPIXELSX), 300);
    EXPECT_EQ(caps.Get(LOGPIXELSY), 300);
    EXPECT_EQ(caps.Get(TECHNOLOGY), DT_RASPRINTER);
    EXPECT_NE(caps.Get(RASTERCAPS) & RC_STRETCHDIB, 0);
  }
}

}  // namespace
}  // namespace orvale::gdi
