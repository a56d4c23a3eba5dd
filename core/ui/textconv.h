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

// File names are not texts of the records: they are kept as the bytes the
// file system stores (its local encoding), and shown decoded from them.
std::string tofilename(const QString& name);
QString fromfilename(const std::string& bytes);

}  // namespace ui
