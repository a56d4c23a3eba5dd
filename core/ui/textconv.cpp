#include "core/ui/textconv.h"

#include <QFile>

namespace ui {
namespace {
// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five undefined bytes, which
// map to the C1 control of the same value.
constexpr char16_t high[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

QString fromansi(const std::string& bytes) {
  QString out;
  out.reserve(static_cast<qsizetype>(bytes.size()));
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x80 && c <= 0x9F && high[c - 0x80] != 0) out += QChar(high[c - 0x80]);
    else out += QChar(static_cast<char16_t>(c));
  }
  return out;
}

std::string toansi(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype at = 0; at < text.size(); ++at) {
    const char16_t u = text.at(at).unicode();
    // A character beyond the 16-bit range is one character held in two
    // halves: it becomes a single '?'.
    if (QChar::isHighSurrogate(u) && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
      out += '?';
      ++at;
      continue;
    }
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out += static_cast<char>(u);
      continue;
    }
    char mapped = '?';
    for (int i = 0; i < 32; ++i) {
      if (high[i] == u || (high[i] == 0 && u == 0x80 + i)) {
        mapped = static_cast<char>(0x80 + i);
        break;
      }
    }
    out += mapped;
  }
  return out;
}

QString boxtext(const QString& crlf) {
  QString out = crlf;
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return out;
}

QString crlftext(const QString& boxtext) {
  QString out = boxtext;
  out.replace(QChar(0x2029), QLatin1Char('\n'));
  out.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return out;
}

QString showntext(const std::string& bytes) { return boxtext(fromansi(bytes)); }

bool fitsansi(const QString& text) { return fromansi(toansi(text)) == text; }

std::string tofilename(const QString& name) { return QFile::encodeName(name).toStdString(); }

QString fromfilename(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

}  // namespace ui
