#include "ui/TestKit.h"

#include <doctest/doctest.h>

#include <algorithm>

#include "resource.h"
#include "support/Program.h"

Image Image::Crop(int x, int y, int w, int h) const
{
    Image part{w, h, {}};
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            part.pixels.push_back(At(column, row));
    return part;
}

Canvas::Canvas(int w, int h, HDC source) : width(w), height(h), dc(CreateCompatibleDC(nullptr))
{
    BITMAPINFO info = {{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* memory = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    bits = static_cast<DWORD*>(memory);
    std::fill(bits, bits + width * height, RGB(GetBValue(Untouched), GetGValue(Untouched), GetRValue(Untouched)));
    previous = SelectObject(dc, bitmap);
    if (source != nullptr)
        BitBlt(dc, 0, 0, w, h, source, 0, 0, SRCCOPY);
}

Canvas::~Canvas()
{
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

Image Canvas::Pixels() const
{
    GdiFlush();
    Image image{width, height, {}};
    for (int i = 0; i < width * height; ++i)
        image.pixels.push_back(RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF));
    return image;
}

Image BitmapPixels(UINT id)
{
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    BITMAP info = {};
    GetObjectW(bitmap, sizeof info, &info);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const Image image = Canvas(info.bmWidth, info.bmHeight, memory).Pixels();
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return image;
}

Image CaptureWindow(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    HDC dc = GetWindowDC(window);
    const Image image = Canvas(r.right - r.left, r.bottom - r.top, dc).Pixels();
    ReleaseDC(window, dc);
    return image;
}

Image IconPixels(const wchar_t* icon, int w, int h, COLORREF background)
{
    Canvas canvas(w, h);
    const RECT rect = {0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(canvas.Dc(), &rect, brush);
    DeleteObject(brush);
    DrawIconEx(canvas.Dc(), 0, 0, LoadIconW(nullptr, icon), w, h, 0, nullptr, DI_NORMAL);
    return canvas.Pixels();
}

DRAWITEMSTRUCT DrawRequest(HWND control, HDC dc, const RECT& rect, UINT action, UINT state)
{
    return {ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(control)), 0, action, state, control, dc, rect, 0};
}

Image PaintOnce(const std::function<void(const DRAWITEMSTRUCT&)>& paint, HWND control, int w, int h,
                UINT action, UINT state)
{
    Canvas canvas(w, h);
    paint(DrawRequest(control, canvas.Dc(), {0, 0, w, h}, action, state));
    return canvas.Pixels();
}

int FreeGdiHandleSlots()
{
    std::vector<HRGN> regions;
    while (HRGN region = CreateRectRgn(0, 0, 1, 1))
        regions.push_back(region);
    for (HRGN region : regions)
        DeleteObject(region);
    return static_cast<int>(regions.size());
}

namespace {
std::vector<Step> steps;
size_t next;
HWND current;
int ticks;  // since `current` was handed to its step

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
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

void RunDriven(const std::function<void()>& show, std::vector<Step> driven)
{
    steps = std::move(driven);
    next = 0;
    current = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, Tick);
    show();
    KillTimer(nullptr, timer);
    CHECK_MESSAGE(next == steps.size(), "fewer dialogs showed than expected");
}

LiveBox::LiveBox(UINT type)
{
    messageText = L"Text";
    messageCaption = L"Caption";
    messageType = type;
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr, InitialDialogProc,
                       reinterpret_cast<LPARAM>(static_cast<Dlg*>(this)));
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}
