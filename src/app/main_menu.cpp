#include "app/main_menu.h"

#include "lang/language.h"

namespace qlm {

TMainMenus::TMainMenus(const CommandTable& commands) : commands_(commands) {
    bar_ = CreateMenu();
    popup_ = CreatePopupMenu();
    informMenu_ = CreatePopupMenu();
    barRoot_ = Build(MainMenuRows(), bar_);
    popupRoot_ = Build(PopupMenuRows(), popup_);
    Recaption();
}

TMainMenus::~TMainMenus() {
    // Hidden submenus hang in no menu, so nothing else would free them. The
    // bar and what it holds went with its window when it was set on one.
    std::vector<HMENU> menus;
    for (const auto& n : nodes_)
        if (n->sub && IsMenu(n->sub)) menus.push_back(n->sub);
    if (IsMenu(informMenu_)) menus.push_back(informMenu_);
    for (HMENU m : menus)
        while (GetMenuItemCount(m) > 0) RemoveMenu(m, 0, MF_BYPOSITION);
    for (HMENU m : menus) DestroyMenu(m);
}

TMainMenus::Node* TMainMenus::Build(std::span<const MenuRow> rows, HMENU top) {
    nodes_.push_back(std::make_unique<Node>());
    Node* root = nodes_.back().get();
    root->sub = top;
    std::vector<Node*> parents{root};
    for (const MenuRow& row : rows) {
        parents.resize(static_cast<size_t>(row.level) + 1);
        nodes_.push_back(std::make_unique<Node>());
        Node* n = nodes_.back().get();
        n->row = &row;
        n->id = static_cast<UINT>(row.command);
        n->visible = !row.hidden;
        n->radio = row.radio;
        parents[static_cast<size_t>(row.level)]->children.push_back(n);
        if (row.kind == MenuKind::Submenu) {
            n->sub = CreatePopupMenu();
            parents.push_back(n);
        }
    }
    return root;
}

TMainMenus::Node* TMainMenus::Find(std::string_view name) const {
    for (const auto& n : nodes_)
        if (n->row && n->row->name == name) return n.get();
    return nullptr;
}

std::u16string TMainMenus::CaptionOf(const Node& n) const {
    if (!n.row) return n.caption;
    const MenuRow& r = *n.row;
    std::u16string text = r.section.empty() ? std::u16string(r.literal.begin(), r.literal.end())
                                            : lang::Text(r.section, r.key);
    return text;
}

void TMainMenus::Fill(Node& menu) const {
    if (!menu.sub) return;
    while (GetMenuItemCount(menu.sub) > 0) RemoveMenu(menu.sub, 0, MF_BYPOSITION);
    for (Node* n : menu.children) {
        if (!n->visible) continue;
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof mi;
        if (n->row && n->row->kind == MenuKind::Separator) {
            mi.fMask = MIIM_FTYPE;
            mi.fType = MFT_SEPARATOR;
        } else {
            std::wstring text(n->caption.begin(), n->caption.end());
            if (n->row && n->row->showKey)
                if (auto key = KeyOfCommand(n->row->command)) {
                    std::u16string k = KeyName(*key);
                    text += L'\t';
                    text.append(k.begin(), k.end());
                }
            mi.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID;
            mi.fType = n->radio ? MFT_RADIOCHECK : MFT_STRING;
            mi.dwTypeData = text.data();
            mi.wID = n->id;
            if (n->sub) {
                mi.fMask |= MIIM_SUBMENU;
                mi.hSubMenu = n->sub;
            }
            InsertMenuItemW(menu.sub, static_cast<UINT>(GetMenuItemCount(menu.sub)), TRUE, &mi);
            continue;
        }
        InsertMenuItemW(menu.sub, static_cast<UINT>(GetMenuItemCount(menu.sub)), TRUE, &mi);
    }
}

void TMainMenus::Recaption() {
    for (const auto& n : nodes_)
        if (n->row) n->caption = CaptionOf(*n);
    for (const auto& n : nodes_)
        if (n->sub) Fill(*n);
}

void TMainMenus::RefillParentOf(const Node* child) const {
    for (const auto& n : nodes_)
        for (Node* c : n->children)
            if (c == child) {
                Fill(*n);
                return;
            }
}

void TMainMenus::SetVisible(std::string_view name, bool visible) {
    Node* n = Find(name);
    if (!n || n->visible == visible) return;
    n->visible = visible;
    RefillParentOf(n);
}

bool TMainMenus::Visible(std::string_view name) const {
    const Node* n = Find(name);
    return n && n->visible;
}

void TMainMenus::SetRuleEnabled(std::string_view name, bool enabled) {
    if (Node* n = Find(name)) n->ruleEnabled = enabled;
}

void TMainMenus::SetDynamicItems(DynamicMenu which, const std::vector<std::u16string>& captions, uint16_t firstId,
                                 int checked, const std::vector<bool>& shown) {
    for (const auto& n : nodes_) {
        if (!n->row || n->row->dynamic != which) continue;
        n->children.clear();
        for (size_t i = 0; i < captions.size(); ++i) {
            nodes_.push_back(std::make_unique<Node>());
            Node* item = nodes_.back().get();
            item->id = firstId + static_cast<UINT>(i);
            item->caption = captions[i];
            item->radio = true;
            item->checked = static_cast<int>(i) == checked;
            item->visible = i >= shown.size() || shown[i];
            n->children.push_back(item);
        }
        Fill(*n);
    }
    // Entries of earlier fillings that no menu holds any more.
    std::erase_if(nodes_, [&](const std::unique_ptr<Node>& node) {
        if (node->row || node.get() == barRoot_ || node.get() == popupRoot_) return false;
        for (const auto& m : nodes_)
            for (Node* c : m->children)
                if (c == node.get()) return false;
        return true;
    });
}

bool TMainMenus::IsDynamicSubmenu(HMENU menu, DynamicMenu which) const {
    for (const auto& n : nodes_)
        if (n->row && n->row->dynamic == which && n->sub == menu) return true;
    return false;
}

void TMainMenus::SetInformPages(const std::vector<std::u16string>& captions) {
    while (GetMenuItemCount(informMenu_) > 0) DeleteMenu(informMenu_, 0, MF_BYPOSITION);
    for (size_t i = 0; i < captions.size(); ++i) {
        std::wstring text(captions[i].begin(), captions[i].end());
        AppendMenuW(informMenu_, MF_STRING, kInformPageMenuFirst + i, text.c_str());
    }
}

void TMainMenus::InitMenuPopup(HMENU menu) const {
    const Node* owner = nullptr;
    for (const auto& n : nodes_)
        if (n->sub == menu) owner = n.get();
    if (!owner) return;
    UINT pos = 0;
    for (const Node* n : owner->children) {
        if (!n->visible) continue;
        const UINT at = pos++;
        if (n->row && n->row->kind == MenuKind::Separator) continue;
        bool enabled = n->ruleEnabled;
        bool checked = n->checked;
        if (n->row && n->row->kind == MenuKind::Item) {
            enabled = enabled && commands_.Enabled(n->row->command);
            checked = commands_.Checked(n->row->command);
        }
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_STATE;
        mi.fState = (enabled ? MFS_ENABLED : MFS_GRAYED) | (checked ? MFS_CHECKED : MFS_UNCHECKED);
        SetMenuItemInfoW(menu, at, TRUE, &mi);
    }
}

std::u16string TMainMenus::Caption(std::string_view name) const {
    const Node* n = Find(name);
    return n ? n->caption : std::u16string();
}

}  // namespace qlm
