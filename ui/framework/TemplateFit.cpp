#include "ui/framework/TemplateFit.h"

#include <cstring>

#include "ui/framework/Gdi.h"

namespace {
// What comes first in an extended dialog template, before its variable fields.
#pragma pack(push, 1)
struct TemplateHead {
    WORD version;
    WORD signature;  // 0xFFFF: extended
    DWORD helpId;
    DWORD exStyle;
    DWORD style;
    WORD items;
    short x, y, cx, cy;
};
#pragma pack(pop)

struct TemplateFont {
    WORD points;
    WORD weight;
    BYTE italic;
    BYTE charset;
    const wchar_t* face;
};

// Past a menu, class or title field: 0, 0xFFFF and an ordinal, or a string.
const WORD* SkipField(const WORD* field, const WORD* end)
{
    if (*field == 0xFFFF)
        return field + 2;
    while (field < end && *field++ != 0) {}
    return field;
}

// The dialog's window size and its font's height as the dialog manager makes
// them with a font `pixels` high: the dialog units scale with the font's
// height and the average width of the 52 letters.
SIZE Measure(HDC dc, const TemplateFont& font, int pixels, const TemplateHead& head, int& fontHeight)
{
    GdiObject<HFONT> made(CreateFontW(-pixels, 0, 0, 0, font.weight, font.italic, FALSE, FALSE, font.charset,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_DONTCARE,
                                      font.face));
    SelectGuard select(dc, made.Get());
    TEXTMETRICW metrics = {};
    SIZE letters = {};
    GetTextMetricsW(dc, &metrics);
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    fontHeight = metrics.tmHeight;
    RECT rect = {0, 0, MulDiv(head.cx, (letters.cx / 26 + 1) / 2, 4), MulDiv(head.cy, metrics.tmHeight, 8)};
    AdjustWindowRectEx(&rect, head.style, FALSE, head.exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

bool Fits(SIZE size, const RECT& area)
{
    return size.cx <= area.right - area.left && size.cy <= area.bottom - area.top;
}

// How many times taller the display is than the program sees it: more than 1
// where Windows shows a program that does not declare itself aware of the
// scale at 96 dpi and stretches its windows (8.1 and later; Vista and 7 at
// 150%). The display mode is the display's own, the screen metric the
// program's view of it.
double Stretch()
{
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    const int seen = GetSystemMetrics(SM_CYSCREEN);
    if (seen <= 0 || !EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) ||
        static_cast<int>(mode.dmPelsHeight) <= seen)
        return 1.0;
    return static_cast<double>(mode.dmPelsHeight) / seen;
}
}

RECT WorkArea(HWND window)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info))
        return info.rcWork;
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

DLGTEMPLATE* FitTemplate(HINSTANCE module, UINT id)
{
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const BYTE* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    const DWORD size = resource ? SizeofResource(module, resource) : 0;
    TemplateHead head = {};
    if (bytes == nullptr || size < sizeof head + 6 * sizeof(WORD))
        return nullptr;
    std::memcpy(&head, bytes, sizeof head);
    if (head.signature != 0xFFFF || !(head.style & DS_SETFONT))
        return nullptr;
    const WORD* end = reinterpret_cast<const WORD*>(bytes + size);
    const WORD* field = reinterpret_cast<const WORD*>(bytes + sizeof head);
    for (int skipped = 0; skipped < 3 && field < end; ++skipped)
        field = SkipField(field, end);
    if (end - field < 4)
        return nullptr;
    const TemplateFont font = {field[0], field[1], LOBYTE(field[2]), HIBYTE(field[2]),
                               reinterpret_cast<const wchar_t*>(field + 3)};

    MemoryDC dc(nullptr);
    if (!dc)
        return nullptr;
    const int dpi = GetDeviceCaps(dc.Get(), LOGPIXELSY);
    const RECT work = WorkArea(nullptr);
    int height = 0;
    if (Fits(Measure(dc.Get(), font, MulDiv(font.points, dpi, 72), head, height), work))
        return nullptr;
    // The texts may get no smaller on the display than at 96 dpi.
    int smallest = 0;
    Measure(dc.Get(), font, MulDiv(font.points, 96, 72), head, smallest);
    const double stretch = Stretch();
    WORD fitted = font.points;
    for (WORD points = font.points - 1; points > 0; --points) {
        const SIZE made = Measure(dc.Get(), font, MulDiv(points, dpi, 72), head, height);
        if (height * stretch < smallest)
            break;
        fitted = points;
        if (Fits(made, work))
            break;
    }
    if (fitted == font.points)
        return nullptr;
    void* copy = HeapAlloc(GetProcessHeap(), 0, size);
    if (copy == nullptr)
        return nullptr;
    std::memcpy(copy, bytes, size);
    reinterpret_cast<WORD*>(copy)[field - reinterpret_cast<const WORD*>(bytes)] = fitted;
    return static_cast<DLGTEMPLATE*>(copy);
}
