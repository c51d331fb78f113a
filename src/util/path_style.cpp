#include "util/path_style.h"

namespace {
PathStyle currentStyle = PathStyle::windows();
}

const PathStyle& pathStyle() { return currentStyle; }

void setPathStyle(const PathStyle& style) { currentStyle = style; }
