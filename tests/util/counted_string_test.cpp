#include "util/counted_string.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

TEST(CountedStringTest, Placeholder) { EXPECT_EQ(CountedString("a").length(), 1); }
