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

// Line breaks between the stored texts and Qt's text widgets. The stored
// texts break lines with CR LF (a few with a CR or an LF alone); the widgets
// with LF, and a text document's raw text with a paragraph separator.
// boxtext turns every CR LF, lone CR and lone LF into LF; crlftext turns
// every LF and paragraph separator into CR LF.
QString boxtext(const QString& crlf);
QString crlftext(const QString& boxtext);
// A stored text as a label or text box shows it: decoded, lines broken by LF.
QString showntext(const std::string& bytes);

// File names are not texts of the records: they are kept as the bytes the
// file system stores (its local encoding), and shown decoded from them.
std::string tofilename(const QString& name);
QString fromfilename(const std::string& bytes);

}  // namespace ui
