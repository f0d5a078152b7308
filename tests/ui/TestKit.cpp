#include "ui/TestKit.h"

#include <doctest/doctest.h>

#include <algorithm>

#include "resource.h"

Image Image::Crop(int x, int y, int w, int h) const
{
    Image part{w, h, {}};
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            part.pixels.push_back(At(column, row));
    return part;
}

int Image::Count(COLORREF color) const
{
    return static_cast<int>(std::count(pixels.begin(), pixels.end(), color));
}

Image BitmapPixels(UINT id)
{
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    BITMAP info = {};
    GetObjectW(bitmap, sizeof info, &info);
    Canvas canvas(info.bmWidth, info.bmHeight);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(canvas.Dc(), 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return canvas.Pixels();
}

Image CaptureWindow(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    Canvas canvas(r.right - r.left, r.bottom - r.top);
    HDC dc = GetWindowDC(window);
    BitBlt(canvas.Dc(), 0, 0, r.right - r.left, r.bottom - r.top, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return canvas.Pixels();
}

Image ExpectedBar(int w, UINT left, UINT right, UINT middle)
{
    const Image l = BitmapPixels(left), r = BitmapPixels(right), m = BitmapPixels(middle);
    Image bar{w, 32, {}};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < w; ++x)
            bar.pixels.push_back(x <= 15       ? l.At(x, y)
                                 : x >= w - 16 ? r.At(x - (w - 16), y)
                                               : m.At(x % m.width, y % m.height));
    return bar;
}

Canvas::Canvas(int w, int h) : width(w), height(h), dc(CreateCompatibleDC(nullptr))
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
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

Objects CurrentObjects(HDC dc)
{
    return {GetCurrentObject(dc, OBJ_BITMAP), GetCurrentObject(dc, OBJ_PEN), GetCurrentObject(dc, OBJ_BRUSH),
            GetCurrentObject(dc, OBJ_FONT)};
}

ForeignSelection::ForeignSelection(HDC target)
    : dc(target),
      mine{nullptr, CreatePen(PS_DASH, 1, RGB(1, 2, 3)), CreateSolidBrush(RGB(4, 5, 6)),
           CreateFontW(11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma")}
{
    for (int i = 1; i < 4; ++i)
        old[i] = SelectObject(dc, mine[i]);
}

ForeignSelection::~ForeignSelection()
{
    for (int i = 1; i < 4; ++i) {
        SelectObject(dc, old[i]);
        DeleteObject(mine[i]);
    }
}

DRAWITEMSTRUCT DrawRequest(HWND control, HDC dc, const RECT& rect, UINT action, UINT state)
{
    return {ODT_BUTTON, static_cast<UINT>(GetDlgCtrlID(control)), 0, action, state, control, dc, rect, 0};
}

Image PaintOnce(const Painter& paint, HWND control, int w, int h, UINT action, UINT state)
{
    Canvas canvas(w, h);
    ForeignSelection selection(canvas.Dc());
    const Objects before = CurrentObjects(canvas.Dc());
    paint(DrawRequest(control, canvas.Dc(), {0, 0, w, h}, action, state));
    CHECK(CurrentObjects(canvas.Dc()) == before);
    return canvas.Pixels();
}

int FreeGdiHandleSlots()
{
    std::vector<HRGN> regions;
    regions.reserve(70000);
    while (HRGN region = CreateRectRgn(0, 0, 1, 1))
        regions.push_back(region);
    for (HRGN region : regions)
        DeleteObject(region);
    return static_cast<int>(regions.size());
}

bool SkinnedDialog::Open(int x, int y, int w, int h)
{
    if (CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MESSAGEBOX), nullptr,
                           InitialDialogProc, reinterpret_cast<LPARAM>(this)) == nullptr)
        return false;
    for (int id : {IDC_MESSAGE_PANEL, IDC_MESSAGE_ICON, IDC_MESSAGE_TEXT})
        DestroyWindow(GetDlgItem(window, id));
    SetWindowPos(window, HWND_TOP, x, y, w, h, SWP_NOACTIVATE);
    SetWindowPos(titleBar.window, nullptr, 0, 0, w, 32, SWP_NOZORDER);
    SetWindowPos(okButton.window, nullptr, 20, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(GetDlgItem(window, IDCANCEL), nullptr, 150, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
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

INT_PTR SkinnedDialog::OnCommand(WPARAM wParam, LPARAM)
{
    commands.push_back(wParam);
    return 1;
}
