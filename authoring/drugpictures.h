// The drug editor's pictures, drawn in code: the previous and next record
// arrows and the delete picture.
#pragma once

#include <QPixmap>

namespace authoring {

QPixmap previouspicture();
QPixmap nextpicture();
QPixmap deletepicture();

}  // namespace authoring
