#include "player/player_core.h"

#include <algorithm>
#include <cstring>

namespace qlm::player {
namespace {

// Winamp's request numbers (wa_ipc) that the stand-in answers.
enum : intptr_t {
    kGetVersion = 0,
    kDelete = 101,
    kStartPlay = 102,
    kIsPlaying = 104,
    kGetOutputTime = 105,
    kJumpToTime = 106,
    kWritePlaylist = 120,
    kSetPlaylistPos = 121,
    kSetVolume = 122,
    kGetListLength = 124,
    kGetListPos = 125,
    kGetInfo = 126,
    kGetPlaylistFile = 211,
    kGetPlaylistTitle = 212,
    kGetShuffle = 250,
    kGetRepeat = 251,
    kSetShuffle = 252,
    kSetRepeat = 253,
};
enum : int {
    kCmdQuit = 40001,
    kCmdPrev = 40044,
    kCmdPlay = 40045,
    kCmdPause = 40046,
    kCmdStop = 40047,
    kCmdNext = 40048,
    kCmdVolumeUp = 40058,
    kCmdVolumeDown = 40059,
};
constexpr uintptr_t kCopyDataPlayFile = 100;

std::string TitleOf(std::string_view name) {
    auto slash = name.find_last_of("\\/");
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    auto dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

}  // namespace

std::unique_ptr<char[]> PlayerCore::Buffer(std::string_view text) {
    size_t size = std::max(kNameBufferSize, text.size() + 1);
    auto b = std::make_unique<char[]>(size);  // zero-filled
    std::memcpy(b.get(), text.data(), text.size());
    return b;
}

const char* PlayerCore::EntryName(int index) const {
    return index >= 0 && index < ListLength() ? entries_[index].name.get() : nullptr;
}
const char* PlayerCore::EntryTitle(int index) const {
    return index >= 0 && index < ListLength() ? entries_[index].title.get() : nullptr;
}

const TrackInfo* PlayerCore::InfoOf(int index) {
    if (index < 0 || index >= ListLength()) return nullptr;
    Entry& e = entries_[index];
    if (!e.probed) {
        e.info = host_.Probe(e.name.get());
        e.probed = true;
    }
    return e.info ? &*e.info : nullptr;
}

int64_t PlayerCore::PositionMs() {
    switch (state_) {
    case PlayState::Stopped: return -1;
    case PlayState::Paused: return basePositionMs_;
    case PlayState::Playing: break;
    }
    int64_t p = basePositionMs_ + (host_.NowMs() - baseClockMs_);
    if (playingInfo_.lengthMs >= 0) p = std::min(p, playingInfo_.lengthMs);
    return p;
}

void PlayerCore::SetPosition(int64_t ms) {
    basePositionMs_ = ms;
    baseClockMs_ = host_.NowMs();
}

void PlayerCore::StopPlaying() {
    if (state_ != PlayState::Stopped) host_.AudioStop();
    state_ = PlayState::Stopped;
    playingName_.clear();
    playingInfo_ = {};
    detached_ = false;
}

void PlayerCore::PlayFrom(int from) {
    StopPlaying();
    for (int i = std::max(from, 0); i < ListLength(); ++i) {
        pos_ = i;
        if (const TrackInfo* info = InfoOf(i)) {
            playingName_ = entries_[i].name.get();
            playingInfo_ = *info;
            state_ = PlayState::Playing;
            SetPosition(0);
            host_.AudioStart(playingName_, 0);
            return;
        }
    }
}

void PlayerCore::Step(int delta) {
    if (state_ == PlayState::Stopped) {
        const int to = pos_ + delta;
        if (to >= 0 && to < ListLength()) pos_ = to;
        return;
    }
    if (detached_) {
        // The old track's list is gone; Winamp 5.64+ goes to the new first entry.
        if (ListLength() > 0) PlayFrom(0);
        return;
    }
    const int to = pos_ + delta;
    if (to >= 0 && to < ListLength()) PlayFrom(to);
}

void PlayerCore::TrackEnded() {
    if (!detached_ && pos_ + 1 < ListLength())
        PlayFrom(pos_ + 1);
    else
        StopPlaying();  // repeat is off: the position stays on the last entry
}

void PlayerCore::Tick() {
    if (state_ != PlayState::Playing || playingInfo_.lengthMs < 0) return;
    if (basePositionMs_ + (host_.NowMs() - baseClockMs_) >= playingInfo_.lengthMs) TrackEnded();
}

intptr_t PlayerCore::LengthAnswer(bool inMs) {
    int64_t ms = -1;
    if (state_ != PlayState::Stopped) {
        ms = playingInfo_.lengthMs;
    } else if (const TrackInfo* info = InfoOf(pos_)) {
        ms = info->lengthMs;
    }
    if (ms < 0) return -1;
    return static_cast<intptr_t>(inMs ? ms : (ms + 500) / 1000);
}

intptr_t PlayerCore::JumpTo(intptr_t ms) {
    if (state_ == PlayState::Stopped) return -1;
    if (ms < 0) ms = 0;
    if (playingInfo_.lengthMs >= 0 && ms >= playingInfo_.lengthMs) {
        TrackEnded();
        return 1;
    }
    SetPosition(ms);
    host_.AudioStart(playingName_, ms);
    if (state_ == PlayState::Paused) host_.AudioPause(true);
    return 0;
}

intptr_t PlayerCore::OnUser(intptr_t wParam, intptr_t lParam) {
    switch (lParam) {
    case kGetVersion: return kVersion;
    case kDelete: {
        // The track that plays goes on playing; it ends the playback when it ends.
        const bool had = !entries_.empty();
        entries_.clear();
        pos_ = 0;
        if (state_ != PlayState::Stopped) detached_ = true;
        ++listVersion_;
        ++listClears_;
        return had ? 1 : 0;
    }
    case kStartPlay:
        // Winamp 5 starts at the first entry whatever the list position.
        PlayFrom(0);
        return 1;
    case kIsPlaying:
        return state_ == PlayState::Stopped ? 0 : state_ == PlayState::Playing ? 1 : 3;
    case kGetOutputTime:
        if (wParam == 0) return static_cast<intptr_t>(PositionMs());
        if (wParam == 1 || wParam == 2) return LengthAnswer(wParam == 2);
        return 0;
    case kJumpToTime: return JumpTo(wParam);
    case kWritePlaylist: return entries_.empty() ? -1 : pos_;
    case kSetPlaylistPos:
        if (!entries_.empty()) pos_ = static_cast<int>(std::clamp<intptr_t>(wParam, 0, ListLength() - 1));
        return 0;
    case kSetVolume:
        if (wParam == -666) return volume_;
        volume_ = static_cast<int>(std::clamp<intptr_t>(wParam, 0, 255));
        host_.AudioVolume(volume_);
        return 0;
    case kGetListLength: return ListLength();
    case kGetListPos: return pos_;
    case kGetInfo:
        if (state_ == PlayState::Stopped) return 0;
        switch (wParam) {
        case 0: return playingInfo_.sampleRate / 1000;
        case 1: return playingInfo_.bitrateKbps;
        case 2: return playingInfo_.channels;
        case 5: return playingInfo_.sampleRate;
        default: return 0;
        }
    case kGetPlaylistFile: return reinterpret_cast<intptr_t>(EntryName(static_cast<int>(wParam)));
    case kGetPlaylistTitle: return reinterpret_cast<intptr_t>(EntryTitle(static_cast<int>(wParam)));
    case kGetShuffle:
    case kGetRepeat:
    case kSetShuffle:
    case kSetRepeat: return 0;  // neither is supported: always off
    default: return 1;          // what Winamp answers to a request it does not know
    }
}

intptr_t PlayerCore::OnCommand(int id) {
    switch (id) {
    case kCmdQuit: quitRequested_ = true; break;
    case kCmdPrev: Step(-1); break;
    case kCmdNext: Step(+1); break;
    case kCmdPlay:
        if (state_ == PlayState::Paused) {
            OnCommand(kCmdPause);
        } else if (!entries_.empty()) {
            PlayFrom(pos_);
        }
        break;
    case kCmdPause:
        if (state_ == PlayState::Playing) {
            basePositionMs_ = PositionMs();
            state_ = PlayState::Paused;
            host_.AudioPause(true);
        } else if (state_ == PlayState::Paused) {
            state_ = PlayState::Playing;
            SetPosition(basePositionMs_);
            host_.AudioPause(false);
        }
        break;
    case kCmdStop: StopPlaying(); break;
    case kCmdVolumeUp:
    case kCmdVolumeDown:
        volume_ = std::clamp(volume_ + (id == kCmdVolumeUp ? 4 : -4), 0, 255);
        host_.AudioVolume(volume_);
        break;
    default: break;
    }
    return 0;
}

intptr_t PlayerCore::OnCopyData(uintptr_t dwData, const void* data, size_t size) {
    if (dwData != kCopyDataPlayFile || !data) return 0;
    // Trust nothing about the sender's string: it ends at its zero or at size.
    const char* text = static_cast<const char*>(data);
    std::string_view name(text, strnlen(text, size));
    if (name.empty()) return 0;
    Entry e;
    e.name = Buffer(name);
    e.title = Buffer(TitleOf(name));
    entries_.push_back(std::move(e));
    ++listVersion_;
    return 1;
}

}  // namespace qlm::player
