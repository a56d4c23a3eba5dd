// Text and number rules shared by every part of the system.
//
// Texts are byte strings in the Windows-1252 code page, exactly as they are
// stored on disk, so a field width counts bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace core {

// Carriage return followed by line feed: the line break of every multi-line text.
inline constexpr std::string_view crlf = "\r\n";
// A carriage return alone, used by a few captions.
inline constexpr char CR = '\r';
// The no-break space and the micro sign of Windows-1252.
inline constexpr char NBSP = '\xA0';
inline constexpr char MICRO = '\xB5';
inline constexpr char PLUSMINUS = '\xB1';

// Short form of a double: up to 15 significant digits, no trailing zeros, no
// leading blank, plain from 0.0001 up to (not including) 1E+15, otherwise the
// exponent form 1E-06, 2.5E-05, 1E+15.
std::string numtext(double value);
// Short form of a single-precision value: up to 7 significant digits, with
// the same plain and exponent ranges (12345678 is written 12345680).
std::string numtext(float value);
// Shortest text of a whole number, no leading blank.
std::string numtext(long long value);
inline std::string numtext(int value) { return numtext(static_cast<long long>(value)); }
inline std::string numtext(std::int16_t value) { return numtext(static_cast<long long>(value)); }

// The Str form: the short form with one leading blank for a value that is not
// negative and without the zero before the point of a value below 1
// (0.05 gives " .05", -0.5 gives "-.5").
std::string strform(double value);

// Plain decimal text of a double rounded to 15 significant digits, never in
// exponent form (1E-06 is written 0.000001).
std::string plaintext(double value);

// The leading number of a text: blanks, tabs and line feeds are skipped
// wherever they stand inside the number, an optional sign, digits with one
// point, an optional exponent (E or D); reading stops at the first character
// that cannot continue the number. No number gives 0.
double val(std::string_view text);

// Rounding to the nearest whole number, halves to the even neighbour.
long long roundeven(double value);

// Trim removes blanks (byte 32) only; line breaks and other characters stay.
std::string trim(std::string_view text);
std::string rtrim(std::string_view text);
std::string ltrim(std::string_view text);
// Capitals of the ASCII letters and of the Windows-1252 small letters.
std::string upper(std::string_view text);
// Cut to width bytes, or fill with blanks to width bytes.
std::string fixwidth(std::string_view text, std::size_t width);
// Right-aligned in width characters by blanks in front (never cut).
std::string rightalign(std::string_view text, std::size_t width);

// Record n (from 1) of fixed-length records of length bytes held in bytes,
// or blank when the bytes do not hold that record whole: a record past the
// end of a file reads as a blank record.
std::string_view recordat(std::string_view bytes, long n, std::size_t length, std::string_view blank);

// The key filter of the number boxes (the trainee's answer box in the
// built-in modules, the drug editor's amounts): the code of a typed
// character, or 0 when it is dropped. Digits, the point, the blank, the
// control keys and the characters above 127 pass; every other printable
// character (letters, signs, comma, slash) is dropped.
int testkey(int keyascii);

}  // namespace core
