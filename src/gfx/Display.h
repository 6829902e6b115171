// The display: owns the back buffer (screen image), creates images in its depth,
// loads image files into them, and shows the back buffer through a window port.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "gfx/Image.h"
#include "gfx/WindowPort.h"

namespace trellisor {

// Depth marker: the display's own bits per pixel.
inline constexpr int kDisplayDepth = 666;
// Purpose marker: the screen image.
inline constexpr int kScreenPurpose = 69;

class Display {
public:
    Display() = default;
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // --- the virtual operations, in slot order ---
    virtual ~Display();                                                       // 0 (leaves screen alone)
    virtual bool isReady() const;                                             // 1
    virtual int query() const;                                                // 2
    virtual const char* typeName(const char** out) const;                     // 3
    virtual bool setMode(int width, int height, int bitsPerPixel, int reserved);  // 4
    virtual Image* screen(int reserved = 0) const;                            // 5
    virtual void releaseScreen();                                             // 6
    virtual void setBitsPerPixel(int n);                                      // 7
    virtual void present(int reserved = 0);                                   // 8
    virtual std::unique_ptr<Image> loadImageFile(const std::string& fileName);  // 9
    virtual std::unique_ptr<Image> loadImageMemory(const std::uint8_t* data, int width, int height,
                                                   int planes, int bytesPerLine, int size);  // 10
    virtual std::unique_ptr<Image> loadImageFile2(const std::string& fileName);  // 11
    virtual std::unique_ptr<Image> createImage(int width, int height, int bitsPerPixel,
                                               int purpose);                 // 12

    int bitsPerPixel() const { return m_bitsPerPixel; }
    bool memoryImagesOnly() const { return m_memoryImagesOnly; }
    int kind() const { return m_kind; }
    WindowPort* window() const { return m_window; }

protected:
    std::int32_t m_bitsPerPixel = 0;
    bool m_memoryImagesOnly = false;
    std::int32_t m_kind = 0;
    Image* m_screen = nullptr;  // owned; destroyed only by releaseScreen
    WindowPort* m_window = nullptr;

    friend std::unique_ptr<Display> createDisplay(int kind, WindowPort* window, int flags);
};

// 0 Display ("Empty"), 1 RawDisplay ("Raw"), 2 DibDisplay ("DIB"), else null.
std::unique_ptr<Display> createDisplay(int kind, WindowPort* window, int flags);

}  // namespace trellisor
