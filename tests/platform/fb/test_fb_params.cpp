#include <gtest/gtest.h>

#include "platform/fb/ibstatement.h"

TEST(ParseSQLParams, Placeholder) { SUCCEED(); }
