#pragma once
// Pictures of rendered plots, written into the test's temporary folder for a person to
// look at.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <filesystem>
#include <set>

#include "platform/gdi/ImageDeviceContext.h"

namespace orvale::test {

inline std::filesystem::path PictureFolder() {
  const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "orvale-plots";
  std::filesystem::create_directories(dir);
  return dir;
}

inline int DistinctColours(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  return static_cast<int>(colours.size());
}

// Writes the picture as `name` in the picture folder; returns how many colours it has.
inline int SavePicture(const gdi::ImageDeviceContext& dc, const char* name) {
  const std::filesystem::path file = PictureFolder() / name;
  EXPECT_TRUE(dc.Image().save(QString::fromStdString(file.string()))) << file;
  return DistinctColours(dc.Image());
}

}  // namespace orvale::test
