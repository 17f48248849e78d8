#pragma once

#include "io/Outcome.h"

#include <gtest/gtest.h>

#include <string>

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

// For EXPECT_TRUE(FailedWith(outcome, "part of the message")).
inline ::testing::AssertionResult FailedWith(const Outcome& outcome, const std::string& part)
{
    if (outcome.Ok()) return ::testing::AssertionFailure() << "succeeded";
    if (outcome.Message().find(part) == std::string::npos)
        return ::testing::AssertionFailure() << "failed with: " << outcome.Message();
    return ::testing::AssertionSuccess();
}

template <class T>
::testing::AssertionResult FailedWith(const Expected<T>& expected, const std::string& part)
{
    return FailedWith(expected.Status(), part);
}

}  // namespace m3d
