// MainMenu1 and PopupMenuS built from the menu tables: captions from the
// language texts, hidden entries left out, enabled and checked states asked
// of the command table whenever a menu opens, and the run-time entries of the
// language and video-player submenus.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/commands.h"
#include "app/menu_table.h"

namespace qlm {

class TMainMenus {
public:
    explicit TMainMenus(const CommandTable& commands);
    ~TMainMenus();
    TMainMenus(const TMainMenus&) = delete;
    TMainMenus& operator=(const TMainMenus&) = delete;

    // The menu bar (owned by the window it is set on) and the pop-up menu.
    HMENU Bar() const { return bar_; }
    HMENU Popup() const { return popup_; }

    // Every caption again from the texts of the current language.
    void Recaption();
    // Shows or hides an entry of either menu (hidden entries are not in the menu).
    void SetVisible(std::string_view name, bool visible);
    bool Visible(std::string_view name) const;
    // Greys an entry regardless of its command (the pop-up's rules).
    void SetRuleEnabled(std::string_view name, bool enabled);
    // The entries of a run-time submenu: item i gets id first + i; `checked`
    // is radio-checked (-1: none); an item whose `shown` is false is left out
    // of the menu but keeps its id.
    void SetDynamicItems(DynamicMenu which, const std::vector<std::u16string>& captions, uint16_t firstId,
                         int checked, const std::vector<bool>& shown = {});
    // The run-time submenu is `menu` (for the states set as it opens).
    bool IsDynamicSubmenu(HMENU menu, DynamicMenu which) const;
    // The information-page menu InformPageMenu (its own pop-up).
    HMENU InformPageMenu() const { return informMenu_; }
    void SetInformPages(const std::vector<std::u16string>& captions);

    // WM_INITMENUPOPUP: the entries' enabled and checked states.
    void InitMenuPopup(HMENU menu) const;
    // The caption shown now, without the key text (for tests and the about box).
    std::u16string Caption(std::string_view name) const;

private:
    struct Node {
        const MenuRow* row = nullptr;  // null for run-time entries
        UINT id = 0;
        std::u16string caption;
        bool visible = true;
        bool ruleEnabled = true;
        bool radio = false;
        bool checked = false;  // run-time entries only
        HMENU sub = nullptr;
        std::vector<Node*> children;
    };
    Node* Build(std::span<const MenuRow> rows, HMENU top);
    Node* Find(std::string_view name) const;
    void Fill(Node& menu) const;
    std::u16string CaptionOf(const Node& n) const;
    void RefillParentOf(const Node* n) const;

    const CommandTable& commands_;
    std::vector<std::unique_ptr<Node>> nodes_;
    Node* barRoot_ = nullptr;
    Node* popupRoot_ = nullptr;
    HMENU bar_ = nullptr;
    HMENU popup_ = nullptr;
    HMENU informMenu_ = nullptr;
};

}  // namespace qlm
