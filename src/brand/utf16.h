// The resource section holds UTF-16; the tool takes its names in UTF-8.
#pragma once

#include <string>

/// Throws BrandError("... is not valid UTF-8") for an ill-formed sequence.
std::u16string utf16FromUtf8(const std::string& text);
