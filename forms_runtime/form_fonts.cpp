// Fonts at the form's resolution. A preferred face that the system lacks is
// replaced by a Chinese one, so that the captions still read right; sizes
// stay as defined.
#include <windows.h>

#include <cwchar>

#include "forms_runtime/form_internal.h"

namespace forms {

namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;  // one is enough
}

int CALLBACK NoteFirstScalable(const LOGFONTW* font, const TEXTMETRICW*, DWORD fontType, LPARAM out) {
    return TakeLastResortFace(*font, fontType, *reinterpret_cast<wchar_t(*)[LF_FACESIZE]>(out)) ? 0 : 1;
}

bool FaceInstalled(HDC dc, const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    std::wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExW(dc, &query, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// Where the preferred face is missing. SimSun is "宋体" on a Chinese system but
// may be known by its English name alone elsewhere; NSimSun has its metrics.
// Then common simplified Chinese families of Windows and of Linux desktops,
// in a fixed order, so that the same system always gives the same face.
// clang-format off
constexpr const wchar_t* kFallbackFaces[] = {
    L"SimSun", L"NSimSun", L"SimHei", L"Microsoft YaHei", L"Noto Sans CJK SC", L"Source Han Sans SC",
    L"WenQuanYi Zen Hei", L"WenQuanYi Micro Hei", L"AR PL UMing CN", L"Droid Sans Fallback"};
// clang-format on

// The first fallback face installed; failing all, the first scalable
// simplified Chinese family the system lists; failing that too, an empty name.
void SubstituteCjkFace(HDC dc, wchar_t (&face)[LF_FACESIZE]) {
    for (const wchar_t* candidate : kFallbackFaces) {
        if (FaceInstalled(dc, candidate)) {
            std::wcsncpy(face, candidate, LF_FACESIZE - 1);
            face[LF_FACESIZE - 1] = L'\0';
            return;
        }
    }
    face[0] = L'\0';
    LOGFONTW query{};
    query.lfCharSet = GB2312_CHARSET;
    EnumFontFamiliesExW(dc, &query, NoteFirstScalable, reinterpret_cast<LPARAM>(&face), 0);
}

}  // namespace

bool TakeLastResortFace(const LOGFONTW& font, DWORD fontType, wchar_t (&face)[LF_FACESIZE]) {
    // A raster family does not scale to the sizes the form asks for; a name
    // with '@' is the vertical-writing variant of a family.
    if (!(fontType & TRUETYPE_FONTTYPE) || font.lfFaceName[0] == L'@')
        return false;
    std::wcsncpy(face, font.lfFaceName, LF_FACESIZE - 1);
    face[LF_FACESIZE - 1] = L'\0';
    return true;
}

HFONT FontSet::Get(const FontDef& def) {
    for (const Entry& entry : fonts_) {
        if (entry.def == &def)
            return entry.font.get();
    }
    LOGFONTW font{};
    font.lfHeight = -MulDiv(def.tenthsOfPoint, dpi_, 720);
    font.lfWeight = def.weight;
    font.lfItalic = def.italic;
    font.lfUnderline = def.underline;
    font.lfStrikeOut = def.strikeout;
    font.lfCharSet = def.charset;
    font.lfQuality = DEFAULT_QUALITY;
    std::wcsncpy(font.lfFaceName, def.face, LF_FACESIZE - 1);

    if (const ScopedGetDc screen(nullptr); !FaceInstalled(screen.Get(), def.face)) {
        wchar_t substitute[LF_FACESIZE];
        SubstituteCjkFace(screen.Get(), substitute);
        if (substitute[0] != L'\0') {
            std::wcsncpy(font.lfFaceName, substitute, LF_FACESIZE - 1);
            font.lfCharSet = GB2312_CHARSET;
        }
    }

    fonts_.push_back(Entry{&def, OwnedFont(CreateFontIndirectW(&font))});
    return fonts_.back().font.get();
}

}  // namespace forms
