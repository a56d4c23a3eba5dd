// The one conversion pair between the core's Windows-1252 byte texts and Qt's
// strings.
#pragma once

#include <QString>
#include <string>

namespace ui {

QString fromansi(const std::string& bytes);
// Characters that Windows-1252 cannot hold become '?'.
std::string toansi(const QString& text);
// Whether Windows-1252 holds every character of the text.
bool fitsansi(const QString& text);

}  // namespace ui
