// What the tests and the bench both count GDI objects with.
#pragma once

#include <windows.h>

#include <vector>

namespace test_support {

// How many more brushes this process can create: an exact count of the GDI objects it holds, where Wine's
// GetGuiResources answers 0. Capped, should a system have no limit short of memory.
inline int GdiHeadroom() {
    std::vector<HBRUSH> brushes;
    for (HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3)); brush != nullptr; brush = CreateSolidBrush(RGB(1, 2, 3))) {
        brushes.push_back(brush);
        if (brushes.size() == 200000)
            break;
    }
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    return static_cast<int>(brushes.size());
}

}  // namespace test_support
