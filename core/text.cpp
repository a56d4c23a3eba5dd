#include "core/text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace core {
namespace {

struct Digits {
  bool negative = false;
  std::string digits;  // significant digits, no trailing zeros, at least one
  int exponent = 0;    // decimal exponent of the first digit
};

// The value rounded to the given number of significant digits.
Digits significant(double value, int count) {
  Digits d;
  // to_chars is independent of the C locale, which a Qt program sets from
  // the environment (a decimal comma would otherwise creep in).
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, count - 1);
  std::string s(buf, res.ptr);
  if (!s.empty() && s[0] == '-') {
    d.negative = true;
    s.erase(0, 1);
  }
  const auto epos = s.find('e');
  const std::string mantissa = s.substr(0, epos);
  d.exponent = std::atoi(s.c_str() + epos + 1);
  for (char c : mantissa)
    if (c != '.') d.digits += c;
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

std::string plain(const Digits& d) {
  std::string out = d.negative ? "-" : "";
  if (d.exponent >= 0) {
    std::string whole = d.digits.substr(0, std::min<std::size_t>(d.digits.size(), d.exponent + 1));
    while (static_cast<int>(whole.size()) < d.exponent + 1) whole += '0';
    out += whole;
    if (static_cast<int>(d.digits.size()) > d.exponent + 1) out += "." + d.digits.substr(d.exponent + 1);
  } else {
    out += "0." + std::string(-d.exponent - 1, '0') + d.digits;
  }
  return out;
}

std::string shortform(double value, int count) {
  if (value == 0) return "0";
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  const Digits d = significant(value, count);
  // Plain from 0.0001 up to (not including) 1E+15, in both precisions.
  if (d.exponent < -4 || d.exponent >= 15) {
    std::string out = d.negative ? "-" : "";
    out += d.digits[0];
    if (d.digits.size() > 1) out += "." + d.digits.substr(1);
    char ebuf[16];
    std::snprintf(ebuf, sizeof ebuf, "E%c%02d", d.exponent < 0 ? '-' : '+', std::abs(d.exponent));
    return out + ebuf;
  }
  return plain(d);
}

bool isgap(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool isdigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string numtext(double value) { return shortform(value, 15); }
std::string numtext(float value) { return shortform(static_cast<double>(value), 7); }
std::string numtext(long long value) { return std::to_string(value); }

std::string strform(double value) {
  std::string s = numtext(value);
  if (value >= 0) {
    if (s.rfind("0.", 0) == 0) s.erase(0, 1);
    return " " + s;
  }
  if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
  return s;
}

std::string plaintext(double value) {
  if (value == 0 || !std::isfinite(value)) return numtext(value);
  return plain(significant(value, 15));
}

double val(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto skip = [&] {
    while (i < n && isgap(text[i])) ++i;
  };
  skip();
  std::string number;
  if (i < n && (text[i] == '-' || text[i] == '+')) number += text[i++];
  bool point = false;
  bool anydigit = false;
  while (i < n) {
    const char c = text[i];
    if (isdigit(c)) {
      number += c;
      anydigit = true;
    } else if (c == '.' && !point) {
      number += c;
      point = true;
    } else if (!isgap(c)) {
      break;
    }
    ++i;
  }
  if (!anydigit) return 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    while (j < n && isgap(text[j])) ++j;
    if (j < n && (text[j] == '-' || text[j] == '+')) exponent += text[j++];
    bool expdigit = false;
    while (j < n && (isdigit(text[j]) || isgap(text[j]))) {
      if (isdigit(text[j])) {
        exponent += text[j];
        expdigit = true;
      }
      ++j;
      if (exponent.size() > 12) break;  // far beyond the range of a double
    }
    if (expdigit) number += exponent;
  }
  if (!number.empty() && number[0] == '+') number.erase(0, 1);
  double v = 0;
  const auto res = std::from_chars(number.data(), number.data() + number.size(), v);
  if (res.ec != std::errc()) return 0;
  // A number beyond the range of a double is not a number that can be used.
  return std::isfinite(v) ? v : 0;
}

long long roundeven(double value) {
  if (!std::isfinite(value)) return 0;
  const double r = std::nearbyint(value);
  // Beyond the range of the result the nearest representable value is
  // given, rather than an undefined conversion.
  if (r >= 9223372036854775807.0) return std::numeric_limits<long long>::max();
  if (r <= -9223372036854775808.0) return std::numeric_limits<long long>::min();
  return static_cast<long long>(r);
}

std::string trim(std::string_view text) { return ltrim(rtrim(text)); }

std::string rtrim(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return std::string(text.substr(0, end));
}

std::string ltrim(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  return std::string(text.substr(start));
}

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z') ch = static_cast<char>(c - 32);
    else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) ch = static_cast<char>(c - 32);
    else if (c == 0x9A || c == 0x9C || c == 0x9E) ch = static_cast<char>(c - 16);
    else if (c == 0xFF) ch = static_cast<char>(0x9F);
  }
  return out;
}

std::string fixwidth(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, std::min(width, text.size())));
  out.resize(width, ' ');
  return out;
}

std::string rightalign(std::string_view text, std::size_t width) {
  if (text.size() >= width) return std::string(text);
  return std::string(width - text.size(), ' ') + std::string(text);
}

std::string_view recordat(std::string_view bytes, long n, std::size_t length, std::string_view blank) {
  if (n < 1) return blank;
  const auto at = static_cast<std::size_t>(n - 1) * length;
  return at + length <= bytes.size() ? bytes.substr(at, length) : blank;
}

int testkey(int keyascii) {
  if ((keyascii >= 33 && keyascii <= 45) || keyascii == 47 || (keyascii >= 58 && keyascii <= 127)) return 0;
  return keyascii;
}

}  // namespace core
