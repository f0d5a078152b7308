#include "ui/TestKit.h"

#include <doctest/doctest.h>

#include <algorithm>

#include "resource.h"
#include "support/Program.h"
#include "support/Text.h"

Image Image::Crop(int x, int y, int w, int h) const
{
    Image part{w, h, {}};
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            part.pixels.push_back(At(column, row));
    return part;
}

Canvas::Canvas(int w, int h) : width(w), height(h), dc(CreateCompatibleDC(nullptr))
{
    BITMAPINFO info = {{sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* memory = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    bits = static_cast<DWORD*>(memory);
    std::fill(bits, bits + width * height, RGB(GetBValue(Untouched), GetGValue(Untouched), GetRValue(Untouched)));
    previous = SelectObject(dc, bitmap);
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

// Copies w x h pixels of `source` at (x, y) onto a Canvas.
static Image Copy(HDC source, int x, int y, int w, int h)
{
    Canvas canvas(w, h);
    BitBlt(canvas.Dc(), 0, 0, w, h, source, x, y, SRCCOPY);
    return canvas.Pixels();
}

Image BitmapPixels(UINT id)
{
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    BITMAP info = {};
    GetObjectW(bitmap, sizeof info, &info);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const Image image = Copy(memory, 0, 0, info.bmWidth, info.bmHeight);
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
    const Image image = Copy(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    ReleaseDC(window, dc);
    return image;
}

std::vector<bool> Ink(const Image& image)
{
    std::vector<bool> ink;
    for (COLORREF pixel : image.pixels)
        ink.push_back(pixel == 0);
    return ink;
}

std::vector<bool> DrawnInk(const wchar_t* text, int width, int height, UINT format)
{
    Canvas canvas(width, height);
    RECT rect = {0, 0, width, height};
    SelectObject(canvas.Dc(), GetStockObject(SYSTEM_FONT));
    DrawTextW(canvas.Dc(), text, -1, &rect, format);
    return Ink(canvas.Pixels());
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

Objects CurrentObjects(HDC dc)
{
    return {GetCurrentObject(dc, OBJ_BITMAP), GetCurrentObject(dc, OBJ_PEN), GetCurrentObject(dc, OBJ_BRUSH),
            GetCurrentObject(dc, OBJ_FONT)};
}

DRAWITEMSTRUCT DrawRequest(HWND control, HDC dc, const RECT& rect, UINT action, UINT state)
{
    return {ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(control)), 0, action, state, control, dc, rect, 0};
}

Image PaintOnce(const Painter& paint, HWND control, int w, int h, UINT action, UINT state)
{
    Canvas canvas(w, h);
    const HGDIOBJ mine[] = {CreatePen(PS_DASH, 1, RGB(1, 2, 3)), CreateSolidBrush(RGB(4, 5, 6)),
                            CreateFontW(11, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, L"Tahoma")};
    HGDIOBJ old[3];
    for (int i = 0; i < 3; ++i)
        old[i] = SelectObject(canvas.Dc(), mine[i]);
    const Objects before = CurrentObjects(canvas.Dc());
    paint(DrawRequest(control, canvas.Dc(), {0, 0, w, h}, action, state));
    CHECK(CurrentObjects(canvas.Dc()) == before);
    for (int i = 0; i < 3; ++i)
        DeleteObject(SelectObject(canvas.Dc(), old[i]));
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
struct {
    std::vector<Step> steps;
    size_t next;
    HWND current;
    DWORD since;
} driver;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = IsWindowVisible(GetActiveWindow()) ? GetActiveWindow() : nullptr;
    if (dialog != nullptr && dialog != driver.current && driver.next < driver.steps.size()) {
        driver.current = dialog;
        driver.since = GetTickCount();
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);  // steps read pixels
        driver.steps[driver.next++](dialog);
    } else if (dialog != nullptr && GetTickCount() - driver.since > 5000) {
        FAIL_CHECK("a dialog stayed open: " << ToUtf8(WindowText(dialog)));  // it would hang the test
        EndDialog(dialog, -2);
    }
}
}

void RunDriven(const std::function<void()>& show, std::vector<Step> steps)
{
    driver = {std::move(steps), 0, nullptr, GetTickCount()};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, Tick);
    show();
    KillTimer(nullptr, timer);
    CHECK_MESSAGE(driver.next == driver.steps.size(), "fewer dialogs showed than expected");
}

bool SkinnedDialog::Open(int w)
{
    if (CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr,
                           InitialDialogProc, reinterpret_cast<LPARAM>(this)) == nullptr)
        return false;
    for (int id : {IDC_MESSAGE_PANEL, IDC_MESSAGE_ICON, IDC_MESSAGE_TEXT})
        DestroyWindow(GetDlgItem(window, id));
    SetWindowPos(window, HWND_TOP, 100, 100, w, 160, SWP_NOACTIVATE);
    SetWindowPos(titleBar.window, nullptr, 0, 0, w, 32, SWP_NOZORDER);
    SetWindowPos(okButton.window, nullptr, 20, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(GetDlgItem(window, IDCANCEL), nullptr, 150, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    frame.Layout(window, titleBar);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return true;
}

INT_PTR SkinnedDialog::OnInitDialog(WPARAM, LPARAM)
{
    titleBar.Attach(window, IDC_TITLE_BAR);
    titleBar.UseSkinSlices();
    okButton.Attach(window, IDOK);
    okButton.normalFace = IDB_BUTTON_NORMAL;
    okButton.pressedFace = IDB_BUTTON_PRESSED;
    okButton.hoverFace = IDB_BUTTON_HOVER;
    okButton.disabledFace = IDB_BUTTON_DISABLED;
    okButton.SizeToFace();
    return 1;
}

INT_PTR SkinnedDialog::OnDrawItem(UINT controlId, const DRAWITEMSTRUCT* item)
{
    if (controlId == IDC_TITLE_BAR)
        titleBar.DrawItem(item);
    else if (controlId == IDOK)
        okButton.DrawItem(item);
    else
        return frame.DrawItem(controlId, item);
    return 1;
}
