// A player with a real play list, for the play-queue and play-command tests:
// it keeps the files it was given and logs the commands in order.
#pragma once

#include <string>
#include <vector>

#include "base/text_codec.h"
#include "playback/player_interface.h"

namespace qlm::test {

class ListPlayer : public TVNTPlayer {
public:
    std::vector<std::u16string> list;
    std::vector<std::string> log;
    int32_t state = kPlayerStopped;
    int32_t position = 0;
    int listLengthCalls = 0;
    bool acceptFiles = true;  // false: AddFile is swallowed, the list never grows

    void Play() override {
        log.push_back("Play");
        state = list.empty() ? kPlayerStopped : kPlayerPlaying;
    }
    void Stop() override {
        log.push_back("Stop");
        state = kPlayerStopped;
    }
    void Pause() override {
        log.push_back("Pause");
        state = state == kPlayerPlaying ? kPlayerPaused : kPlayerPlaying;
    }
    void NextTrack() override { log.push_back("Next"); }
    void PrevTrack() override { log.push_back("Prev"); }
    int32_t GetState() override { return state; }
    int32_t GetPosition() override { return position; }
    int32_t GetTrackLength() override { return 10; }
    void Seek(int32_t ms) override { log.push_back("Seek " + std::to_string(ms)); }
    void VolumeUp() override { log.push_back("VolUp"); }
    void VolumeDown() override { log.push_back("VolDown"); }
    int32_t GetListLength() override {
        ++listLengthCalls;
        return static_cast<int32_t>(list.size());
    }
    int32_t GetListPosition() override { return 0; }
    void GetCurrentFile(std::u16string& name) override { name = list.empty() ? u"" : list.front(); }
    void ClearList() override {
        log.push_back("Clear");
        list.clear();
    }
    bool AddFile(const std::u16string& name) override {
        log.push_back("Add " + Utf16ToUtf8(name));
        if (acceptFiles) list.push_back(name);
        return acceptFiles;
    }
    bool ShowPlayerWindow(int32_t id, int32_t cmd) override {
        log.push_back("Show " + std::to_string(id) + " " + std::to_string(cmd));
        return true;
    }

    // The bare names of the list ("C:\D\Sound\a\1.mp3" -> "a\1.mp3").
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (const auto& f : list) {
            std::string s = Utf16ToUtf8(f);
            auto at = s.find("Sound\\");
            out.push_back(at == std::string::npos ? s : s.substr(at + 6));
        }
        return out;
    }
};

}  // namespace qlm::test
