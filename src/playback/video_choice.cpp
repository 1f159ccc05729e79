#include "playback/video_choice.h"

namespace qlm {

std::u16string ProgramOfCommand(const std::u16string& command) {
    std::u16string part;
    if (!command.empty() && command[0] == u'"') {
        const size_t close = command.find(u'"', 1);
        part = command.substr(0, close == std::u16string::npos ? command.size() : close + 1);
    } else {
        const size_t quote = command.find(u'"');
        part = command.substr(0, quote);
    }
    std::u16string out;
    for (char16_t c : part)
        if (c != u'"') out.push_back(c);
    return out;
}

std::vector<VideoPlayerEntry> FindVideoPlayers(const VideoPlayerLookup& l) {
    std::vector<VideoPlayerEntry> out;
    auto exists = [&](const std::u16string& f) { return !f.empty() && l.fileExists && l.fileExists(f); };
    auto read = [&](const std::u16string& key, const std::u16string& value) {
        return l.readLocalMachine ? l.readLocalMachine(key, value) : std::u16string();
    };
    const std::u16string cls = read(u"SOFTWARE\\Classes\\.avi", u"");
    if (!cls.empty()) {
        const std::u16string program = ProgramOfCommand(read(u"SOFTWARE\\Classes\\" + cls + u"\\shell\\play\\command", u""));
        if (exists(program)) out.push_back({l.defaultCaption, program, kSystemAviPlayerId});
    }
    const std::u16string wmp = read(u"Software\\Microsoft\\MediaPlayer", u"Installation Directory");
    if (!wmp.empty() && exists(wmp + u"\\mplayer2.exe"))
        out.push_back({u"Windows Media Player", wmp + u"\\mplayer2.exe", kMediaPlayerId});
    std::u16string own = l.diskRoot + u"Video\\play.exe";
    if (!exists(own) && !l.installedProgramPath.empty()) {
        const size_t slash = l.installedProgramPath.find_last_of(u'\\');
        own = (slash == std::u16string::npos ? std::u16string() : l.installedProgramPath.substr(0, slash + 1)) +
              u"QLMVideoPlayer\\play.exe";
    }
    if (exists(own)) out.push_back({u"QLM Video Player", own, kQlmVideoPlayerId});
    return out;
}

int ChooseVideoPlayer(const std::vector<VideoPlayerEntry>& entries, int savedId) {
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].id == savedId) return static_cast<int>(i);
    return entries.empty() ? -1 : 0;
}

std::u16string VideoCommandLine(const std::u16string& program, const std::u16string& videoFile) {
    return u"\"" + program + u"\" \"" + videoFile + u"\"";
}

}  // namespace qlm
