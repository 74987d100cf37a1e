// Text helpers shared by the domain and both programs' edges. Text in records is 8-bit
// Windows-1252; the GUI and the console speak UTF-8, so they convert here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Every byte maps to one code point; the five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the control code points of the same number, so a round trip keeps
// them.
std::string Cp1252ToUtf8(const std::string& text);
// Characters the code page cannot hold, and malformed UTF-8, become '?'.
std::string Utf8ToCp1252(const std::string& text);
// Length of the well-formed UTF-8 sequence at text[pos], or 0 when the bytes there are not one
// (overlong forms and surrogates are not well formed).
size_t Utf8SequenceLength(const std::string& text, size_t pos);

// Numbers typed or stored as text, read by the leading-digits rule: leading blanks and one sign
// are accepted, reading stops at the first non-digit, and text that does not start with a number
// reads as 0. Values beyond the 32-bit range saturate.
int32_t ReadLeadingInt(const std::string& text);
// As above for unsigned fields; a negative value wraps to its unsigned 32-bit form.
uint32_t ReadLeadingUnsigned(const std::string& text);
