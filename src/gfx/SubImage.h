// A view onto a rectangle of a parent image, sharing its pixels and routines.
#pragma once

#include "gfx/Image.h"

namespace trellisor {

// The rectangle's right edge is exclusive (width = right - left) and its
// bottom edge inclusive (height = bottom - top + 1). The view borrows the
// parent's palette without a reference and never owns compiled code; it must
// not outlive the parent. A rectangle reaching outside the parent gives an
// invalid view.
class SubImage : public Image {
public:
    SubImage(Image* parent, int left, int top, int right, int bottom);
    ~SubImage() override;

    std::uint8_t* lock(int mode) override;
    void unlock() override;

private:
    Image* m_parent;
    int m_left, m_top;
};

}  // namespace trellisor
