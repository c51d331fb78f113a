// The Java runtimes that the registry records. Only code for Windows lives here.
#include "platform/platform.h"

RecordedRuntimes platformRecordedRuntimes() { return RecordedRuntimes(); }  // TODO(registry)
