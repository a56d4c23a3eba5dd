// The programs' icons: drawn at every size, the two distinct, and the
// 256-pixel pictures and desktop entries kept in the repository match them.
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/ui/icons.h"

namespace {

const QString DESKTOP = QStringLiteral(DOSAVO_SOURCE_DIR "/desktop/");

// The largest difference of one colour channel between two pictures of one
// size (a redrawn picture may differ in the last bit of antialiasing).
int maxdifference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
  int most = 0;
  for (int row = 0; row < x.height(); ++row)
    for (int col = 0; col < x.width(); ++col) {
      const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
      for (int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q), qAlpha(p) - qAlpha(q)})
        most = std::max(most, std::abs(d));
    }
  return most;
}

// Each program's icon at the sizes a desktop asks for; the two differ; the
// picture and desktop entry kept for each match it.
TEST(Icons, EachProgramHasItsIconPictureAndDesktopEntry) {
  EXPECT_NE(ui::programpicture(ui::Program::dosavo, 64).toImage(),
            ui::programpicture(ui::Program::quizwright, 64).toImage());
  for (ui::Program program : {ui::Program::dosavo, ui::Program::quizwright}) {
    const QString name = QString::fromLatin1(ui::programname(program));
    SCOPED_TRACE(name.toStdString());
    for (int size : {16, 32, 256}) EXPECT_EQ(ui::programicon(program).pixmap(size).size(), QSize(size, size));
    const QImage stored(DESKTOP + name + ".png");
    ASSERT_EQ(stored.size(), QSize(256, 256));
    EXPECT_EQ(qAlpha(stored.pixel(0, 0)), 0);  // round corners, clear outside
    EXPECT_LE(maxdifference(stored, ui::programpicture(program, 256).toImage()), 8);

    QFile entry(DESKTOP + name + ".desktop");
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(entry.readAll()).split('\n');
    EXPECT_EQ(lines.value(0), "[Desktop Entry]");
    for (const QString& line : QStringList{"Type=Application", "Exec=" + name, "Icon=" + name})
      EXPECT_TRUE(lines.contains(line)) << line.toStdString();
  }
}

}  // namespace
