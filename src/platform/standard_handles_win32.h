// The standard handles of the windowed launcher's interpreter, and the capture of its error
// stream. Only code for Windows lives here.
#pragma once

#include <windows.h>

#include "util/counted_string.h"

/// True for a standard handle that can be passed on: a file, a pipe, a device such as NUL, or a
/// console that this process is attached to. Not a handle that the system does not know, nor one
/// of a console that is not ours: writing there reaches no one, or someone else's window.
bool isUsableHandle(HANDLE handle);

/// The standard handles of the windowed launcher's interpreter. Each usable handle of the
/// caller passes on. Otherwise input and output are the NUL device (input ends at once instead of
/// waiting on a console no one sees), and the error stream is a pipe that a thread of ours reads
/// until the launcher ends, keeping its last bytes.
class InterpreterStreams {
 public:
  void open();
  /// For CreateProcess with inherited handles.
  void describe(STARTUPINFOA* startup) const;
  /// The interpreter holds its own copies now: ours close, the pipe's write end included, so that
  /// the pipe ends when the last process writing to it does.
  void started();
  /// What arrived on the pipe, once the pipe has ended or graceMs more have passed, never later;
  /// false when the error stream is the caller's.
  bool takeCaptured(DWORD graceMs, CountedString* bytes, bool* cut);

 private:
  HANDLE input_ = nullptr;
  HANDLE output_ = nullptr;
  HANDLE error_ = nullptr;
  struct Capture* capture_ = nullptr;
};
