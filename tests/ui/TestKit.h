#pragma once

#include <windows.h>

#include <doctest/doctest.h>

#include <functional>
#include <vector>

#include "app/Language.h"
#include "app/Startup.h"
#include "resource.h"
#include "support/Program.h"
#include "ui/dialogs/MessageBox.h"
#include "ui/framework/SharedBrushes.h"

struct Image {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;  // top-down rows
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool operator==(const Image& o) const { return width == o.width && pixels == o.pixels; }
};

// A 32-bit DIB section in its own memory DC, black.
struct Canvas {
    int width, height;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap;
    DWORD* bits = nullptr;

    Canvas(int w, int h) : width(w), height(h)
    {
        BITMAPINFO info = {{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        SelectObject(dc, bitmap);
    }
    ~Canvas()
    {
        DeleteDC(dc);  // which gives the bitmap up
        DeleteObject(bitmap);
    }
    Image Pixels() const
    {
        GdiFlush();
        Image image{width, height, {}};
        for (int i = 0; i < width * height; ++i)
            image.pixels.push_back(RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF));
        return image;
    }
};

inline Image BitmapPixels(UINT id)
{
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    BITMAP info = {};
    GetObjectW(bitmap, sizeof info, &info);
    Canvas canvas(info.bmWidth, info.bmHeight);
    DrawStateW(canvas.dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, 0, 0, 0, 0, DST_BITMAP);
    DeleteObject(bitmap);
    return canvas.Pixels();
}

// The title bar w pixels wide as its slices make it: caps of 16 columns, the tile repeated between them.
inline Image TitleBarPixels(int w)
{
    const Image left = BitmapPixels(IDB_TITLE_LEFT), tile = BitmapPixels(IDB_TITLE_MIDDLE);
    const Image right = BitmapPixels(IDB_TITLE_RIGHT);
    Image bar{w, left.height, {}};
    for (int y = 0; y < left.height; ++y)
        for (int x = 0; x < w; ++x)
            bar.pixels.push_back(x < 16 ? left.At(x, y) : x >= w - 16 ? right.At(x - w + 16, y) : tile.At(0, y));
    return bar;
}

// `base` with `text` in `color` over it, in the stock system font, centred on one line in `rect`, cut at its edges.
inline Image WithCaption(const Image& base, const wchar_t* text, RECT rect, COLORREF color)
{
    Canvas canvas(base.width, base.height);
    for (size_t i = 0; i < base.pixels.size(); ++i)
        canvas.bits[i] = RGB(GetBValue(base.pixels[i]), GetGValue(base.pixels[i]), GetRValue(base.pixels[i]));
    SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, color);
    const int length = static_cast<int>(wcslen(text));
    SIZE size = {};
    GetTextExtentPoint32W(canvas.dc, text, length, &size);
    ExtTextOutW(canvas.dc, rect.left + (rect.right - rect.left - size.cx) / 2,
                rect.top + (rect.bottom - rect.top - size.cy) / 2, ETO_CLIPPED, &rect, text, length, nullptr);
    return canvas.Pixels();
}

// A control's window rectangle in its dialog's client coordinates; id 0: the dialog's own, on the screen.
inline RECT Place(HWND dialog, int id)
{
    RECT rect = {};
    GetWindowRect(id ? GetDlgItem(dialog, id) : dialog, &rect);
    MapWindowPoints(nullptr, id ? dialog : nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// What `dialog` draws for one request of control `id` onto a fresh w x h Canvas, handed back with its own pen.
inline Image PaintOnce(HWND dialog, int id, int w, int h, UINT action, UINT state)
{
    Canvas canvas(w, h);
    const RECT rect = {0, 0, w, h};
    const DRAWITEMSTRUCT request = {ODT_BUTTON, UINT(id), 0, action, state, GetDlgItem(dialog, id), canvas.dc, rect, 0};
    SendMessageW(dialog, WM_DRAWITEM, id, reinterpret_cast<LPARAM>(&request));
    CHECK(GetCurrentObject(canvas.dc, OBJ_PEN) == GetStockObject(BLACK_PEN));
    return canvas.Pixels();
}

// Runs `show`; each modal dialog it shows is handed, from a timer in its loop, to the next step, which must end it.
using Step = std::function<void(HWND dialog)>;
namespace driven {
inline std::vector<Step> steps;
inline size_t next;
inline HWND current;
inline int ticks;  // since `current` was handed to its step

inline void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = GetActiveWindow();
    if (!IsWindowVisible(dialog))
        return;
    if (dialog != current && next < steps.size()) {
        current = dialog;
        ticks = 0;
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // steps read pixels
        steps[next++](dialog);
    } else if (++ticks > 100) {
        FAIL_CHECK("a dialog stayed open: " << ToUtf8(WindowText(dialog)));  // it would hang the test
        EndDialog(dialog, -2);
    }
}
}

inline void RunDriven(const std::function<void()>& show, std::vector<Step> steps)
{
    driven::steps = std::move(steps);
    driven::next = 0;
    driven::current = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, driven::Tick);
    show();
    KillTimer(nullptr, timer);
    CHECK_MESSAGE(driven::next == driven::steps.size(), "fewer dialogs showed than expected");
}

// The message box as the program shows it (MB_OK | MB_ICONHAND), with the caption "Box Caption"; `steps` end it.
inline void ShowBox(const wchar_t* text, std::vector<Step> steps)
{
    static SharedBrushes brushes;
    SelectLanguage(GetModuleHandleW(nullptr));
    AssignLanguageBases();
    RunDriven([&] { ShowMessageBox(nullptr, text, L"Box Caption", MB_OK | MB_ICONHAND); }, std::move(steps));
}
