// EXPECT_THROW_MSG(expr, type, message): expr throws type whose Message() is
// exactly message (UTF-8), as the user would read it.
#pragma once

#include <gtest/gtest.h>

#include "platform/rtl/Text.h"

#define EXPECT_THROW_MSG(expr, type, message)                     \
  do {                                                            \
    try {                                                         \
      (void)(expr);                                               \
      ADD_FAILURE() << #expr " did not throw";                    \
    } catch (const type& e) {                                     \
      EXPECT_EQ(rtl::Utf16ToUtf8(e.Message()), message) << #expr; \
    }                                                             \
  } while (false)
