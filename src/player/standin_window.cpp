#include "player/standin_window.h"

#include <cstdio>

namespace qlm::player {
namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr int kStatusHeight = 44;
constexpr int kPlayListId = 100;

std::wstring Wide(const char* ansi) {
    if (!ansi || !*ansi) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
    std::wstring w(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_ACP, 0, ansi, -1, w.data(), n);
    return w;
}

// "C:\Music\Song.mp3" -> "Song"
std::wstring TitleOfPath(const std::string& path) {
    std::string name = path.substr(path.find_last_of("\\/") + 1);
    auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return Wide(name.c_str());
}

std::wstring Clock(int64_t ms) {
    if (ms < 0) return L"-:--";
    wchar_t buf[32];
    std::swprintf(buf, 32, L"%d:%02d", static_cast<int>(ms / 60000), static_cast<int>(ms / 1000 % 60));
    return buf;
}

}  // namespace

StandInWindow::StandInWindow(const std::wstring& logPath) : log_(logPath) { QueryPerformanceFrequency(&frequency_); }

StandInWindow::~StandInWindow() { audio_.reset(); }

bool StandInWindow::CreateMain() {
    if (!RegisterWindowClass(kStandInClass, CS_HREDRAW | CS_VREDRAW, GetSysColorBrush(COLOR_BTNFACE))) return false;
    win::CreateParams p;
    p.className = kStandInClass;
    p.title = L"Winamp";
    p.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
    p.width = 340;
    p.height = 260;
    return Create(p);
}

int64_t StandInWindow::NowMs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<int64_t>(now.QuadPart * 1000 / frequency_.QuadPart);
}

std::optional<TrackInfo> StandInWindow::Probe(const std::string& fileName) {
    auto info = ProbeMp3File(fileName);
    if (!info) return std::nullopt;
    return TrackInfo{info->durationMs, info->sampleRate, info->averageBitrateKbps, info->channels};
}

void StandInWindow::AudioStart(const std::string& fileName, int64_t fromMs) {
    if (audio_) audio_->Start(fileName, fromMs);
}
void StandInWindow::AudioPause(bool paused) {
    if (audio_) audio_->Pause(paused);
}
void StandInWindow::AudioStop() {
    if (audio_) audio_->Stop();
}
void StandInWindow::AudioVolume(int volume) {
    if (audio_) audio_->SetVolume(volume);
}

LRESULT StandInWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: FormCreate(); return 0;
    case WM_SIZE: FormResize(); return 0;
    case WM_PAINT: FormPaint(); return 0;
    case WM_TIMER:
        if (wParam == kTimerId) Timer1Timer();
        return 0;
    case WM_USER: {
        LRESULT r = core_.OnUser(static_cast<intptr_t>(wParam), lParam);
        log_.User(wParam, lParam, r);
        RefreshView();
        return r;
    }
    case WM_COMMAND: {
        if (lParam != 0) {  // a notification of our own play list
            if (LOWORD(wParam) == kPlayListId && HIWORD(wParam) == LBN_DBLCLK) PlayListDblClick();
            return 0;
        }
        LRESULT r = core_.OnCommand(static_cast<int>(LOWORD(wParam)));
        log_.Command(wParam, lParam, r);
        if (core_.QuitRequested()) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        RefreshView();
        return r;
    }
    case WM_COPYDATA: {
        auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        LRESULT r = cds ? core_.OnCopyData(cds->dwData, cds->lpData, cds->cbData) : 0;
        log_.CopyData(wParam, cds, r);
        RefreshView();
        return r;
    }
    case MM_WOM_DONE:
        if (audio_) audio_->BufferDone(reinterpret_cast<HWAVEOUT>(wParam), reinterpret_cast<WAVEHDR*>(lParam));
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd(), kTimerId);
        audio_.reset();
        PostQuitMessage(0);
        return 0;
    default: return Default(msg, wParam, lParam);
    }
}

void StandInWindow::FormCreate() {
    audio_ = std::make_unique<AudioOutput>(hwnd());
    playList_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, 0, 0, 0, 0,
                                hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPlayListId)),
                                win::ModuleInstance(), nullptr);
    SendMessageW(playList_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SetTimer(hwnd(), kTimerId, 50, nullptr);
}

void StandInWindow::FormResize() {
    RECT r;
    GetClientRect(hwnd(), &r);
    if (playList_) MoveWindow(playList_, 4, kStatusHeight, r.right - 8, r.bottom - kStatusHeight - 4, TRUE);
}

void StandInWindow::FormPaint() {
    win::PaintScope paint(hwnd());
    RECT r;
    GetClientRect(hwnd(), &r);
    r.left += 6;
    r.top += 4;
    r.right -= 6;
    win::SelectScope font(paint.dc(), GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(paint.dc(), TRANSPARENT);
    DrawTextW(paint.dc(), shownStatus_.c_str(), -1, &r, DT_LEFT | DT_TOP | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void StandInWindow::Timer1Timer() {
    core_.Tick();
    RefreshView();
}

void StandInWindow::PlayListDblClick() {
    LRESULT index = SendMessageW(playList_, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return;
    core_.OnUser(static_cast<intptr_t>(index), 121);  // set the list position
    core_.OnCommand(40045);                            // play it
    RefreshView();
}

void StandInWindow::RefreshView() {
    if (!hwnd()) return;
    if (playList_ && shownListVersion_ != core_.ListVersion()) {
        win::RedrawScope quiet(playList_);
        // Appends only add their own lines: refilling a long list for every
        // added file made each add cost as much as the whole list.
        if (shownListClears_ != core_.ListClears() || shownListCount_ > core_.ListLength()) {
            SendMessageW(playList_, LB_RESETCONTENT, 0, 0);
            shownListCount_ = 0;
            shownListClears_ = core_.ListClears();
        }
        for (int i = shownListCount_; i < core_.ListLength(); ++i) {
            std::wstring line = std::to_wstring(i + 1) + L". " + Wide(core_.EntryTitle(i));
            SendMessageW(playList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        }
        shownListCount_ = core_.ListLength();
        shownListVersion_ = core_.ListVersion();
        shownListPos_ = -1;
    }
    if (playList_ && shownListPos_ != core_.ListPosition()) {
        shownListPos_ = core_.ListPosition();
        SendMessageW(playList_, LB_SETCURSEL, core_.ListLength() > 0 ? shownListPos_ : -1, 0);
    }

    const char* stateText = core_.State() == PlayState::Playing  ? "playing"
                            : core_.State() == PlayState::Paused ? "paused"
                                                                 : "stopped";
    std::wstring name = core_.PlayingName().empty() ? Wide(core_.EntryTitle(core_.ListPosition()))
                                                    : TitleOfPath(core_.PlayingName());
    std::wstring status = name + L"\n" + Clock(core_.PositionMs()) + L" / " + Clock(core_.PlayingLengthMs()) + L"   " +
                          Wide(stateText) + L"   vol " + std::to_wstring(core_.Volume() * 100 / 255) + L"%";
    if (status != shownStatus_) {
        shownStatus_ = status;
        RECT band{0, 0, 0, kStatusHeight};
        GetClientRect(hwnd(), &band);
        band.bottom = kStatusHeight;
        InvalidateRect(hwnd(), &band, TRUE);
    }
    std::wstring title = core_.ListLength() > 0 ? std::to_wstring(core_.ListPosition() + 1) + L". " +
                                                      Wide(core_.EntryTitle(core_.ListPosition())) + L" - Winamp"
                                                : L"Winamp";
    if (title != shownTitle_) {
        shownTitle_ = title;
        SetWindowTextW(hwnd(), title.c_str());
    }
}

}  // namespace qlm::player
