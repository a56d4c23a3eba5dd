// The editors' pictures, drawn in code: the previous and next arrows and
// the delete picture of the test editor's questions and the drug editor's
// records.
#pragma once

#include <QPixmap>

namespace authoring {

QPixmap previouspicture();
QPixmap nextpicture();
QPixmap deletepicture();

}  // namespace authoring
