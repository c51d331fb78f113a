// The resource section holds UTF-16; the tool takes and prints UTF-8.
#pragma once

#include <string>

/// Throws BrandError("... is not valid UTF-8") for an ill-formed sequence.
std::u16string utf16FromUtf8(const std::string& text);
/// Unpaired surrogates become U+FFFD: used only to show names and values.
std::string utf8FromUtf16(const std::u16string& text);
