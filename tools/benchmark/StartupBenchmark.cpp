// Prints how long the program takes from its start to its dialog on screen,
// against template 101 alone (bare_dialog.exe), in pairs that alternate which
// starts first, in one Wine session. Figures, not a pass/fail test: it exits
// 0 once it could measure. Settings are only read, never written.
//
// usage: startup_benchmark.exe [pairs, default 40]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/StartProgram.h"

namespace {
// Milliseconds from starting `program` (relative to this program's folder)
// until it shows a dialog; the program is ended after. Negative: no dialog.
double ShowTime(const std::wstring& program)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path = path.substr(0, path.rfind(L'\\') + 1) + program;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (StartProgram(path, process) != 0)
        return -1;
    double shown = -1;
    for (DWORD waited = 0; shown < 0 && waited < 20000; ++waited) {
        for (HWND dialog = nullptr; (dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr;) {
            DWORD owner = 0;
            GetWindowThreadProcessId(dialog, &owner);
            if (owner == process.dwProcessId && IsWindowVisible(dialog)) {
                QueryPerformanceCounter(&now);
                shown = (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
            }
        }
        Sleep(1);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return shown;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
}

int wmain(int argc, wchar_t** argv)
{
    const int pairs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 40;
    std::vector<double> bare, program, ratio;
    ShowTime(L"bare_dialog.exe");  // once before, so that both find Wine's caches warm
    for (int pair = 0; pair < pairs; ++pair) {
        double times[2];
        for (int i = 0; i < 2; ++i) {
            const int which = (pair + i) % 2;
            times[which] = ShowTime(which ? L"..\\KrvAdvanced.exe" : L"bare_dialog.exe");
        }
        if (times[0] <= 0 || times[1] <= 0) {
            std::printf("a dialog did not show within 20 s\n");
            return 1;
        }
        bare.push_back(times[0]);
        program.push_back(times[1]);
        ratio.push_back(times[1] / times[0]);
    }
    std::printf("start to dialog on screen, median of %d pairs: template 101 alone %.1f ms, the program %.1f ms, "
                "%.2f times as long (median of the pairs' ratios)\n",
                pairs, Median(bare), Median(program), Median(ratio));
    return 0;
}
