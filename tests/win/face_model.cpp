#include "tests/win/face_model.h"

#include <algorithm>
#include <array>
#include <climits>
#include <sstream>

#include "button_skin/mVistaButton.h"

namespace skin_test {

namespace {

// A corner pixel: a position is a distance from the left/top edge when it is
// 0 or more, and from W or H when negative (-3 is W - 3). r < 0 stands for
// the system's button face colour.
struct Corner {
    int x, y;
    int r, g, b;
};
constexpr int F = -1;

struct Design {
    // Band n ends floor((H + bandShift[n]) / 6) rows after band n - 1; band 1
    // ends at that row itself.
    std::array<int, 5> bandShift;
    std::array<Pixel, 6> bands;
    Pixel surface;  // the disabled face has a flat surface instead of bands
    Pixel outerFrame;
    std::array<Corner, 20> outer;
    Pixel innerFrame;
    Pixel innermostFrame;  // focused face only
    Pixel bottomLine;      // pressed face only
    std::array<Corner, 16> inner;
    Pixel text;
    bool captionInset;  // caption rectangle (0, 1, W, H - 1) instead of (0, 0, W, H)
};

constexpr Pixel kNone = 0xFF000000;
constexpr std::array<int, 5> kEven{-1, -1, -1, -1, -1};

const Design kNormal{
    kEven,
    {Rgb(242, 242, 242), Rgb(240, 240, 240), Rgb(236, 236, 236), Rgb(219, 219, 219),
     Rgb(216, 216, 216), Rgb(209, 209, 209)},
    kNone,
    Rgb(112, 112, 112),
    {{{0, 0, F, 0, 0}, {1, 0, 144, 144, 144}, {2, 0, 119, 119, 119}, {0, 1, 135, 136, 136},
      {0, 2, 117, 117, 117}, {-3, 0, 119, 119, 119}, {-2, 0, 144, 144, 144}, {-1, 0, F, 0, 0},
      {-1, 1, 135, 136, 136}, {-1, 2, 117, 117, 117}, {0, -3, 117, 117, 117},
      {0, -2, 136, 136, 136}, {0, -1, F, 0, 0}, {1, -1, 134, 134, 134}, {2, -1, 117, 117, 117},
      {-1, -3, 117, 117, 117}, {-1, -2, 136, 136, 136}, {-3, -1, 117, 117, 117},
      {-2, -1, 134, 134, 134}, {-1, -1, F, 0, 0}}},
    Rgb(252, 252, 252),
    kNone,
    kNone,
    {{{1, 1, 145, 145, 145}, {2, 1, 232, 232, 232}, {1, 2, 234, 234, 234}, {2, 2, 250, 250, 250},
      {-3, 1, 232, 232, 232}, {-2, 1, 145, 145, 145}, {-3, 2, 250, 250, 250},
      {-2, 2, 234, 234, 234}, {1, -3, 226, 226, 226}, {2, -3, 236, 236, 236},
      {1, -2, 143, 143, 143}, {2, -2, 228, 228, 228}, {-3, -3, 236, 236, 236},
      {-2, -3, 226, 226, 226}, {-3, -2, 228, 228, 228}, {-2, -2, 143, 143, 143}}},
    Rgb(0, 0, 0),
    false};

const Design kPressed{
    {8, 8, 2, -1, -1},
    {Rgb(225, 242, 251), Rgb(216, 238, 250), Rgb(201, 231, 247), Rgb(152, 209, 239),
     Rgb(140, 202, 235), Rgb(127, 194, 229)},
    kNone,
    Rgb(44, 98, 139),
    {{{0, 0, F, 0, 0}, {1, 0, 57, 89, 113}, {2, 0, 46, 96, 134}, {0, 1, 51, 86, 113},
      {0, 2, 44, 95, 134}, {-3, 0, 46, 96, 134}, {-2, 0, 57, 89, 113}, {-1, 0, F, 0, 0},
      {-1, 1, 51, 86, 113}, {-1, 2, 44, 95, 134}, {0, -3, 45, 97, 136}, {0, -2, 71, 110, 140},
      {0, -1, F, 0, 0}, {1, -1, 75, 117, 147}, {2, -1, 46, 100, 140}, {-1, -3, 45, 97, 136},
      {-1, -2, 71, 110, 140}, {-3, -1, 46, 100, 140}, {-2, -1, 75, 117, 147}, {-1, -1, F, 0, 0}}},
    Rgb(186, 203, 213),
    kNone,
    Rgb(104, 178, 218),
    {{{1, 1, 58, 104, 138}, {2, 1, 134, 157, 171}, {1, 2, 134, 157, 171}, {2, 2, 186, 203, 213},
      {-3, 1, 149, 171, 184}, {-2, 1, 58, 104, 138}, {-3, 2, 186, 203, 213},
      {-2, 2, 149, 171, 184}, {1, -3, 85, 146, 181}, {2, -3, 109, 181, 220},
      {1, -2, 47, 100, 138}, {2, -2, 99, 172, 211}, {-3, -3, 109, 181, 220},
      {-2, -3, 85, 146, 181}, {-3, -2, 99, 172, 211}, {-2, -2, 47, 100, 138}}},
    Rgb(0, 0, 0),
    true};

const Design kFocused{
    kEven,
    {Rgb(238, 243, 245), Rgb(235, 240, 242), Rgb(233, 238, 241), Rgb(213, 223, 229),
     Rgb(208, 220, 227), Rgb(202, 215, 222)},
    kNone,
    Rgb(60, 127, 177),
    {{{0, 0, F, 0, 0}, {1, 0, 160, 190, 212}, {2, 0, 86, 143, 186}, {0, 1, 158, 188, 211},
      {0, 2, 83, 142, 185}, {-3, 0, 86, 143, 186}, {-2, 0, 160, 190, 212}, {-1, 0, F, 0, 0},
      {-1, 1, 158, 188, 211}, {-1, 2, 83, 142, 185}, {0, -3, 83, 142, 185},
      {0, -2, 158, 188, 211}, {0, -1, F, 0, 0}, {1, -1, 155, 187, 210}, {2, -1, 81, 140, 184},
      {-1, -3, 83, 142, 185}, {-1, -2, 158, 188, 211}, {-3, -1, 81, 140, 184},
      {-2, -1, 155, 187, 210}, {-1, -1, F, 0, 0}}},
    Rgb(64, 215, 252),
    Rgb(210, 238, 246),
    kNone,
    {{{1, 1, 58, 147, 194}, {2, 1, 59, 201, 242}, {1, 2, 59, 202, 242}, {2, 2, 106, 222, 251},
      {-3, 1, 59, 201, 242}, {-2, 1, 58, 147, 194}, {-3, 2, 106, 222, 251},
      {-2, 2, 59, 202, 242}, {1, -3, 52, 195, 236}, {2, -3, 88, 207, 239},
      {1, -2, 56, 145, 193}, {2, -2, 51, 196, 237}, {-3, -3, 88, 207, 239},
      {-2, -3, 52, 195, 236}, {-3, -2, 51, 196, 237}, {-2, -2, 56, 145, 193}}},
    Rgb(0, 0, 0),
    true};

const Design kDisabled{
    kEven,
    {},
    Rgb(244, 244, 244),
    Rgb(173, 178, 181),
    {{{0, 0, F, 0, 0}, {1, 0, 183, 197, 190}, {2, 0, 175, 180, 183}, {0, 1, 177, 181, 174},
      {0, 2, 174, 179, 182}, {-3, 0, 175, 180, 183}, {-2, 0, 183, 197, 190}, {-1, 0, F, 0, 0},
      {-1, 1, 177, 181, 174}, {-1, 2, 174, 179, 182}, {0, -3, 174, 179, 182},
      {0, -2, 177, 181, 174}, {0, -1, F, 0, 0}, {1, -1, 183, 197, 190}, {2, -1, 175, 180, 183},
      {-1, -3, 174, 179, 182}, {-1, -2, 177, 181, 174}, {-3, -1, 175, 180, 183},
      {-2, -1, 183, 197, 190}, {-1, -1, F, 0, 0}}},
    Rgb(252, 252, 252),
    kNone,
    kNone,
    {{{1, 1, 192, 195, 198}, {2, 1, 241, 242, 242}, {1, 2, 242, 242, 243}, {2, 2, 251, 251, 251},
      {-3, 1, 241, 242, 242}, {-2, 1, 192, 195, 198}, {-3, 2, 251, 251, 251},
      {-2, 2, 242, 242, 243}, {1, -3, 242, 242, 243}, {2, -3, 251, 251, 251},
      {1, -2, 192, 195, 198}, {2, -2, 243, 243, 244}, {-3, -3, 251, 251, 251},
      {-2, -3, 242, 242, 243}, {-3, -2, 243, 243, 244}, {-2, -2, 192, 195, 198}}},
    Rgb(131, 131, 131),
    false};

const Design& DesignOf(Kind kind) {
    switch (kind) {
    case Kind::Pressed: return kPressed;
    case Kind::Focused: return kFocused;
    case Kind::Disabled: return kDisabled;
    case Kind::Normal: break;
    }
    return kNormal;
}

// The face stops where its 32-bit arithmetic overflows.
struct Overflow {};
std::int64_t Fits(std::int64_t value) {
    if (value < INT32_MIN || value > INT32_MAX) throw Overflow{};
    return value;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// [start, end) as GDI covers it, for a span given either way round.
std::pair<std::int64_t, std::int64_t> Span(std::int64_t start, std::int64_t end) {
    return start <= end ? std::pair{start, end} : std::pair{end + 1, start + 1};
}

}  // namespace

const char* Name(Kind kind) {
    switch (kind) {
    case Kind::Normal: return "normal";
    case Kind::Pressed: return "pressed";
    case Kind::Focused: return "focused";
    case Kind::Disabled: return "disabled";
    }
    return "?";
}

Pixel FromColorRef(COLORREF colour) {
    return Rgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

Pixel TextColour(Kind kind) { return DesignOf(kind).text; }
Pixel BandColour(Kind kind, int band) { return DesignOf(kind).bands.at(band - 1); }

Canvas::Canvas(int width, int height, int origin)
    : width_(width), height_(height), origin_(origin), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<Pixel*>(bits);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    SetViewportOrgEx(dc_, origin, origin, nullptr);
    if (!dc_ || !bitmap_ || !bits_) ADD_FAILURE() << "no memory bitmap";
    Clear();
}

Canvas::~Canvas() {
    SelectObject(dc_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void Canvas::Clear() {
    GdiFlush();
    std::fill(bits_, bits_ + static_cast<std::size_t>(width_) * height_, kSentinel);
}

std::vector<Pixel> Canvas::Pixels() const {
    GdiFlush();
    return {bits_, bits_ + static_cast<std::size_t>(width_) * height_};
}

Picture::Picture(const Canvas& canvas)
    : width(canvas.Width()),
      height(canvas.Height()),
      origin(canvas.Origin()),
      pixels(static_cast<std::size_t>(width) * height, kSentinel) {}

void Picture::Set(std::int64_t x, std::int64_t y, Pixel colour) {
    x += origin;
    y += origin;
    if (x >= 0 && x < width && y >= 0 && y < height) pixels[y * width + x] = colour;
}

void Picture::Fill(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                   Pixel colour) {
    const auto [x0, x1] = Span(left, right);
    const auto [y0, y1] = Span(top, bottom);
    for (std::int64_t y = std::max<std::int64_t>(y0, -origin); y < std::min<std::int64_t>(y1, height - origin); ++y)
        for (std::int64_t x = std::max<std::int64_t>(x0, -origin); x < std::min<std::int64_t>(x1, width - origin); ++x)
            Set(x, y, colour);
}

void Picture::Frame(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                    Pixel colour) {
    if (right <= left || bottom <= top) return;
    for (std::int64_t y = std::max<std::int64_t>(top, -origin); y < std::min<std::int64_t>(bottom, height - origin); ++y)
        for (std::int64_t x = std::max<std::int64_t>(left, -origin); x < std::min<std::int64_t>(right, width - origin); ++x)
            if (x == left || x == right - 1 || y == top || y == bottom - 1) Set(x, y, colour);
}

void Picture::Line(std::int64_t x0, std::int64_t x1, std::int64_t y, Pixel colour) {
    // x0 .. x1 - 1 going right, x0 down to x1 + 1 going left.
    const auto [from, to] = Span(x0, x1);
    for (std::int64_t x = std::max<std::int64_t>(from, -origin); x < std::min<std::int64_t>(to, width - origin); ++x)
        Set(x, y, colour);
}

Expected ExpectFace(Kind kind, const RECT& item, const Canvas& canvas) {
    const Design& d = DesignOf(kind);
    Expected e{Picture(canvas)};
    const auto corner = [](const Corner& c) {
        return c.r < 0 ? FromColorRef(GetSysColor(COLOR_BTNFACE)) : Rgb(c.r, c.g, c.b);
    };
    try {
        Picture& p = e.picture;
        const std::int64_t w = Fits(std::int64_t{item.right} - item.left);
        const std::int64_t h = Fits(std::int64_t{item.bottom} - item.top);
        const auto at = [](int offset, std::int64_t size) {
            return offset >= 0 ? offset : Fits(size + offset);
        };

        if (d.surface != kNone) {
            p.Fill(item.left, item.top, item.right, item.bottom, d.surface);
            p.Frame(item.left, item.top, item.right, item.bottom, d.outerFrame);
        } else {
            const std::int64_t right = Fits(w - 2);
            Fits(h - 4);
            std::int64_t top = 2;
            for (int band = 0; band < 5; ++band) {
                const std::int64_t rows = FloorDiv(h + d.bandShift[band], 6);
                const std::int64_t bottom = Fits(band == 0 ? rows : top + rows);
                p.Fill(2, top, right, bottom, d.bands[band]);
                top = bottom;
            }
            p.Fill(2, top, right, Fits(h - 2), d.bands[5]);
            p.Frame(0, 0, w, h, d.outerFrame);
        }
        for (const Corner& c : d.outer) {
            const std::int64_t x = at(c.x, w);
            const std::int64_t y = at(c.y, h);
            p.Set(x, y, corner(c));
            ++e.outerCornersSet;
        }
        p.Frame(1, 1, Fits(w - 1), Fits(h - 1), d.innerFrame);
        if (d.innermostFrame != kNone) p.Frame(2, 2, Fits(w - 2), Fits(h - 2), d.innermostFrame);
        if (d.bottomLine != kNone) {
            const std::int64_t y = Fits(h - 2);
            p.Line(2, Fits(w - 2), y, d.bottomLine);
        }
        for (const Corner& c : d.inner) p.Set(at(c.x, w), at(c.y, h), corner(c));
        e.itemAtReturn = d.captionInset
                             ? RECT{0, 1, static_cast<LONG>(w), static_cast<LONG>(Fits(h - 1))}
                             : RECT{0, 0, static_cast<LONG>(w), static_cast<LONG>(h)};
    } catch (const Overflow&) {
        e.overflows = true;
    }
    return e;
}

void DrawFace(Kind kind, HDC dc, RECT& item, const wchar_t* caption) {
    switch (kind) {
    case Kind::Normal: return mVistaButton::DrawNormalFace(dc, item, caption);
    case Kind::Pressed: return mVistaButton::DrawPressedFace(dc, item, caption);
    case Kind::Focused: return mVistaButton::DrawFocusedFace(dc, item, caption);
    case Kind::Disabled: return mVistaButton::DrawDisabledFace(dc, item, caption);
    }
}

::testing::AssertionResult SamePicture(const std::vector<Pixel>& actual, const Picture& expected) {
    std::ostringstream out;
    int wrong = 0;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            const Pixel want = expected.pixels[y * expected.width + x];
            const Pixel got = actual[y * expected.width + x];
            if (want == got) continue;
            if (++wrong <= 12) {
                out << "\n  (" << x - expected.origin << ", " << y - expected.origin << "): painted "
                    << std::hex << got << ", expected " << want << std::dec;
            }
        }
    }
    if (wrong == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels differ" << out.str();
}

}  // namespace skin_test
