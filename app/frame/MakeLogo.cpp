// Draws the report's default logo, Logo.bmp, from the program's logo: the build puts it
// beside the program, where the report's Logo pane reads it, and the user may replace
// it with their own.
//
//   make_logo <output.bmp>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <cstdio>

#include "app/frame/OrvaleLogo.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_logo <output.bmp>\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  constexpr int kHeight = 360;
  QImage logo(kHeight * 14 / 5, kHeight, QImage::Format_RGB32);
  logo.fill(Qt::white);
  {
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPixmap(0, 0, orvale::OrvaleLogo(kHeight));
    QFont face("Liberation Serif");
    face.setPixelSize(kHeight * 2 / 5);
    painter.setFont(face);
    painter.setPen(QColor(30, 36, 52));
    painter.drawText(QRect(kHeight, 0, kHeight * 9 / 5, kHeight), Qt::AlignCenter, "Orvale");
  }
  QSaveFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::WriteOnly) || !logo.save(&file, "BMP") || !file.commit()) {
    std::fprintf(stderr, "make_logo: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
