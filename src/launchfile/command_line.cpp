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
  void piece(const CommandPiece& piece) {
    switch (piece.kind) {
      case PieceKind::kToken:
        token(piece.text);
        break;
      case PieceKind::kText:
        line_.appendString(piece.text);
        first_ = true;
        break;
      case PieceKind::kArguments:  // already assembled; no arguments add nothing, not even a blank
        if (piece.text.empty()) break;
        separate();
        line_.appendString(piece.text);
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

CommandForm launchFileForm(const TokenList& finalTokens, const ProcessFacts& facts) {
  CommandForm form;
  form.reserve(finalTokens.size());
  for (const CountedString& token : finalTokens) {
    if (!isArgumentsSlot(token)) {
      form.push_back({PieceKind::kToken, token});
    } else if (runConventions().passesArgumentsExactly()) {
      form.push_back({PieceKind::kArguments, assembleCommandLine(facts.arguments)});
    } else {
      form.push_back({PieceKind::kArguments, shieldedText(argumentsTail(facts))});
    }
  }
  return form;
}

CommandRequest commandOf(const CommandForm& form, const ProcessFacts& facts) {
  CommandRequest command;
  LineWriter line;
  for (const CommandPiece& piece : form) line.piece(piece);
  command.line = line.finish();
  if (!runConventions().passesArgumentsExactly()) return command;
  LineWriter run;  // the pieces since the last arguments
  for (const CommandPiece& piece : form) {
    if (piece.kind != PieceKind::kArguments) {
      run.piece(piece);
      continue;
    }
    command.arguments.appendAll(splitLauncherArguments(run.finish()));
    run = LineWriter();
    command.arguments.appendAll(facts.arguments);
  }
  command.arguments.appendAll(splitLauncherArguments(run.finish()));
  return command;
}
