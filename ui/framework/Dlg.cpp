#include "ui/framework/Dlg.h"

#include "ui/framework/TemplateFit.h"

INT_PTR Dlg::OnActivate(WPARAM, LPARAM) { return 0; }
INT_PTR Dlg::OnCommand(WPARAM, LPARAM) { return 0; }
INT_PTR Dlg::OnClose(WPARAM) { return 0; }
INT_PTR Dlg::OnCtlColorDlg(HDC, HWND) { return 0; }
INT_PTR Dlg::OnCtlColorBtn(HDC, HWND) { return 0; }
INT_PTR Dlg::OnCtlColorEdit(HDC, HWND) { return 0; }
INT_PTR Dlg::OnCtlColorListBox(HDC, HWND) { return 0; }
INT_PTR Dlg::OnCtlColorStatic(HDC, HWND) { return 0; }
INT_PTR Dlg::OnDrawItem(UINT, const DRAWITEMSTRUCT*) { return 0; }
INT_PTR Dlg::OnHScroll(WPARAM, LPARAM) { return 0; }
INT_PTR Dlg::OnInitDialog(WPARAM, LPARAM) { return 1; }
INT_PTR Dlg::OnMeasureItem(UINT, MEASUREITEMSTRUCT*) { return 0; }
INT_PTR Dlg::OnMove(unsigned, unsigned) { return 0; }
INT_PTR Dlg::OnNcPaint() { return 0; }
INT_PTR Dlg::OnNotify(WPARAM, NMHDR*) { return 0; }
INT_PTR Dlg::OnPaint() { return 0; }
INT_PTR Dlg::OnTimer(WPARAM, LPARAM) { return 0; }
INT_PTR Dlg::OnVScroll(WPARAM, LPARAM) { return 0; }
INT_PTR Dlg::OnMessage(UINT, WPARAM, LPARAM) { return 0; }

INT_PTR CALLBACK InitialDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Messages sent before WM_INITDIALOG (WM_SETFONT and others) come before
    // the object is known: leave them to the dialog manager.
    if (message != WM_INITDIALOG || lParam == 0)
        return 0;
    Dlg* object = reinterpret_cast<Dlg*>(lParam);
    // A dialog the system centres without an owner goes to "a monitor
    // determined by the system" (Dialog Box Styles): only now is it known. A
    // dialog ended during WM_INITDIALOG is destroyed before it is shown
    // (EndDialog), so the one made again, fitted, is the only one seen.
    if (DialogRun* run = object->run) {
        if (run->fitted != nullptr)
            CentreIn(dialog, run->monitor);
        else if (!FitsWorkArea(dialog, run->monitor = MonitorOf(dialog)) &&
                 (run->fitted = FitTemplate(run->module, run->templateId, run->monitor)) != nullptr) {
            EndDialog(dialog, 0);
            return FALSE;
        }
    }
    object->window = dialog;
    SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(RoutingDialogProc));
    return RouteMessage(object, WM_INITDIALOG, wParam, lParam);
}

INT_PTR CALLBACK RoutingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dlg* object = reinterpret_cast<Dlg*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    if (object == nullptr || object->window != dialog)
        return 0;
    return RouteMessage(object, message, wParam, lParam);
}

// Unpacked arguments, by message:
//   WM_MOVE            x = LOWORD(lParam), y = HIWORD(lParam), both unsigned
//   WM_CLOSE           result = wParam
//   WM_DRAWITEM        controlId = wParam, item = (DRAWITEMSTRUCT*)lParam
//   WM_MEASUREITEM     controlId = wParam, item = (MEASUREITEMSTRUCT*)lParam
//   WM_NOTIFY          controlId = wParam, header = (NMHDR*)lParam
//   WM_CTLCOLOR*       dc = (HDC)wParam, window = (HWND)lParam
//   WM_PAINT, WM_NCPAINT  nothing
//   others             wParam, lParam as they came
INT_PTR RouteMessage(Dlg* dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    // clang-format off
    switch (message) {
    case WM_MOVE:            return dialog->OnMove(LOWORD(lParam), HIWORD(lParam));
    case WM_ACTIVATE:        return dialog->OnActivate(wParam, lParam);
    case WM_PAINT:           return dialog->OnPaint();
    case WM_CLOSE:           return dialog->OnClose(wParam);
    case WM_DRAWITEM:        return dialog->OnDrawItem(static_cast<UINT>(wParam), reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_MEASUREITEM:     return dialog->OnMeasureItem(static_cast<UINT>(wParam), reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_NOTIFY:          return dialog->OnNotify(wParam, reinterpret_cast<NMHDR*>(lParam));
    case WM_NCPAINT:         return dialog->OnNcPaint();
    case WM_INITDIALOG:      return dialog->OnInitDialog(wParam, lParam);
    case WM_COMMAND:         return dialog->OnCommand(wParam, lParam);
    case WM_TIMER:           return dialog->OnTimer(wParam, lParam);
    case WM_HSCROLL:         return dialog->OnHScroll(wParam, lParam);
    case WM_VSCROLL:         return dialog->OnVScroll(wParam, lParam);
    case WM_CTLCOLOREDIT:    return dialog->OnCtlColorEdit(dc, control);
    case WM_CTLCOLORLISTBOX: return dialog->OnCtlColorListBox(dc, control);
    case WM_CTLCOLORBTN:     return dialog->OnCtlColorBtn(dc, control);
    case WM_CTLCOLORDLG:     return dialog->OnCtlColorDlg(dc, control);
    case WM_CTLCOLORSTATIC:  return dialog->OnCtlColorStatic(dc, control);
    default:                 return dialog->OnMessage(message, wParam, lParam);
    }
    // clang-format on
}

INT_PTR RunDialog(Dlg& dialog, HWND owner, UINT templateId)
{
    // A dialog made with a null module hands that null on to its controls,
    // and the skinned controls load their bitmaps from the controls' module:
    // name the program's own module instead.
    HINSTANCE module = owner ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(owner, GWLP_HINSTANCE)) : nullptr;
    if (module == nullptr)
        module = GetModuleHandleW(nullptr);
    const LPARAM object = reinterpret_cast<LPARAM>(&dialog);
    // At a large scale on a small screen the dialog manager would make the
    // dialog taller than the screen, its buttons out of reach: where it does,
    // InitialDialogProc ends it unseen and hands back a fitted template.
    DialogRun run = {module, templateId, nullptr, nullptr};
    dialog.run = &run;
    INT_PTR result = DialogBoxParamW(module, MAKEINTRESOURCEW(templateId), owner, InitialDialogProc, object);
    if (run.fitted != nullptr) {
        result = DialogBoxIndirectParamW(module, run.fitted, owner, InitialDialogProc, object);
        HeapFree(GetProcessHeap(), 0, run.fitted);
    }
    dialog.run = nullptr;
    return result;
}
