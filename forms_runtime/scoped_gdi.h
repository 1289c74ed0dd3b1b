// GDI handles whose release is part of their type, and guards for what a
// drawing step borrows from a DC, so that every path out of a function, a
// thrown RuntimeError included, gives back what it took:
//
//   OwnedBrush, OwnedFont, OwnedPen, OwnedIcon  own a handle and free it
//                 when they go; a bare HBRUSH, HFONT, HPEN or HICON borrows.
//   ScopedSelect  selects an object into a DC and the previous one back when
//                 it goes, then deletes the object if it was handed one to own.
//   ScopedGetDc   a window's DC from GetDC, handed back with ReleaseDC.
//   SavedDc       the whole state of a DC, restored when it goes.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace forms {

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};

// Move-only, and null when empty: an empty owner frees nothing.
template <typename Handle, typename Free>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, Free>;
using OwnedGdiObject = Owned<HGDIOBJ, DeleteGdiObject>;
using OwnedBrush = Owned<HBRUSH, DeleteGdiObject>;
using OwnedFont = Owned<HFONT, DeleteGdiObject>;
using OwnedPen = Owned<HPEN, DeleteGdiObject>;
using OwnedIcon = Owned<HICON, DestroyIconHandle>;

// Selected back before it is deleted: a selected object cannot be freed. A
// null object (one that could not be made) is neither selected nor deleted.
class ScopedSelect {
public:
    // Borrows object: selected back out, left to its owner.
    ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    // Owns object: selected back out, then deleted.
    ScopedSelect(HDC dc, OwnedGdiObject object) noexcept
        : dc_(dc), previous_(object ? SelectObject(dc, object.get()) : nullptr), owned_(std::move(object)) {}
    // owned_ is freed after this body, once the object is out of the DC.
    ~ScopedSelect() {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
    OwnedGdiObject owned_;
};

class ScopedGetDc {
public:
    explicit ScopedGetDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~ScopedGetDc() { ReleaseDC(window_, dc_); }
    ScopedGetDc(const ScopedGetDc&) = delete;
    ScopedGetDc& operator=(const ScopedGetDc&) = delete;

    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Everything SaveDC keeps of a DC (its background mode, text colour and
// selected objects among them), put back as it was.
class SavedDc {
public:
    explicit SavedDc(HDC dc) noexcept : dc_(dc), state_(SaveDC(dc)) {}
    ~SavedDc() {
        if (state_ != 0)
            RestoreDC(dc_, state_);
    }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int state_;
};

}  // namespace forms
