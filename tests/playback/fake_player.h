// A player that records the operations it receives, for dispatcher tests.
#pragma once

#include <string>
#include <vector>

#include "playback/player_interface.h"

namespace qlm::test {

class RecordingPlayer : public TVNTPlayer {
public:
    explicit RecordingPlayer(std::vector<std::string>* log) : log_(log) { log_->push_back("create"); }
    ~RecordingPlayer() override { log_->push_back("destroy"); }
    void Close() override { log_->push_back("Close"); }
    void Play() override { log_->push_back("Play"); }
    int32_t GetState() override { return kPlayerPaused; }
    int32_t GetListLength() override { return 7; }
    bool AddFile(const std::u16string&) override {
        log_->push_back("AddFile");
        return true;
    }
    bool ShowPlayerWindow(int32_t id, int32_t cmd) override {
        log_->push_back("Show " + std::to_string(id) + " " + std::to_string(cmd));
        return true;
    }

private:
    std::vector<std::string>* log_;
};

}  // namespace qlm::test
