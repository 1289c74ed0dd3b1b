// The declarative description of a window: a table of controls with their
// kinds, containers, captions, twips, colours, fonts and tab order, which the
// forms runtime reads once to build the window.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>

namespace forms {

// A control of a window, or the window itself. Each window names its controls
// by an enum of its own (calculator::Form1Control), whose values are the
// controls' child-window IDs and 0 for the window: a misspelt name does not
// compile, and no control is looked up by a string.
class ControlId {
public:
    // Implicit on purpose: a control's name is written where a ControlId is asked for.
    template <typename Name>
    requires std::is_enum_v<Name>
    // cppcheck-suppress noExplicitConstructor
    constexpr ControlId(Name name) : value_(static_cast<int>(name)) {}  // NOLINT(google-explicit-constructor)
    static constexpr ControlId Window() { return ControlId(0); }
    constexpr int Value() const { return value_; }
    constexpr bool IsWindow() const { return value_ == 0; }
    friend constexpr bool operator==(ControlId, ControlId) = default;

private:
    explicit constexpr ControlId(int value) : value_(value) {}
    int value_;
};

enum class ControlKind { Frame, Label, TextBox, OptionButton, CommandButton };

struct Colour {
    std::uint8_t r, g, b;
};

struct FontDef {
    const wchar_t* face;  // preferred face; a CJK substitute is used where it is missing
    int tenthsOfPoint;    // 105 = 10.5 pt
    int weight;           // 400 = normal
    bool italic, underline, strikeout;
    std::uint8_t charset;
};

enum ControlFlag : unsigned {
    kNoFlags = 0,
    kAutoSize = 1u << 0,   // a label that sizes itself to its caption
    kSelected = 1u << 1,   // an option button selected at start
    kOwnerDraw = 1u << 2,  // a command button whose face the program paints
    // A text box without an input method: in any input mode the keyboard
    // types its own characters there (the point, not a Chinese 。).
    kNoInputMethod = 1u << 3,
};

struct ControlDef {
    ControlKind kind;
    ControlId id;
    ControlId container;           // the frame that holds it, or the window
    const wchar_t* caption;        // caption, or the text of a text box at start
    int left, top, width, height;  // twips, relative to the container
    int tabIndex;
    std::optional<Colour> backColour;  // the system's colours when empty
    const FontDef* font;               // the window's font when null
    unsigned flags;
};

// Controls are listed from the top of the z-order down; a frame comes before
// the controls it contains.
struct FormDef {
    const wchar_t* caption;
    int clientWidth, clientHeight;  // twips
    int iconResource;               // icon group of the program file, 0 for none
    const FontDef* font;            // the window's font
    std::span<const ControlDef> controls;
};

// Twips to device pixels at the display's resolution (15 twips a pixel at 96 DPI).
int TwipsToPixels(int twips, int dpi);

}  // namespace forms
