#include "platform/standard_handles_win32.h"

#include <winternl.h>

#include "platform/output_tail.h"

namespace {

// FileFsDeviceInformation of NtQueryVolumeInformationFile, which GetFileType itself reads.
struct DeviceInformation {
  ULONG deviceType;
  ULONG characteristics;
};
constexpr int kFileFsDeviceInformation = 4;
constexpr ULONG kConsoleDevice = 0x50;  // FILE_DEVICE_CONSOLE

using QueryVolume = NTSTATUS(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);

// A character device other than a console: NUL and the like can be written to whoever opens
// them. ntdll is in every process; its function is looked up rather than linked.
bool isDeviceOtherThanConsole(HANDLE handle) {
  auto query = reinterpret_cast<QueryVolume>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryVolumeInformationFile")));
  IO_STATUS_BLOCK status;
  DeviceInformation device = {};
  return query != nullptr &&
         NT_SUCCESS(query(handle, &status, &device, sizeof device, kFileFsDeviceInformation)) &&
         device.deviceType != kConsoleDevice;
}

// The handle again, inheritable, whatever the caller made of its own; null when it cannot be.
HANDLE inheritableCopy(HANDLE handle) {
  HANDLE copy = nullptr;
  DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                  DUPLICATE_SAME_ACCESS);
  return copy;
}

HANDLE callersHandle(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  return isUsableHandle(handle) ? inheritableCopy(handle) : nullptr;
}

HANDLE openNulDevice() {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherit, OPEN_EXISTING, 0, nullptr);
  return nul == INVALID_HANDLE_VALUE ? nullptr : nul;
}

}  // namespace

bool isUsableHandle(HANDLE handle) {
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return false;
  DWORD type = GetFileType(handle);
  if (type == FILE_TYPE_UNKNOWN) return false;
  if (type != FILE_TYPE_CHAR) return true;
  DWORD mode;
  return GetConsoleMode(handle, &mode) || isDeviceOtherThanConsole(handle);
}

// The reading thread's state. It lives until the launcher ends: the thread is never joined.
struct Capture {
  HANDLE pipe;
  HANDLE ended;  // set when every writer has closed the pipe
  CRITICAL_SECTION lock;
  OutputTail tail;
};

namespace {

DWORD WINAPI readErrorOutput(void* state) {
  Capture* capture = static_cast<Capture*>(state);
  char buffer[OutputTail::kCapacity];
  DWORD count = 0;
  while (ReadFile(capture->pipe, buffer, sizeof buffer, &count, nullptr)) {
    EnterCriticalSection(&capture->lock);
    capture->tail.append(buffer, static_cast<int32_t>(count));
    LeaveCriticalSection(&capture->lock);
  }
  SetEvent(capture->ended);
  return 0;
}

// The pipe's write end (inheritable) with its reader running, or null. The read end is not
// inheritable: no process we start may hold it.
HANDLE startCapture(Capture** capture) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return nullptr;
  Capture* state = new Capture;
  state->pipe = readEnd;
  state->ended = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  InitializeCriticalSection(&state->lock);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  HANDLE reader = state->ended == nullptr ? nullptr
                  : CreateThread(nullptr, 64 * 1024, readErrorOutput, state,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (reader == nullptr) {  // no reader: a pipe that fills up would block the program
    CloseHandle(writeEnd);
    CloseHandle(readEnd);
    if (state->ended != nullptr) CloseHandle(state->ended);
    DeleteCriticalSection(&state->lock);
    delete state;
    return nullptr;
  }
  CloseHandle(reader);
  *capture = state;
  return writeEnd;
}

}  // namespace

void InterpreterStreams::open() {
  input_ = callersHandle(STD_INPUT_HANDLE);
  output_ = callersHandle(STD_OUTPUT_HANDLE);
  error_ = callersHandle(STD_ERROR_HANDLE);
  if (error_ == nullptr) error_ = startCapture(&capture_);
  if (input_ == nullptr) input_ = openNulDevice();
  if (output_ == nullptr) output_ = openNulDevice();
  if (error_ == nullptr) error_ = openNulDevice();
}

void InterpreterStreams::describe(STARTUPINFOA* startup) const {
  startup->dwFlags |= STARTF_USESTDHANDLES;
  startup->hStdInput = input_;
  startup->hStdOutput = output_;
  startup->hStdError = error_;
}

void InterpreterStreams::started() {
  HANDLE* handles[] = {&input_, &output_, &error_};
  for (HANDLE* handle : handles) {
    if (*handle != nullptr) CloseHandle(*handle);
    *handle = nullptr;
  }
}

bool InterpreterStreams::takeCaptured(DWORD graceMs, CountedString* bytes, bool* cut) {
  if (capture_ == nullptr) return false;
  WaitForSingleObject(capture_->ended, graceMs);
  EnterCriticalSection(&capture_->lock);
  *bytes = capture_->tail.text();
  *cut = capture_->tail.cut();
  LeaveCriticalSection(&capture_->lock);
  return true;
}
