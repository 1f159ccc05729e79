// Arbitrary message sequences through the stand-in's behaviour: whatever a
// sender does, the list position stays inside the list and 211 points at
// a whole name buffer or nothing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "player/player_core.h"

namespace {

struct Host : qlm::player::PlayerHost {
    int64_t now = 0;
    int64_t NowMs() override { return now; }
    std::optional<qlm::player::TrackInfo> Probe(const std::string& name) override {
        if (name.size() % 3 == 0) return std::nullopt;  // some entries cannot be played
        return qlm::player::TrackInfo{static_cast<int64_t>(name.size()) * 100 - 150, 44100, 128, 2};
    }
};

constexpr intptr_t kRequests[] = {0, 101, 102, 104, 105, 106, 120, 121, 122, 124, 125, 126, 211, 212, 250, 999};
constexpr int kCommands[] = {40044, 40045, 40046, 40047, 40048, 40058, 40059, 40001};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Host host;
    qlm::player::PlayerCore core(host);
    size_t i = 0;
    auto next = [&]() -> uint8_t { return i < size ? data[i++] : 0; };
    while (i < size) {
        const uint8_t op = next();
        const int8_t arg = static_cast<int8_t>(next());
        switch (op % 4) {
        case 0: {
            intptr_t r = core.OnUser(arg * 97, kRequests[(op >> 2) % 16]);
            if ((op >> 2) % 16 == 12 && r != 0) {
                char copy[1001];
                std::memcpy(copy, reinterpret_cast<const char*>(r), sizeof copy);  // ASan checks the bound
            }
            break;
        }
        case 1: core.OnCommand(kCommands[(op >> 2) % 8]); break;
        case 2: {
            const size_t n = std::min<size_t>(static_cast<uint8_t>(arg) % 40, size - i);
            core.OnCopyData(op & 4 ? 100 : 7, data + i, n);
            i += n;
            break;
        }
        case 3:
            host.now += static_cast<uint8_t>(arg) * 10;
            core.Tick();
            break;
        }
        if (core.ListLength() > 0 && (core.ListPosition() < 0 || core.ListPosition() >= core.ListLength()))
            __builtin_trap();
        if (core.ListLength() == 0 && core.ListPosition() != 0) __builtin_trap();
    }
    return 0;
}
