// Prints what one paint of the skinned controls costs, next to the floor of
// one plain block transfer of the same size from a memory DC onto the same
// target, measured in the same run. Figures, not a pass/fail test: it always
// exits 0 once it could measure.
//
// usage: skin_benchmark.exe [paints per batch, default 200]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "app/Language.h"
#include "resource.h"
#include "ui/framework/DialogFrame.h"
#include "ui/framework/Dlg.h"

namespace {
const int Batches = 15;

// The settings dialog's skinned parts, bound to template 101 as the settings
// dialog binds them.
class SettingsLook : public Dlg {
public:
    INT_PTR OnInitDialog(WPARAM, LPARAM) override
    {
        titleBar.Attach(window, IDC_TITLE_BAR);
        titleBar.UseSkinSlices();
        titleBar.SetCaption(IDS_SETTINGS_TITLE, L" 1.7");
        okButton.Attach(window, IDOK);
        okButton.SetCaption(IDS_OK, L"");
        okButton.normalFace = IDB_BUTTON_NORMAL;
        okButton.pressedFace = IDB_BUTTON_PRESSED;
        okButton.hoverFace = IDB_BUTTON_HOVER;
        okButton.disabledFace = IDB_BUTTON_DISABLED;
        okButton.SizeToFace();
        frame.Layout(window, titleBar);
        return 1;
    }
    DialogFrame frame;
};

// Microseconds per call of `body`, over one batch of `count` calls.
double Batch(int count, const std::function<void()>& body)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i)
        body();
    GdiFlush();
    QueryPerformanceCounter(&end);
    return (end.QuadPart - start.QuadPart) * 1e6 / frequency.QuadPart / count;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Microseconds per call of `body`: the median of Batches batches of `count`.
double Microseconds(int count, const std::function<void()>& body)
{
    std::vector<double> batches;
    for (int b = 0; b < Batches; ++b)
        batches.push_back(Batch(count, body));
    return Median(batches);
}

// The medians of `first` and `second`, measured in alternating batches so
// that both see the machine in the same state.
std::pair<double, double> Alternating(int count, const std::function<void()>& first,
                                      const std::function<void()>& second)
{
    std::vector<double> a, b;
    for (int i = 0; i < Batches; ++i) {
        a.push_back(Batch(count, first));
        b.push_back(Batch(count, second));
    }
    return {Median(a), Median(b)};
}

DRAWITEMSTRUCT Request(HWND control, HDC dc)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(control));
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = control;
    item.hDC = dc;
    GetClientRect(control, &item.rcItem);
    return item;
}

// One row: the paint of `control` against one block transfer of its size.
void Row(const char* name, HWND control, int count, const std::function<void(const DRAWITEMSTRUCT&)>& paint)
{
    HDC target = GetDC(control);
    const DRAWITEMSTRUCT request = Request(control, target);
    const int w = request.rcItem.right;
    const int h = request.rcItem.bottom;
    HDC memory = CreateCompatibleDC(target);
    HBITMAP image = CreateCompatibleBitmap(target, w, h);
    HGDIOBJ old = SelectObject(memory, image);
    paint(request);  // warm caches
    const std::pair<double, double> times = Alternating(
        count, [&] { BitBlt(target, 0, 0, w, h, memory, 0, 0, SRCCOPY); }, [&] { paint(request); });
    const double floor = times.first;
    const double cost = times.second;
    std::printf("%-34s %4d x %-3d %9.1f us %9.1f us %8.1f\n", name, w, h, cost, floor, cost / floor);
    SelectObject(memory, old);
    DeleteObject(image);
    DeleteDC(memory);
    ReleaseDC(control, target);
}

void Part(const char* name, int count, const std::function<void()>& body)
{
    std::printf("  %-46s %9.1f us\n", name, Microseconds(count, body));
}
}

int wmain(int argc, wchar_t** argv)
{
    const int count = argc > 1 ? std::max(1, _wtoi(argv[1])) : 200;
    HINSTANCE module = GetModuleHandleW(nullptr);
    SelectLanguage(module);
    SettingsLook dialog;
    HWND window = CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, InitialDialogProc,
                                     reinterpret_cast<LPARAM>(&dialog));
    if (window == nullptr) {
        std::printf("could not create the settings dialog\n");
        return 1;
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);

    std::printf("One paint, median of %d batches of %d alternating with as many of one BitBlt of the same size\n",
                Batches, count);
    std::printf("%-34s %-10s %12s %12s %8s\n", "paint", "size", "paint", "BitBlt", "ratio");
    Row("skinned button, normal face", dialog.okButton.window, count,
        [&](const DRAWITEMSTRUCT& r) { dialog.okButton.DrawItem(&r); });
    Row("title bar of the settings dialog", dialog.titleBar.window, count,
        [&](const DRAWITEMSTRUCT& r) { dialog.titleBar.DrawItem(&r); });
    Row("left border strip", dialog.frame.leftStrip, count,
        [&](const DRAWITEMSTRUCT& r) { dialog.frame.DrawItem(r.CtlID, &r); });
    Row("bottom border strip", dialog.frame.bottomStrip, count,
        [&](const DRAWITEMSTRUCT& r) { dialog.frame.DrawItem(r.CtlID, &r); });

    // Where a paint's time goes.
    std::printf("\nParts of a paint\n");
    HDC screen = GetDC(nullptr);
    Part("CreateCompatibleDC + DeleteDC", count, [&] { DeleteDC(CreateCompatibleDC(nullptr)); });
    Part("CreateCompatibleBitmap 109 x 37 + DeleteObject", count,
         [&] { DeleteObject(CreateCompatibleBitmap(screen, 109, 37)); });
    Part("LoadBitmapW 1025 (109 x 37, 24-bit) + DeleteObject", count,
         [&] { DeleteObject(LoadBitmapW(module, MAKEINTRESOURCEW(IDB_BUTTON_NORMAL))); });
    Part("LoadBitmapW 1023 (109 x 37, 8-bit) + DeleteObject", count,
         [&] { DeleteObject(LoadBitmapW(module, MAKEINTRESOURCEW(IDB_BUTTON_DISABLED))); });
    Part("LoadBitmapW 1020 (16 x 32, 24-bit) + DeleteObject", count,
         [&] { DeleteObject(LoadBitmapW(module, MAKEINTRESOURCEW(IDB_TITLE_LEFT))); });
    Part("CreateDIBPatternBrushPt 1022 + DeleteObject", count, [&] {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDB_TITLE_MIDDLE), RT_BITMAP);
        DeleteObject(CreateDIBPatternBrushPt(LockResource(LoadResource(module, found)), DIB_RGB_COLORS));
    });
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP image = CreateCompatibleBitmap(screen, 413, 37);
    HGDIOBJ old = SelectObject(memory, image);
    RECT text = {0, 0, 413, 32};
    SetBkMode(memory, TRANSPARENT);
    Part("DrawTextW of the settings title, system font", count,
         [&] { DrawTextW(memory, L"KRV Advanced Engraver Settings 1.7", -1, &text, 0x25); });
    Part("CreatePen 2 px + DeleteObject", count, [&] { DeleteObject(CreatePen(PS_SOLID, 2, 0x404040)); });
    SelectObject(memory, old);
    DeleteObject(image);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DestroyWindow(window);
    return 0;
}
