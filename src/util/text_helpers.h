// Small questions about text that many places ask: beginnings, endings, names in a list, and the
// text without its double quotes.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "util/counted_string.h"

bool startsWith(const CountedString& text, const char* prefix);

/// Compares the last bytes of text with ending without regard to case.
bool endsWithNoCase(const CountedString& text, const char* ending);

/// Equal without regard to case, as the active code page defines it.
bool sameNoCase(const CountedString& text, const char* other);

/// True when text holds a blank or a tab, the bytes that get a token enclosed in quotes.
bool holdsBlank(const CountedString& text);

/// True when text is exactly one of names.
bool isOneOf(const CountedString& text, std::initializer_list<const char*> names);

/// value in decimal digits, written by hand: the printf family would bring the C runtime's whole
/// formatter, floating point included, into an exe that must stay small.
CountedString decimalText(int32_t value);

/// Every double quote removed: a token as a program reads it, where quotes only group.
CountedString withoutQuotes(const CountedString& text);
