#include "app/restart_resume.h"

#include <algorithm>

namespace qlm {

bool ApplyRestartHandOver(const app::RestartHandOver& h, TVNTPlayer& player, ResumeTarget& target,
                          const ResumeWaits& waits) {
    if (!h.instFile.empty()) target.DeleteInstaller(h.instFile);
    if (h.showFav > 0) target.ShowFavorites(h.showFav);
    if (h.control == 1 || h.control == 2) target.FocusControl(h.control);

    int restored = 0;
    for (const auto& file : h.playList) {
        if (file.empty()) break;
        if (restored == 0) {
            player.ClearList();
            player.Stop();
        }
        player.AddFile(file);
        waits.sleep(2);
        ++restored;
    }
    if (restored > 0) {
        // Winamp starts the first entry on Play whatever its list position, so
        // the entry is reached by stepping after play has begun.
        PlayFromEntry(player, h.playIndex, h.playFilePos, h.isPlay, waits);
        if (h.isPlay == kPlayerStopped) target.MarkStoppedByProgram();
    }
    target.SetPlayMode(h.playMode);
    if (h.demoMode) target.StartDemoMode();
    return true;
}

app::RestartHandOver CollectRestartHandOver(TVNTPlayer& player, const HandOverWindowState& window,
                                            std::u16string installer) {
    app::RestartHandOver h;
    h.lastCD = window.diskIdentifier;
    const int32_t length = player.GetListLength();
    for (int32_t i = 0; i < length; ++i) {
        std::u16string name;
        player.GetListFile(i, name);
        h.playList.push_back(std::move(name));
    }
    h.playIndex = std::max<int32_t>(player.GetListPosition(), 0);
    const int32_t state = player.GetState();
    h.isPlay = state == kPlayerPlaying || state == kPlayerPaused ? state : kPlayerStopped;
    h.playFilePos = std::max<int32_t>(player.GetPosition(), 0);
    h.control = window.control;
    h.playMode = window.playMode;
    h.showFav = window.favoritesWidth;
    h.instFile = std::move(installer);
    return h;
}

}  // namespace qlm
