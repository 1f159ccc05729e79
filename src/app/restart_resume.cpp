#include "app/restart_resume.h"

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

}  // namespace qlm
