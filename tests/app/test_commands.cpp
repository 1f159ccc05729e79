#include "app/commands.h"

#include <gtest/gtest.h>

#include <set>

namespace qlm {
namespace {

TEST(CommandTable, NoKeyOrCommandIsUsedTwice) {
    std::set<std::pair<uint16_t, uint8_t>> keys;
    std::set<Cmd> commands;
    for (const KeyRow& row : KeyTable()) {
        EXPECT_TRUE(keys.insert({row.key.vk, row.key.modifiers}).second) << "key " << row.key.vk;
        EXPECT_TRUE(commands.insert(row.command).second) << "command " << static_cast<int>(row.command);
        EXPECT_LT(static_cast<uint16_t>(row.command), kDynamicFirst);
    }
    // The dynamic menu ranges do not overlap each other.
    EXPECT_LE(kLanguageMenuFirst + 199, kVideoPlayerMenuFirst);
    EXPECT_LE(kVideoPlayerMenuFirst + 99, kInformPageMenuFirst);
    EXPECT_LT(static_cast<uint16_t>(Cmd::Last), kDynamicFirst);
}

TEST(CommandTable, KeysHonourExactlyOneModifierOrNone) {
    ASSERT_TRUE(CommandForKey('1', kModCtrl));
    EXPECT_EQ(CommandForKey('1', kModCtrl)->command, Cmd::PlayAll);
    EXPECT_FALSE(CommandForKey('1', kModCtrl | kModShift));  // Ctrl+Shift+1 plays nothing
    EXPECT_FALSE(CommandForKey('1', kModNone));
    EXPECT_EQ(CommandForKey('P', kModNone)->command, Cmd::PlayerPlay);
    EXPECT_EQ(CommandForKey('P', kModCtrl)->command, Cmd::PrintContent);
    EXPECT_FALSE(CommandForKey('P', kModShift));
    EXPECT_TRUE(CommandForKey('F', kModCtrl)->consumed);
    EXPECT_EQ(CommandForKey('F', kModAlt)->command, Cmd::ShowFavorit);
}

TEST(CommandTable, RunsOnlyBoundAndEnabledCommands) {
    CommandTable table;
    int runs = 0;
    bool enabled = false;
    EXPECT_FALSE(table.Run(Cmd::PlayChecked));  // not bound
    table.Bind(Cmd::PlayChecked, [&] { ++runs; }, [&] { return enabled; });
    EXPECT_FALSE(table.Run(Cmd::PlayChecked));
    enabled = true;
    EXPECT_TRUE(table.RunId(static_cast<uint16_t>(Cmd::PlayChecked)));
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(table.Checked(Cmd::PlayChecked));

    uint16_t chosen = 0;
    table.BindRange(kLanguageMenuFirst, 3, [&](uint16_t i) { chosen = i; });
    EXPECT_TRUE(table.RunId(kLanguageMenuFirst + 2));
    EXPECT_EQ(chosen, 2);
    EXPECT_FALSE(table.RunId(kLanguageMenuFirst + 3));
    EXPECT_FALSE(table.RunId(60000));
}

}  // namespace
}  // namespace qlm
