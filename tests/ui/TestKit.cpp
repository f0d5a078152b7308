#include "ui/TestKit.h"

#include <doctest/doctest.h>

#include <algorithm>

#include "resource.h"
#include "support/Program.h"

Canvas::Canvas(int w, int h) : width(w), height(h), dc(CreateCompatibleDC(nullptr))
{
    BITMAPINFO info = {{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* memory = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    bits = static_cast<DWORD*>(memory);
    std::fill(bits, bits + width * height, RGB(GetBValue(Untouched), GetGValue(Untouched), GetRValue(Untouched)));
    SelectObject(dc, bitmap);
}

Canvas::~Canvas()
{
    DeleteDC(dc);
    DeleteObject(bitmap);
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
    Canvas canvas(info.bmWidth, info.bmHeight);
    DrawStateW(canvas.dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, 0, 0, 0, 0, DST_BITMAP);
    DeleteObject(bitmap);
    return canvas.Pixels();
}

Image WithCaption(const Image& base, const wchar_t* text, RECT rect, COLORREF color)
{
    Canvas canvas(base.width, base.height);
    for (size_t i = 0; i < base.pixels.size(); ++i)
        canvas.bits[i] = RGB(GetBValue(base.pixels[i]), GetGValue(base.pixels[i]), GetRValue(base.pixels[i]));
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, color);
    DrawTextW(canvas.dc, text, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    return canvas.Pixels();
}

HRGN FrameShape(int w, int h)
{
    HRGN shape = CreateRectRgn(0, 13, w, h);
    for (HRGN part :
         {CreateEllipticRgn(0, 0, 30, 30), CreateEllipticRgn(w - 29, 0, w + 1, 30), CreateRectRgn(15, 0, w - 15, 30)}) {
        CombineRgn(shape, shape, part, RGN_OR);
        DeleteObject(part);
    }
    return shape;
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
    messageCaption = L"Box Caption";
    messageType = type;
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr, InitialDialogProc,
                       reinterpret_cast<LPARAM>(static_cast<Dlg*>(this)));
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}
