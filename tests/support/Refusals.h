// Checks of results refused with a reason; a failing check prints the reason actually given.
#pragma once

#include <gmock/gmock.h>

#include <string>

#include "base/Result.h"

namespace trellisor::test {

// A Result or Status refused with a reason that starts with `start`.
MATCHER_P(RefusedWith, start, "refused with a reason starting \"" + std::string(start) + "\"") {
    if (arg) return false;
    *result_listener << "refused with \"" << arg.error() << "\"";
    return arg.error().rfind(start, 0) == 0;
}

// A Result or Status refused with a reason that holds `words`.
MATCHER_P(RefusedSaying, words, "refused with a reason holding \"" + std::string(words) + "\"") {
    if (arg) return false;
    *result_listener << "refused with \"" << arg.error() << "\"";
    return arg.error().find(words) != std::string::npos;
}

// A count, or the reason it is not one.
inline std::string said(const Result<int>& r) { return r ? std::to_string(r.value()) : r.error(); }

}  // namespace trellisor::test
