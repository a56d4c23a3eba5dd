// The pictures of both programs, drawn in code: window backgrounds, module
// pictures, the burette, the calculator icon and the right-answer images.
#pragma once

#include <QPixmap>

namespace ui {

// Window backgrounds: the textured stock picture and the plain one.
QPixmap texturedbackground();
QPixmap plainbackground();
// The background for a textured setting: exactly 1 gives the textured
// picture, any other value the plain one.
QPixmap backgroundfor(int textured);
// Sets a widget's background picture (tiled) and remembers it, so that
// another window can take the same picture.
void setbackground(QWidget& w, const QPixmap& picture);
QPixmap backgroundof(const QWidget& w);

// Module pictures, indexes 0 to 4: 0 the intravenous modules, 1 metric
// conversions, 2 teachers' tests, 3 tablets, 4 fluids.
QPixmap modulepicture(int index);
// The burette drawn into the "IV Burette" panel, its drop, and the
// calculator icon.
QPixmap burettepicture();
QPixmap calculatoricon();
// The two images of the right-answer animation.
QPixmap correctimage(int which);  // 2 or 3
// The settings dialog's picture.
QPixmap settingspicture();

}  // namespace ui
