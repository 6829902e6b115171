// The object most tests start from: standardSprites in a loaded object with blank texts.
#pragma once

#include "support/ObjectBuilder.h"

namespace trellisor::test {

// count sprites (168, 165 or 146 as New builds them, or any other), with these flag bytes.
inline PathObject standardObject(int count = 168, std::uint8_t supportType = 0, std::uint8_t pathFlags = 0) {
    return buildObject(standardSprites(count), twelveStrings(), supportType, pathFlags);
}

}  // namespace trellisor::test
