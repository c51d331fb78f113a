// GoogleTest's main, plus the start-up that the launcher's own main performs, so that tests see
// the real code page and path style of the system they run on.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"
#include "platform/text_services.h"
#include "support/real_code_page.h"
#include "util/code_page.h"
#include "util/path_style.h"

namespace test {
uint32_t expectedCodePage = 0;
}

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const char prefix[] = "--expect-code-page=";
    if (std::strncmp(argv[i], prefix, sizeof prefix - 1) == 0) {
      test::expectedCodePage = static_cast<uint32_t>(std::atoi(argv[i] + sizeof prefix - 1));
    }
  }
  setPathStyle(platformPathStyle());
  setRunConventions(platformRunConventions());
  setActiveCodePage(platformActiveCodePage());
  return RUN_ALL_TESTS();
}
