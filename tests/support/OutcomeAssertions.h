#pragma once

#include "io/Outcome.h"

#include <gtest/gtest.h>

namespace m3d {

// For ASSERT_TRUE(Succeeded(...)): a failure prints the outcome's message.
inline ::testing::AssertionResult Succeeded(const Outcome& outcome)
{
    if (outcome) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << outcome.Message();
}

template <class T>
::testing::AssertionResult Succeeded(const Expected<T>& expected)
{
    return Succeeded(expected.Status());
}

}  // namespace m3d
