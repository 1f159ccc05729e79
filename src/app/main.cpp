// Program entry of the shell: one instance at a time, the program's folders,
// the support font, the main window and the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/app_state.h"
#include "app/main_form.h"
#include "app/startup_paths.h"
#include "app/startup_steps.h"
#include "win/handles.h"
#include "win/timer_resolution.h"

namespace {

// Two named mutexes in a fixed order: the first, owned briefly, keeps two
// starting copies from deciding at the same moment; the second is held for the
// whole run. An abandoned second mutex (its owner died) counts as acquired.
qlm::win::UniqueKernelHandle AcquireInstanceMutex() {
    qlm::win::UniqueKernelHandle gate(CreateMutexW(nullptr, TRUE, L"QLM Musical Player.QLM32.CritSec"));
    qlm::win::UniqueKernelHandle instance(CreateMutexW(nullptr, FALSE, L"QLM Musical PlayerQLM32.Def"));
    DWORD wait = instance ? WaitForSingleObject(instance.get(), 0) : WAIT_FAILED;
    if (gate) ReleaseMutex(gate.get());
    if (wait == WAIT_TIMEOUT || wait == WAIT_FAILED) return {};
    return instance;
}

std::u16string ModuleFileName() {
    wchar_t buf[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
    return qlm::win::U16(std::wstring_view(buf, n));
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    SetErrorMode(SEM_FAILCRITICALERRORS);
    qlm::win::UniqueKernelHandle instance = AcquireInstanceMutex();
    if (!instance) return 0;  // another copy runs: end without a word

    qlm::win::TimerResolution timerResolution;
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    qlm::AppState& app = qlm::App();
    app.programFile = ModuleFileName();
    app.installedProgramPath = qlm::ReadInstalledProgramPath();
    app.supportFolder = qlm::SupportFolder(app.programFile, app.installedProgramPath);
    qlm::InstallSupportFont();

    {
        qlm::TMainForm form;
        if (form.CreateMainWindow() && !app.quitAtStart) {
            qlm::CreateToolTipsWindow(form.hwnd());
            form.ShowMainWindow(showCommand);
        }
        MSG msg;
        if (form.hwnd()) {
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (form.PreviewKey(msg)) continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        // A start that quit before showing still releases what it took.
        if (form.hwnd()) SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
        qlm::DestroyToolTipsWindow();
    }
    qlm::RemoveSupportFont();
    OleUninitialize();
    ReleaseMutex(instance.get());
    return 0;
}
