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

// Past a menu or class field: 0, 0xFFFF and an ordinal, or a string. The
// title is always a string (`ordinal` false).
const WORD* SkipField(const WORD* field, const WORD* end, bool ordinal)
{
    if (ordinal && *field == 0xFFFF)
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

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

bool Fits(SIZE size, const RECT& area) { return size.cx <= Width(area) && size.cy <= Height(area); }

// How many times taller the monitor's display is than the program sees it:
// more than 1 where Windows shows a program that does not declare itself
// aware of the scale at 96 dpi and stretches its windows (8.1 and later;
// Vista and 7 at 150%). The display mode is the display's own, the
// monitor's rectangle the program's view of it.
double Stretch(const MONITORINFOEXW& monitor)
{
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    const int seen = monitor.rcMonitor.bottom - monitor.rcMonitor.top;
    if (seen <= 0 || !EnumDisplaySettingsW(monitor.szDevice, ENUM_CURRENT_SETTINGS, &mode) ||
        static_cast<int>(mode.dmPelsHeight) <= seen)
        return 1.0;
    return static_cast<double>(mode.dmPelsHeight) / seen;
}
}

HMONITOR MonitorOf(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return MonitorFromPoint({rect.left + Width(rect) / 2, rect.top + Height(rect) / 2}, MONITOR_DEFAULTTONEAREST);
}

RECT WorkArea(HMONITOR monitor)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        return info.rcWork;
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

bool FitsWorkArea(HWND window, HMONITOR monitor)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return Fits({Width(rect), Height(rect)}, WorkArea(monitor));
}

void CentreIn(HWND window, HMONITOR monitor)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    const RECT work = WorkArea(monitor);
    SetWindowPos(window, nullptr, work.left + (Width(work) - Width(rect)) / 2,
                 work.top + (Height(work) - Height(rect)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

DLGTEMPLATE* FitTemplate(HINSTANCE module, UINT id, HMONITOR monitor)
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
        field = SkipField(field, end, skipped < 2);
    if (end - field < 4)
        return nullptr;
    const TemplateFont font = {field[0], field[1], LOBYTE(field[2]), HIBYTE(field[2]),
                               reinterpret_cast<const wchar_t*>(field + 3)};

    MemoryDC dc(nullptr);
    MONITORINFOEXW info = {};
    info.cbSize = sizeof info;
    if (!dc || !GetMonitorInfoW(monitor, &info))
        return nullptr;
    const int dpi = GetDeviceCaps(dc.Get(), LOGPIXELSY);
    // The texts may get no smaller on the display than at 96 dpi.
    int smallest = 0, height = 0;
    Measure(dc.Get(), font, MulDiv(font.points, 96, 72), head, smallest);
    const double stretch = Stretch(info);
    WORD fitted = font.points;
    for (WORD points = font.points - 1; points > 0; --points) {
        const SIZE made = Measure(dc.Get(), font, MulDiv(points, dpi, 72), head, height);
        if (height * stretch < smallest)
            break;
        fitted = points;
        if (Fits(made, info.rcWork))
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
