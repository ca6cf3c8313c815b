#pragma once

#include <algorithm>

namespace toolkit {

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int cx = 0;
    int cy = 0;
};

// Edges are half-open on the right and bottom, like the window rectangles the
// layouts describe: a control at "0,0,10,10" covers pixels 0..9.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    // Shrinks by per-edge insets; never turns inside out.
    Rect Deflate(const Rect& in) const
    {
        Rect r{left + in.left, top + in.top, right - in.right, bottom - in.bottom};
        r.right = std::max(r.right, r.left);
        r.bottom = std::max(r.bottom, r.top);
        return r;
    }
    Rect Intersect(const Rect& o) const
    {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
        if (r.Empty()) return {};
        return r;
    }
    Rect Union(const Rect& o) const
    {
        if (Empty()) return o;
        if (o.Empty()) return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
    }
    bool operator==(const Rect&) const = default;
};

}  // namespace toolkit
