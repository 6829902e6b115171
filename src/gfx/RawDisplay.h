// The plain-memory display (kind 1) and the display that shows its screen
// image through the window port (kind 2).
#pragma once

#include "gfx/Display.h"

namespace trellisor {

class RawDisplay : public Display {
public:
    explicit RawDisplay(WindowPort* window, int flags);
    ~RawDisplay() override;

    bool isReady() const override;
    const char* typeName(const char** out) const override;
    bool setMode(int width, int height, int bitsPerPixel, int reserved) override;
    Image* screen(int reserved = 0) const override;
    void releaseScreen() override;
    std::unique_ptr<Image> createImage(int width, int height, int bitsPerPixel, int purpose) override;
};

class DibDisplay : public RawDisplay {
public:
    explicit DibDisplay(WindowPort* window, int flags);
    ~DibDisplay() override;

    bool isReady() const override;
    const char* typeName(const char** out) const override;
    void present(int reserved = 0) override;
    std::unique_ptr<Image> createImage(int width, int height, int bitsPerPixel, int purpose) override;
};

}  // namespace trellisor
