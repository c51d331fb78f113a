#include "launchfile/command_line.h"

#include <utility>

#include "launchfile/arguments_tail.h"
#include "launchfile/macros.h"
#include "util/argument_split.h"
#include "util/byte_buffer.h"
#include "util/code_page.h"
#include "util/run_conventions.h"

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

void appendToken(ByteBuffer& line, const CountedString& token) {
  const CountedString quote("\"");
  CountedString bare = token.replaceAll(quote, CountedString());
  if (bare.findChar(' ') < 0 && bare.findChar('\t') < 0) {
    line.appendString(bare);
    return;
  }
  line.appendString(quote);
  line.appendString(bare);
  if (runConventions().doublesTrailingBackslashes) {
    // Doubled, the backslashes stay themselves and the closing quote still closes.
    int32_t run = trailingBackslashes(bare);
    line.appendBytes(bare.data() + bare.length() - run, run);
  }
  line.appendString(quote);
}

/// Writes pieces into one line: a token is separated from what came before by one blank (an
/// empty token still gets it), text follows as it stands.
class LineWriter {
 public:
  void piece(PieceKind kind, const CountedString& text) {
    switch (kind) {
      case PieceKind::kToken:
        token(text);
        break;
      case PieceKind::kText:
        line_.appendString(text);
        first_ = true;
        break;
      case PieceKind::kArguments:  // already assembled; no arguments add nothing, not even a blank
        if (text.empty()) break;
        separate();
        line_.appendString(text);
        break;
    }
  }
  void token(const CountedString& text) {
    separate();
    appendToken(line_, text);
  }
  CountedString finish() { return line_.toCountedString(); }

 private:
  void separate() {
    if (!first_) line_.appendByte(' ');
    first_ = false;
  }

  ByteBuffer line_;
  bool first_ = true;
};

}  // namespace

CountedString assembleCommandLine(const TokenList& tokens) {
  LineWriter writer;
  for (const CountedString& token : tokens) writer.token(token);
  return writer.finish();
}

CommandForm::CommandForm(std::initializer_list<CommandPiece> pieces) {
  for (const CommandPiece& piece : pieces) add(piece.kind, piece.text);
}

void CommandForm::add(PieceKind kind, CountedString text) {
  texts_.append(std::move(text));
  kinds_.appendByte(static_cast<char>(kind));
}

CommandForm launchFileForm(const TokenList& finalTokens, const ProcessFacts& facts) {
  CommandForm form;
  for (const CountedString& token : finalTokens) {
    if (!isArgumentsSlot(token)) {
      form.add(PieceKind::kToken, token);
    } else if (runConventions().passesArgumentsExactly()) {
      form.add(PieceKind::kArguments, assembleCommandLine(facts.arguments));
    } else {
      form.add(PieceKind::kArguments, shieldedText(argumentsTail(facts)));
    }
  }
  return form;
}

CommandRequest commandOf(const CommandForm& form, const ProcessFacts& facts) {
  CommandRequest command;
  LineWriter line;
  for (size_t i = 0; i < form.size(); ++i) line.piece(form.kind(i), form.text(i));
  command.line = line.finish();
  if (!runConventions().passesArgumentsExactly()) return command;
  LineWriter run;  // the pieces since the last arguments
  for (size_t i = 0; i < form.size(); ++i) {
    if (form.kind(i) != PieceKind::kArguments) {
      run.piece(form.kind(i), form.text(i));
      continue;
    }
    command.arguments.appendAll(splitLauncherArguments(run.finish()));
    run = LineWriter();
    command.arguments.appendAll(facts.arguments);
  }
  command.arguments.appendAll(splitLauncherArguments(run.finish()));
  return command;
}
