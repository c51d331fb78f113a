#include "launchfile/command_line.h"

#include <utility>

#include "launchfile/arguments_tail.h"
#include "launchfile/macros.h"
#include "launchfile/marked_text.h"
#include "util/argument_split.h"
#include "util/byte_buffer.h"
#include "util/code_page.h"
#include "util/run_conventions.h"
#include "util/text_helpers.h"

namespace {

/// Length of the run of backslashes that ends text. Stepping from the start keeps a 0x5C that is
/// the second byte of a double-byte character out of the run.
int32_t trailingBackslashes(const CountedString& text) {
  const char* p = text.data();
  int32_t run = 0;
  for (int32_t i = 0; i < text.length();) {
    int length = mbCharLength(p + i);
    run = (length == 1 && p[i] == '\\') ? run + 1 : 0;
    i += length;
  }
  return run;
}

// The quotes that enclose a token, and the backslashes doubled before the closing one, are the
// launcher's own: never data.
void appendToken(MarkedWriter& line, const CountedString& token, const CountedString& marks) {
  CountedString bareMarks;
  CountedString bare = withoutQuotes(token, marks, &bareMarks);
  const bool enclosed = bare.findChar(' ') >= 0 || bare.findChar('\t') >= 0;
  if (enclosed) line.byte('"');
  line.marked(bare.data(), bareMarks, 0, bare.length());
  if (!enclosed) return;
  if (runConventions().doublesTrailingBackslashes) {
    // Doubled, the backslashes stay themselves and the closing quote still closes.
    int32_t run = trailingBackslashes(bare);
    line.text(bare.data() + bare.length() - run, run);
  }
  line.byte('"');
}

// The program word reaches cmd.exe whole: where a delimiter in it comes from data (a folder named
// "a,b"), the word is enclosed in quotes, which cmd accepts around a command; the program's own
// reading of its name is the same. A delimiter the packager wrote keeps its meaning.
bool appendProgramToken(MarkedWriter& line, const CountedString& token,
                        const CountedString& marks) {
  CountedString bareMarks;
  CountedString bare = withoutQuotes(token, marks, &bareMarks);
  if (bareMarks.empty() || holdsBlank(bare)) {
    return false;  // no data, or enclosed whole like any token
  }
  const int32_t end = commandWordEnd(bare, bareMarks);
  bool split = false;
  for (int32_t i = 0; i < end && !split; i += mbCharLength(bare.data() + i)) {
    split = isCommandDelimiter(bare.byteAt(i)) && bareMarks.byteAt(i) != 0;
  }
  if (!split) return false;
  line.byte('"');
  line.marked(bare.data(), bareMarks, 0, end);
  line.byte('"');
  line.marked(bare.data() + end, bareMarks, end, bare.length() - end);
  return true;
}

/// Writes pieces into one line: a token is separated from what came before by one blank (an
/// empty token still gets it), text follows as it stands.
class LineWriter {
 public:
  explicit LineWriter(bool marking) : line_(marking) {}

  void piece(PieceKind kind, const CountedString& text, const CountedString& marks) {
    switch (kind) {
      case PieceKind::kToken:
        token(text, marks);
        break;
      case PieceKind::kGlued:
        line_.marked(text.data(), marks, 0, text.length());
        first_ = true;
        break;
      case PieceKind::kArguments:  // already assembled; no arguments add nothing, not even a blank
        if (text.empty()) break;
        separate();
        line_.marked(text.data(), marks, 0, text.length());
        break;
    }
  }
  void token(const CountedString& text, const CountedString& marks) {
    separate();
    appendToken(line_, text, marks);
  }
  void programToken(const CountedString& text, const CountedString& marks) {
    separate();
    if (!appendProgramToken(line_, text, marks)) appendToken(line_, text, marks);
  }
  CountedString finish(CountedString* marks) { return line_.finish(marks); }

 private:
  void separate() {
    if (!first_) line_.byte(' ');
    first_ = false;
  }

  MarkedWriter line_;
  bool first_ = true;
};

}  // namespace

CountedString assembleCommandLine(const TokenList& tokens) {
  LineWriter writer(false);
  const CountedString none;
  for (const CountedString& token : tokens) writer.token(token, none);
  return writer.finish(nullptr);
}

CommandForm::CommandForm(std::initializer_list<CommandPiece> pieces) {
  for (const CommandPiece& piece : pieces) add(piece.kind, piece.text, piece.dataMarks);
}

void CommandForm::add(PieceKind kind, CountedString text, CountedString dataMarks) {
  texts_.append(std::move(text));
  dataMarks_.append(std::move(dataMarks));
  kinds_.appendByte(static_cast<char>(kind));
}

void CommandForm::replace(size_t i, PieceKind kind, CountedString text, CountedString dataMarks) {
  texts_.replace(i, std::move(text));
  dataMarks_.replace(i, std::move(dataMarks));
  kinds_.setByte(i, static_cast<char>(kind));
}

CountedString allData(const CountedString& text) {
  MarkedWriter writer(true);
  writer.data(text);
  CountedString marks;
  writer.finish(&marks);
  return marks;
}

CommandForm launchFileForm(const TokenList& finalTokens, const TokenList* finalMarks,
                           const ProcessFacts& facts) {
  CommandForm form;
  const CountedString none;
  for (size_t i = 0; i < finalTokens.size(); ++i) {
    const CountedString& token = finalTokens[i];
    if (!isArgumentsSlot(token)) {
      form.add(PieceKind::kToken, token, finalMarks != nullptr ? (*finalMarks)[i] : none);
    } else if (runConventions().passesArgumentsExactly()) {
      form.add(PieceKind::kArguments, assembleCommandLine(facts.arguments));
    } else {
      CountedString tail = shieldedText(argumentsTail(facts));
      CountedString marks = allData(tail);
      form.add(PieceKind::kArguments, std::move(tail), std::move(marks));
    }
  }
  return form;
}

CommandRequest commandOf(const CommandForm& form, const ProcessFacts& facts) {
  CommandRequest command;
  const bool marking = runConventions().runsThroughInterpreter;
  LineWriter line(marking);
  const size_t program = marking ? programWord(form).piece : form.size();
  for (size_t i = 0; i < form.size(); ++i) {
    if (i == program && form.kind(i) == PieceKind::kToken) {
      line.programToken(form.text(i), form.dataMarks(i));
    } else {
      line.piece(form.kind(i), form.text(i), form.dataMarks(i));
    }
  }
  command.line = line.finish(marking ? &command.lineDataMarks : nullptr);
  if (!runConventions().passesArgumentsExactly()) return command;
  LineWriter run(false);  // the pieces since the last arguments
  for (size_t i = 0; i < form.size(); ++i) {
    if (form.kind(i) != PieceKind::kArguments) {
      run.piece(form.kind(i), form.text(i), form.dataMarks(i));
      continue;
    }
    command.arguments.appendAll(splitLauncherArguments(run.finish(nullptr)));
    run = LineWriter(false);
    command.arguments.appendAll(facts.arguments);
  }
  command.arguments.appendAll(splitLauncherArguments(run.finish(nullptr)));
  return command;
}

bool isCommandDelimiter(unsigned char byte) {
  return byte == ',' || byte == ';' || byte == '=' || byte == '(' || byte == ')' ||
         byte == 0x0B || byte == 0x0C || byte == 0xFF;
}

int32_t commandWordEnd(const CountedString& bare, const CountedString& marks, int32_t start) {
  if (holdsBlank(bare)) return bare.length();
  for (int32_t i = start; i < bare.length(); i += mbCharLength(bare.data() + i)) {
    if (isCommandDelimiter(bare.byteAt(i)) && !isDataAt(marks, i)) return i;
  }
  return bare.length();
}

ProgramWord programWord(const CommandForm& form, size_t from) {
  ProgramWord word;
  for (size_t i = from; i < form.size(); ++i) {
    word.piece = i;
    if (form.kind(i) == PieceKind::kArguments) return word;
    CountedString marks;
    const CountedString bare = withoutQuotes(form.text(i), form.dataMarks(i), &marks);
    int32_t start = 0;
    // cmd.exe skips delimiters, and an @ that turns off its echo, before the command word.
    while (start < bare.length() && !isDataAt(marks, start) &&
           (isCommandDelimiter(bare.byteAt(start)) || bare.byteAt(start) == '@')) {
      ++start;
    }
    if (start == bare.length()) continue;
    int32_t end = commandWordEnd(bare, marks, start);
    const int32_t blank = bare.findChar(' ');
    if (form.kind(i) == PieceKind::kGlued && blank >= 0 && blank < end) end = blank;
    word.name = bare.substring(start, end);
    word.dataMarks = marksOf(marks, start, end);
    word.start = start;
    word.end = end;
    return word;
  }
  word.piece = form.size();
  return word;
}
