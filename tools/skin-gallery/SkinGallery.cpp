// Shows the skin for people to judge: a dialog on the dark background with
// its title bar, border strips and rounded corners, and one button in each
// look, each made the real way (the cursor over the hover button, the
// pressed button held down, the disabled one disabled). tools/gallery
// captures it from the screen.
//
// usage: skin_gallery.exe [seconds to stay, 0 = until closed]
// Prints "ready x y w h" (the window's screen rectangle) once it is drawn.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "GalleryIds.h"
#include "app/Language.h"
#include "resource.h"
#include "ui/framework/DialogFrame.h"
#include "ui/framework/Dlg.h"
#include "ui/framework/SharedBrushes.h"

namespace {
const int Width = 556;
const int Height = 160;
const int ButtonTop = 58;
const int LabelTop = 104;

class GalleryDialog : public Dlg {
public:
    INT_PTR OnInitDialog(WPARAM, LPARAM) override
    {
        SetWindowPos(window, nullptr, 60, 60, Width, Height, SWP_NOZORDER);
        titleBar.Attach(window, IDC_TITLE_BAR);
        titleBar.UseSkinSlices();
        titleBar.SetCaption(IDS_SETTINGS_TITLE, L" 1.7");
        SetWindowPos(titleBar.window, nullptr, 0, 0, Width, 20, SWP_NOZORDER);
        titleBar.SizeToSlices();

        const int ids[] = {IDOK, IDCANCEL, IDC_GALLERY_PRESSED, IDC_GALLERY_DISABLED};
        const UINT captions[] = {IDS_OK, IDS_CANCEL, IDS_OK, IDS_CANCEL};
        const int labels[] = {IDC_GALLERY_LABEL_NORMAL, IDC_GALLERY_LABEL_HOVER, IDC_GALLERY_LABEL_PRESSED,
                              IDC_GALLERY_LABEL_DISABLED};
        for (int i = 0; i < 4; ++i) {
            SkinButton& button = buttons[i];
            button.Attach(window, ids[i]);
            button.normalFace = IDB_BUTTON_NORMAL;
            button.pressedFace = IDB_BUTTON_PRESSED;
            button.hoverFace = IDB_BUTTON_HOVER;
            button.disabledFace = IDB_BUTTON_DISABLED;
            button.SetCaption(captions[i], L"");
            const int x = 24 + i * (109 + 24);
            SetWindowPos(button.window, nullptr, x, ButtonTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            button.SizeToFace();
            SetWindowPos(GetDlgItem(window, labels[i]), nullptr, x, LabelTop, 109, 16, SWP_NOZORDER);
        }
        frame.Layout(window, titleBar);
        return 0;
    }

    INT_PTR OnDrawItem(UINT id, const DRAWITEMSTRUCT* item) override
    {
        if (id == IDC_TITLE_BAR) {
            titleBar.DrawItem(item);
            return 1;
        }
        for (SkinButton& button : buttons)
            if (item != nullptr && item->hwndItem == button.window) {
                button.DrawItem(item);
                return 1;
            }
        return frame.DrawItem(id, item);
    }

    INT_PTR OnCtlColorDlg(HDC, HWND) override { return reinterpret_cast<INT_PTR>(DarkBrush); }

    INT_PTR OnCtlColorStatic(HDC dc, HWND) override
    {
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, 0x707072);
        return reinterpret_cast<INT_PTR>(DarkBrush);
    }

    SkinButton buttons[4];
    DialogFrame frame;
};

void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}
}

int wmain(int argc, wchar_t** argv)
{
    const int seconds = argc > 1 ? _wtoi(argv[1]) : 0;
    HINSTANCE module = GetModuleHandleW(nullptr);
    SelectLanguage(module);
    SharedBrushes brushes;
    GalleryDialog dialog;
    HWND window = CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_GALLERY), nullptr, InitialDialogProc,
                                     reinterpret_cast<LPARAM>(&dialog));
    if (window == nullptr)
        return 1;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    UpdateWindow(window);

    // Pressed: held down as by the mouse. Hover: the cursor over it.
    SendMessageW(dialog.buttons[2].window, BM_SETSTATE, TRUE, 0);
    RECT hover;
    GetWindowRect(dialog.buttons[1].window, &hover);
    SetCursorPos(hover.left + 10, hover.bottom - 6);
    Pump(500);
    if (dialog.buttons[1].hovering == 0) {
        std::printf("the hover button did not see the cursor\n");
        return 1;
    }

    RECT rect;
    GetWindowRect(window, &rect);
    std::printf("ready %ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    while (IsWindow(window) && (seconds == 0 || GetTickCount() - start < static_cast<DWORD>(seconds) * 1000)) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(window, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    if (IsWindow(window))
        DestroyWindow(window);
    return 0;
}
