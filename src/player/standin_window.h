// The stand-in player's main window: class "Winamp v1.x", answers the
// shell's messages through PlayerCore, and shows title, time and play list.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "player/audio_output.h"
#include "player/message_log.h"
#include "player/player_core.h"
#include "win/window.h"

namespace qlm::player {

inline constexpr wchar_t kStandInClass[] = L"Winamp v1.x";

class StandInWindow final : public win::Window, private PlayerHost {
public:
    explicit StandInWindow(const std::wstring& logPath);
    ~StandInWindow() override;
    bool CreateMain();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // PlayerHost
    int64_t NowMs() override;
    std::optional<TrackInfo> Probe(const std::string& fileName) override;
    void AudioStart(const std::string& fileName, int64_t fromMs) override;
    void AudioPause(bool paused) override;
    void AudioStop() override;
    void AudioVolume(int volume) override;

    void FormCreate();
    void FormResize();
    void FormPaint();
    void Timer1Timer();
    void PlayListDblClick();
    void RefreshView();

    PlayerCore core_{*this};
    MessageLog log_;
    std::unique_ptr<AudioOutput> audio_;
    HWND playList_ = nullptr;
    unsigned shownListVersion_ = ~0u;
    unsigned shownListClears_ = ~0u;
    int shownListCount_ = 0;
    int shownListPos_ = -1;
    std::wstring shownStatus_;
    std::wstring shownTitle_;
    LARGE_INTEGER frequency_{};
};

}  // namespace qlm::player
