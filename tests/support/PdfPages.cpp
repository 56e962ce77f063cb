#include "tests/support/PdfPages.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace orvale::testing {

namespace {

// The tool's standard output; a failure of the current test when it cannot run.
QByteArray Run(const char* tool, const QStringList& arguments) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (program.isEmpty()) {
    ADD_FAILURE() << tool << " is not installed (Debian package poppler-utils)";
    return {};
  }
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    ADD_FAILURE() << tool << " failed: " << process.readAllStandardError().toStdString();
    return {};
  }
  return process.readAllStandardOutput();
}

QString PathOf(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

}  // namespace

PdfInfo ReadPdfInfo(const std::filesystem::path& pdf) {
  PdfInfo info;
  const QString text = QString::fromUtf8(Run("pdfinfo", {PathOf(pdf)}));
  static const QRegularExpression size(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)");
  static const QRegularExpression title(R"(^Title:\s+(.*)$)", QRegularExpression::MultilineOption);
  static const QRegularExpression pages(R"(^Pages:\s+(\d+))", QRegularExpression::MultilineOption);
  if (const auto m = size.match(text); m.hasMatch()) {
    info.WidthPt = m.captured(1).toDouble();
    info.HeightPt = m.captured(2).toDouble();
  }
  if (const auto m = title.match(text); m.hasMatch()) info.Title = m.captured(1).trimmed().toStdString();
  if (const auto m = pages.match(text); m.hasMatch()) info.Pages = m.captured(1).toInt();
  return info;
}

std::vector<PdfWord> ReadPdfWords(const std::filesystem::path& pdf) {
  std::vector<PdfWord> words;
  const QString html = QString::fromUtf8(Run("pdftotext", {"-bbox", PathOf(pdf), "-"}));
  static const QRegularExpression word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    words.push_back({m.captured(5).toStdString(), m.captured(1).toDouble(), m.captured(2).toDouble(),
                     m.captured(3).toDouble(), m.captured(4).toDouble()});
  }
  return words;
}

QImage RenderPdfPage(const std::filesystem::path& pdf, int dpi, bool grey) {
  const std::filesystem::path prefix = pdf.parent_path() / (pdf.stem().string() + "-page");
  QStringList arguments = {"-r", QString::number(dpi), "-aa", "no", "-aaVector", "no", "-singlefile"};
  if (grey) arguments << "-gray";
  Run("pdftoppm", arguments << PathOf(pdf) << PathOf(prefix));
  const QImage page(PathOf(prefix) + (grey ? ".pgm" : ".ppm"));
  return page.convertToFormat(grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
}

}  // namespace orvale::testing
