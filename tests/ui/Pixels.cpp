#include "ui/Pixels.h"

namespace {
BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

Image FromBits(const DWORD* bits, int width, int height)
{
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.reserve(static_cast<size_t>(width) * height);
    for (int i = 0; i < width * height; ++i)
        image.pixels.push_back(FromDib(bits[i]));
    return image;
}
}

Image Image::Crop(int x, int y, int w, int h) const
{
    Image part;
    part.width = w;
    part.height = h;
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            part.pixels.push_back(At(column, row));
    return part;
}

bool operator==(const Image& a, const Image& b)
{
    return a.width == b.width && a.height == b.height && a.pixels == b.pixels;
}

Image BitmapPixels(UINT id)
{
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    BITMAP description = {};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof description, &description) == 0) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        return Image();
    }
    Canvas canvas(description.bmWidth, description.bmHeight);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(canvas.Dc(), 0, 0, description.bmWidth, description.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    return canvas.Pixels();
}

Image Capture(HDC source, int x, int y, int w, int h)
{
    Canvas canvas(w, h);
    BitBlt(canvas.Dc(), 0, 0, w, h, source, x, y, SRCCOPY);
    return canvas.Pixels();
}

Image CaptureWindow(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    HDC dc = GetWindowDC(window);
    Image image = Capture(dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top);
    ReleaseDC(window, dc);
    return image;
}

Canvas::Canvas(int w, int h) : width(w), height(h), dc(CreateCompatibleDC(nullptr))
{
    BITMAPINFO info = TopDown32(width, height);
    void* memory = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    bits = static_cast<DWORD*>(memory);
    previous = SelectObject(dc, bitmap);
}

Canvas::~Canvas()
{
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void Canvas::Fill(COLORREF color)
{
    GdiFlush();
    const DWORD pixel = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    for (int i = 0; i < width * height; ++i)
        bits[i] = pixel;
}

Image Canvas::Pixels() const
{
    GdiFlush();
    return FromBits(bits, width, height);
}

SelectedObjects CurrentObjects(HDC dc)
{
    return {GetCurrentObject(dc, OBJ_BITMAP), GetCurrentObject(dc, OBJ_PEN),
            GetCurrentObject(dc, OBJ_BRUSH), GetCurrentObject(dc, OBJ_FONT)};
}

bool operator==(const SelectedObjects& a, const SelectedObjects& b)
{
    return a.bitmap == b.bitmap && a.pen == b.pen && a.brush == b.brush && a.font == b.font;
}

ForeignSelection::ForeignSelection(HDC target)
    : dc(target),
      pen(CreatePen(PS_DASH, 1, RGB(1, 2, 3))),
      brush(CreateSolidBrush(RGB(4, 5, 6))),
      font(CreateFontW(11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"))
{
    oldPen = SelectObject(dc, pen);
    oldBrush = SelectObject(dc, brush);
    oldFont = SelectObject(dc, font);
}

ForeignSelection::~ForeignSelection()
{
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldFont);
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(font);
}

int FreeGdiHandleSlots()
{
    std::vector<HRGN> regions;
    regions.reserve(70000);
    for (;;) {
        HRGN region = CreateRectRgn(0, 0, 1, 1);
        if (region == nullptr)
            break;
        regions.push_back(region);
    }
    for (HRGN region : regions)
        DeleteObject(region);
    return static_cast<int>(regions.size());
}
