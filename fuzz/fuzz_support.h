// What every fuzz target shares: the text settings chosen by the input's first byte, one fixed
// process context, plain reference models of the scanners, and the checks of their invariants.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/process_facts.h"
#include "util/counted_string.h"
#include "util/token_list.h"

namespace fuzz {

/// Ends the run with a message that libFuzzer records as a crash, input saved.
[[noreturn]] void fail(const char* what, const std::string& detail);

#define FUZZ_CHECK(condition, detail) \
  do {                                \
    if (!(condition)) ::fuzz::fail(#condition, (detail)); \
  } while (0)

/// One of the six lead-byte tables (932, 936, 949, 950, 1361, none) and one of the two path
/// styles, so that a single run covers all twelve combinations.
void chooseTextSettings(uint8_t selector);

/// The facts of the fixed launcher below.
ProcessFacts& facts();

/// A fixed launcher: executable, command-line tail and environment, with a real directory (blanks
/// in its name) that whole-token variables and wildcards can find. Set once per process.
void setUpProcessContext();
/// The directory that holds the fixture's files; the current directory during a run.
const std::string& fixtureDirectory();

std::string str(const CountedString& text);
CountedString counted(const std::string& text);
/// Zero-free pieces of the input, split at its zero bytes; empty pieces left out.
std::vector<std::string> piecesBetweenZeros(const uint8_t* data, size_t size);

/// Bytes of the character at i in text[0, n): 2 for a lead byte with a byte after it, else 1.
int charLength(const std::string& text, size_t i);
/// The same as cmd.exe sees it after the line's conversion to UTF-16: a second byte below 0x40
/// ends no character in an ANSI code page, so a lead byte before one stands alone.
int interpreterCharLength(const std::string& text, size_t i);
/// The text without the double quotes that stand at character boundaries.
std::string withoutQuotes(const std::string& text);
/// True when the text's last character is a lead byte without its second byte.
bool endsInLoneLeadByte(const std::string& text);

// Reference models, written from the rules rather than from the code they check.
std::vector<std::string> referenceSplitTokens(const std::string& text);
std::string referenceExpandMacros(const std::string& token);
std::vector<std::string> referenceSplitPathList(const std::string& token, bool* hadSeparator);
std::string referenceUnquote(const std::string& piece, bool* hasWildcard);

/// escapeForInterpreter of line (marks: one byte per byte, non-zero for data) against a model of
/// cmd.exe: where it escapes, cmd reads the escaped line as it would read the launch file's text
/// with every data byte inert; where it refuses, the refused byte is data in a place its rules
/// name.
void checkInterpreterReading(const std::string& line, const std::string& marks);

/// Every token non-empty and free of zero bytes, but for the arguments slot.
void checkTokens(const TokenList& tokens, const char* stage);
/// splitTokens of text agrees with the model, and each token splits into itself alone.
void checkSplit(const std::string& text, const TokenList& tokens);
/// The final tokens come back as the program's arguments, without their quotes (empty ones
/// gone) and with the launcher's arguments exactly where a slot stands: in the Windows style the
/// command line as the C runtime splits it, in the POSIX style the arguments the launcher makes.
/// Malformed text (a token ending in a lone lead byte) can swallow the quote or blank after it, so
/// the check stops before the first such token.
void checkRoundTrip(const TokenList& finalTokens, const CountedString& commandLine);

}  // namespace fuzz
