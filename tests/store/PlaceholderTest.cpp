#include <gtest/gtest.h>

TEST(Store, Builds) { SUCCEED(); }
