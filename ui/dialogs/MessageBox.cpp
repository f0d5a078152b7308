#include "ui/dialogs/MessageBox.h"

#include <initializer_list>

#include "app/Language.h"
#include "resource.h"
#include "ui/framework/SharedBrushes.h"
#include "ui/framework/TemplateFit.h"

namespace {
// The text area is never lower than this, so that a one-line text still
// leaves room for the icon beside it.
const int MinimumTextHeight = 40;
// Room left above and below the wrapped text.
const int TextMargin = 10;
const UINT TextFormat = DT_WORDBREAK | DT_WORD_ELLIPSIS;

void MoveControl(HWND control, int left, int top, int width, int height)
{
    MoveWindow(control, left, top, width, height, FALSE);
}

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

void AssignFaces(SkinButton& button)
{
    button.normalFace = IDB_BUTTON_NORMAL;
    button.pressedFace = IDB_BUTTON_PRESSED;
    button.hoverFace = IDB_BUTTON_HOVER;
    button.disabledFace = IDB_BUTTON_DISABLED;
}

// The system icon of the type's icon bits, or null.
HICON TypeIcon(UINT type)
{
    const wchar_t* icon = nullptr;
    // clang-format off
    switch (type & 0xF0) {
    case MB_ICONHAND:        icon = IDI_HAND; break;
    case MB_ICONQUESTION:    icon = IDI_QUESTION; break;
    case MB_ICONEXCLAMATION: icon = IDI_EXCLAMATION; break;
    case MB_ICONASTERISK:    icon = IDI_ASTERISK; break;
    default:                 return nullptr;
    }
    // clang-format on
    return LoadIconW(nullptr, icon);
}
}

int MessageBox::Show(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    // The platform box takes null for either text. Here a null caption could
    // not be copied, and a null text would fail the measurement and leave
    // the buttons without faces: both show as empty.
    messageText = text ? text : L"";
    messageCaption = caption ? caption : L"";
    messageType = type;
    const INT_PTR result = RunDialog(*this, owner, IDD_MESSAGEBOX);
    if (result > 0)
        return static_cast<int>(result);
    // Not created (-1), or closed by the system's close command (0): the
    // question still needs its answer.
    return MessageBoxW(owner, text, caption, type);
}

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    MessageBox box;
    return box.Show(owner, text, caption, type);
}

void MessageBox::AttachControls()
{
    titleBar.Attach(window, IDC_TITLE_BAR);
    okButton.Attach(window, IDOK);
    cancelButton.Attach(window, IDCANCEL);
    textArea = GetDlgItem(window, IDC_MESSAGE_TEXT);
    panel = GetDlgItem(window, IDC_MESSAGE_PANEL);
    iconControl = GetDlgItem(window, IDC_MESSAGE_ICON);

    titleBar.UseSkinSlices();
    titleBar.caption = messageCaption;
    // The template's title is empty and the box has no caption bar: the
    // window text only names the box in the taskbar, Alt+Tab and to tools.
    SetWindowTextW(window, messageCaption);
    titleBar.SizeToSlices();
}

INT_PTR MessageBox::OnInitDialog(WPARAM, LPARAM)
{
    AttachControls();
    // Drawn by the box itself; the window text names it to screen readers and tools.
    SetWindowTextW(textArea, messageText);

    // A template 102 from another module may lack the text area; GetDC(null)
    // would then measure on the screen into a rectangle nothing had filled.
    if (textArea == nullptr) {
        ApplyType();
        return 1;
    }
    HDC dc = GetDC(textArea);
    if (dc == nullptr)
        return 1;
    RECT text = {};
    GetClientRect(textArea, &text);
    const int templateHeight = Height(text);
    // The DC holds the stock system font, which ApplyType gives the text
    // area for drawing.
    if (DrawTextW(dc, messageText, -1, &text, TextFormat | DT_CALCRECT) == 0) {
        ReleaseDC(textArea, dc);
        return 1;
    }

    int textHeight = Height(text) + TextMargin;
    if (textHeight < MinimumTextHeight)
        textHeight = MinimumTextHeight;
    // A text too long for the screen is cut at the bottom, so that the box
    // and its buttons stay on the screen.
    RECT box;
    GetWindowRect(window, &box);
    const RECT work = WorkArea(MonitorOf(window));
    const int room = Height(work) - (Height(box) - templateHeight);
    if (textHeight > room && room >= MinimumTextHeight)
        textHeight = room;
    const int shrink = templateHeight - textHeight;  // negative: the box grows
    const int half = shrink / 2;

    // Half of the change at the top and half at the bottom: the box stays
    // vertically where the dialog manager centred it, inside the work area.
    const int height = (box.bottom - half) - (box.top + half);
    int top = box.top + half;
    if (top + height > work.bottom)
        top = work.bottom - height;
    if (top < work.top)
        top = work.top;
    MoveWindow(window, box.left, top, Width(box), height, FALSE);

    const RECT area = ControlRect(window, textArea);
    MoveControl(textArea, area.left, area.top, Width(area), textHeight);

    const RECT back = ControlRect(window, panel);
    MoveControl(panel, back.left, back.top, Width(back), Height(back) - shrink);

    const RECT icon = ControlRect(window, iconControl);
    MoveControl(iconControl, icon.left, area.top + (textHeight - Height(icon)) / 2, Width(icon), Height(icon));

    for (HWND button : {okButton.window, cancelButton.window}) {
        const RECT place = ControlRect(window, button);
        MoveControl(button, place.left, place.top - shrink, Width(place), Height(place));
    }

    ApplyType();
    ReleaseDC(textArea, dc);
    return 1;
}

void MessageBox::ApplyType()
{
    UINT okCaption = 0;
    UINT cancelCaption = 0;
    // clang-format off
    switch (messageType & 0x0F) {
    case MB_OK:       okCaption = IDS_OK; break;
    case MB_OKCANCEL: okCaption = IDS_OK; cancelCaption = IDS_CANCEL; break;
    case MB_YESNO:    okCaption = IDS_YES; cancelCaption = IDS_NO; break;
    default:          break;
    }
    // clang-format on

    AssignFaces(okButton);
    okButton.SetCaption(okCaption, L"");
    okButton.SizeToFace();
    if (cancelCaption != 0) {
        AssignFaces(cancelButton);
        cancelButton.SetCaption(cancelCaption, L"");
        cancelButton.SizeToFace();
    } else {
        ShowWindow(cancelButton.window, SW_HIDE);
        RECT box;
        GetWindowRect(window, &box);
        const RECT ok = ControlRect(window, okButton.window);
        const int shift = (Width(box) - Width(ok)) / 4;
        MoveControl(okButton.window, ok.left + shift, ok.top, Width(ok), Height(ok));
    }

    frame.Layout(window, titleBar);

    // Draw with the font the text was measured with.
    SendMessageW(textArea, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(SYSTEM_FONT)), FALSE);

    if (HICON icon = TypeIcon(messageType)) {
        SendMessageW(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        return;
    }
    // No icon: the text takes its place.
    const RECT area = ControlRect(window, textArea);
    const int iconWidth = Width(ControlRect(window, iconControl));
    MoveControl(textArea, area.left - iconWidth, area.top, Width(area) + iconWidth, Height(area));
    ShowWindow(iconControl, SW_HIDE);
}

void MessageBox::DrawMessageText(const DRAWITEMSTRUCT* item)
{
    if (item == nullptr || !(item->itemAction & ODA_DRAWENTIRE))
        return;
    RECT rect = item->rcItem;
    DrawTextW(item->hDC, messageText, -1, &rect, TextFormat);
}

// Buttons never end the box themselves: the close request carries the id.
INT_PTR MessageBox::OnCommand(WPARAM wParam, LPARAM)
{
    const WORD id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL)
        return 0;
    PostMessageW(window, WM_CLOSE, id, 0);
    return 1;
}

// `result` is the command that closed the box (0 for the system's close).
// The button set is read bit by bit, as the platform's results are: 3 and 5
// answer like Ok/Cancel, 6 like Yes/No, 2 gives the command back.
INT_PTR MessageBox::OnClose(WPARAM result)
{
    INT_PTR mapped = static_cast<INT_PTR>(result);
    if (messageType & MB_OKCANCEL)
        mapped = result == IDOK ? IDOK : IDCANCEL;
    else if (messageType & MB_YESNO)
        mapped = result == IDOK ? IDYES : IDNO;
    else if (result == IDOK)
        mapped = IDOK;
    EndDialog(window, mapped);
    return 0;
}

INT_PTR MessageBox::OnDrawItem(UINT controlId, const DRAWITEMSTRUCT* item)
{
    // clang-format off
    switch (controlId) {
    case IDOK:             okButton.DrawItem(item); return 1;
    case IDCANCEL:         cancelButton.DrawItem(item); return 1;
    case IDC_TITLE_BAR:    titleBar.DrawItem(item); return 1;
    case IDC_MESSAGE_TEXT: DrawMessageText(item); return 1;
    default:               return frame.DrawItem(controlId, item);
    }
    // clang-format on
}

INT_PTR MessageBox::OnCtlColorDlg(HDC, HWND) { return reinterpret_cast<INT_PTR>(DarkBrush); }
