// Skinned controls under Wine: every picture of the table loads at its size,
// the message box answers the codes of its buttons, Esc and the modeless form,
// image buttons follow the naming rule, the colour scheme swaps panel pixels.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>

#include "app/colour_scheme.h"
#include "app/image_button.h"
#include "app/message_box.h"
#include "app/message_box_layout.h"
#include "app/skin/skin_table.h"
#include "app/skin_picture.h"
#include "app/skin_scheme.h"
#include "app/tooltips_window.h"
#include "win/handles.h"

namespace qlm {
namespace {

TEST(SkinResources, EveryNameOfTheTableLoadsAtItsSize) {
    const auto names = skin::AllPictureNames();
    ASSERT_GT(names.size(), 150u);
    for (const auto& name : names) {
        const SkinPicture p = LoadSkinPicture(std::string_view(name));
        ASSERT_FALSE(p.Empty()) << name;
        const auto size = skin::PictureSize(name);
        EXPECT_EQ(p.Width(), size->x) << name;
        EXPECT_EQ(p.Height(), size->y) << name;
    }
    // Names are matched without regard to case.
    EXPECT_FALSE(LoadSkinPicture(std::string_view("ListBtnURus")).Empty());
    EXPECT_TRUE(LoadSkinPicture(std::string_view("NOSUCHPICTURE")).Empty());
}

TEST(SkinResources, PanelBackgroundsShowTheFirstSchemeColourInTheDisplay) {
    const uint32_t s0 = kColourSchemes[0].Pixel();
    for (const char* name : {"PLAYERLEFTIMAGE", "PLAYERCENTERIMAGE", "PLAYERRIGHTIMAGE"}) {
        const SkinPicture p = LoadSkinPicture(std::string_view(name));
        ASSERT_FALSE(p.Empty());
        EXPECT_EQ(p.PixelAt(p.Width() - 1 > 20 ? 20 : 0, 50), s0) << name;
        EXPECT_EQ(p.PixelAt(0, 10), p.Width() == 38 ? p.PixelAt(0, 10) : s0) << name;
    }
}

// Runs `action` on the box once it is up, from a timer of the modal loop.
struct BoxDriver {
    static inline std::function<void(TMessageForm&)> action;
    static inline int ticks = 0;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        TMessageForm* f = ActiveMessageForm();
        if (f && f->hwnd() && IsWindowVisible(f->hwnd())) {
            KillTimer(nullptr, id);
            auto a = std::move(action);
            if (a) a(*f);
        } else if (++ticks > 200) {
            KillTimer(nullptr, id);
        }
    }
    static void Arm(std::function<void(TMessageForm&)> a) {
        action = std::move(a);
        ticks = 0;
        SetTimer(nullptr, 0, 20, &Tick);
    }
};

void Click(HWND button) {
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST(SkinMessageBox, AnswersTheCodeOfThePressedButton) {
    BoxDriver::Arm([](TMessageForm& f) {
        ASSERT_EQ(f.Buttons().size(), 3u);
        Click(f.Buttons()[1]);
    });
    EXPECT_EQ(ShowMessageBox(u"Музыкальный диск не наден!", u"Ошибка", 0, 0, u"Повтор\rОбзор\r&Отмена",
                             std::string("\x05\x09\x02", 3)),
              9);
    EXPECT_EQ(ActiveMessageForm(), nullptr);
}

TEST(SkinMessageBox, ButtonsSitWhereTheFormulaPutsThemAndAMissingCaptionStaysEmpty) {
    BoxDriver::Arm([](TMessageForm& f) {
        RECT wr;
        GetWindowRect(f.hwnd(), &wr);
        RECT cr;
        GetClientRect(f.hwnd(), &cr);
        EXPECT_EQ(cr.right, kMessageClientWidth);
        EXPECT_EQ(cr.bottom, kMessageClientHeight);
        const auto lefts = MessageButtonLefts(wr.right - wr.left, 3);
        for (size_t i = 0; i < 3; ++i) {
            RECT br;
            GetWindowRect(f.Buttons()[i], &br);
            MapWindowPoints(nullptr, f.hwnd(), reinterpret_cast<POINT*>(&br), 2);
            EXPECT_EQ(br.left, lefts[i]);
            EXPECT_EQ(br.top, kMessageButtonTop);
            EXPECT_EQ(br.right - br.left, kMessageButtonWidth);
            EXPECT_EQ(br.bottom - br.top, kMessageButtonHeight);
        }
        wchar_t text[16] = L"x";
        GetWindowTextW(f.Buttons()[2], text, 16);
        EXPECT_STREQ(text, L"");
        PostMessageW(f.Buttons()[0], WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(ShowMessageBox(u"Три кода, две надписи", u"Test", 2, 0, u"Да\rНет", "\x03\x04\x07"), 3);
}

void CALLBACK PressSecondIfStillUp(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    TMessageForm* f = ActiveMessageForm();
    if (f && !f->Closed()) Click(f->Buttons()[1]);
}

TEST(SkinMessageBox, EscapeAnswersZeroUnlessForbidden) {
    BoxDriver::Arm([](TMessageForm& f) { PostMessageW(f.Buttons()[0], WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_EQ(ShowMessageBox(u"Удалить? Вы уверены?", u"Удаление", 2, 0, u"Да\rНет", "\x03\x04"), 0);

    BoxDriver::Arm([](TMessageForm& f) {
        PostMessageW(f.Buttons()[0], WM_KEYDOWN, VK_ESCAPE, 0);
        // Still up after the Esc: then press "Нет".
        SetTimer(nullptr, 0, 100, &PressSecondIfStillUp);
    });
    EXPECT_EQ(ShowMessageBox(u"Esc не закрывает", u"Test", 1, kMessageNoEscape, u"Да\rНет", "\x03\x04"), 4);
}

TEST(SkinMessageBox, ModelessAndButtonlessBoxesReturnAtOnceAndStayUp) {
    EXPECT_EQ(ShowMessageBox(u"Подождите пожалуйста. Идёт загрузка QLM Musical Player ...", u"QLM Musical Player",
                             3, kMessageNoEscape, u"", ""),
              0);
    TMessageForm* f = ActiveMessageForm();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(IsWindowVisible(f->hwnd()));
    EXPECT_EQ(GetWindowLongW(f->hwnd(), GWL_STYLE) & WS_SYSMENU, 0);  // no border icons

    // A modal box over it takes the reference for its life and gives it back.
    BoxDriver::Arm([](TMessageForm& m) { Click(m.Buttons()[0]); });
    EXPECT_EQ(ShowMessageBox(u"Не найден Winamp!", u"Ошибка", 0, 0, u"OK", "\x06"), 6);
    EXPECT_EQ(ActiveMessageForm(), f);

    FreeMessageForm();
    EXPECT_EQ(ActiveMessageForm(), nullptr);

    EXPECT_EQ(ShowMessageBox(u"modeless with a button", u"Update", 3, kMessageModeless, u"&Отмена", "\x01"), 0);
    f = ActiveMessageForm();
    ASSERT_NE(f, nullptr);
    bool closed = false;
    f->OnClose = [&](TMessageForm& m) { closed = m.Result() == 1; };
    SendMessageW(f->hwnd(), WM_COMMAND, MAKEWPARAM(TMessageForm::kFirstButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(f->Buttons()[0]));
    EXPECT_TRUE(closed);
    FreeMessageForm();
}

TEST(ImageButton, SettersLoadThePicturesOfTheNamingRule) {
    TImageButton b("PlayCheckedBtn");
    SetButtonPicture(b, false, true, true, true);
    EXPECT_EQ(b.PictureName(), "PLAYCHECKEDBTNP");
    EXPECT_FALSE(b.Enabled());
    SetButtonPicture(b, false, true, true, false);
    EXPECT_EQ(b.PictureName(), "PLAYCHECKEDBTNSU");
    EXPECT_TRUE(b.Enabled());

    TImageButton shared("PrevInformHTMLBtn");
    shared.ResouceName = "PrevBtn";
    SetButtonPicture(shared, true, false, false, false);
    EXPECT_EQ(shared.PictureName(), "PREVBTND");

    TImageButton page("ListBtn");
    SetLanguageButtonPicture(page, false, true, true, false);
    EXPECT_EQ(page.PictureName(), "LISTBTNDENG");
    SetLanguageButtonPicture(page, false, true, true, true);
    EXPECT_EQ(page.PictureName(), "LISTBTNSENG");

    TImageButton toggle("ExpTreeBtn");
    SetTogglePicture(toggle, "ExpTreeBtn", true, false);
    EXPECT_EQ(toggle.Tag, 1);
    EXPECT_EQ(toggle.PictureName(), "EXPTREEBTND");
    SetTogglePicture(toggle, "ExpTreeBtn", false, true);
    EXPECT_EQ(toggle.Tag, 1);  // passive keeps the tag
    EXPECT_FALSE(toggle.Enabled());

    // A missing resource keeps the previous picture.
    toggle.LoadPicture("NOSUCHPICTURE");
    EXPECT_EQ(toggle.PictureName(), "EXPTREEBTNP");

    TImageButton logo("LDLogo");
    LoadImagePicture(logo, "LDLogo2");
    EXPECT_EQ(logo.PictureName(), "LDLOGO2");
}

TEST(ImageButton, AutoSizeCenterAndStretchPlaceThePicture) {
    TImageButton b("FindBtn");
    EXPECT_EQ(b.Width(), 105);
    EXPECT_EQ(b.Height(), 105);
    b.SetBounds(10, 20, 100, 50);
    SetButtonPicture(b, false, false, false, false);
    RECT r = b.PictureRect();
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right, 46);
    EXPECT_FALSE(b.IsOpaque());  // picture smaller than the control
    b.Center = true;
    r = b.PictureRect();
    EXPECT_EQ(r.left, 10 + (100 - 36) / 2);
    EXPECT_EQ(r.top, 20 + (50 - 36) / 2);
    b.Stretch = true;
    EXPECT_TRUE(b.IsOpaque());
    b.Stretch = false;
    b.AutoSize = true;
    SetButtonPicture(b, true, false, false, false);
    EXPECT_EQ(b.Width(), 36);
    EXPECT_EQ(b.Height(), 36);
    EXPECT_TRUE(b.IsOpaque());
}

TEST(ColourScheme, ApplySwapsThePanelAndReloadsTheSchemeImages) {
    ResetColourScheme();
    TImageButton left("PlayerLeftImage"), center("PlayerCenterImage"), right("PlayerRightImage");
    TImageButton logo("LDLogo"), elt("TLElt"), wall("LWall"), icons("PlIconStr");
    for (TImageButton* i : {&left, &center, &right}) LoadImagePicture(*i);
    int redraws = 0;
    ColourSchemeTargets t{&left, &center, &right, &logo, &elt, &wall, &icons, [&] { ++redraws; }};
    ApplyColourScheme(7, t);  // above 2 counts as 0
    EXPECT_EQ(CurrentColourScheme(), 0);
    EXPECT_EQ(logo.PictureName(), "LDLOGO0");
    ApplyColourScheme(1, t);
    EXPECT_EQ(CurrentColourScheme(), 1);
    EXPECT_EQ(left.Picture().PixelAt(20, 50), kColourSchemes[1].Pixel());
    EXPECT_EQ(center.Picture().PixelAt(0, 50), kColourSchemes[1].Pixel());
    EXPECT_EQ(right.Picture().PixelAt(10, 50), kColourSchemes[1].Pixel());
    EXPECT_EQ(icons.PictureName(), "PLICONSTR1");
    EXPECT_EQ(wall.PictureName(), "LWALL1");
    ApplyColourScheme(2, t);
    ApplyColourScheme(0, t);
    EXPECT_EQ(left.Picture().PixelAt(20, 50), kColourSchemes[0].Pixel());
    // Nothing outside the display changed colour on the way round: no other
    // pixel of the backgrounds has a scheme colour.
    for (TImageButton* i : {&left, &center, &right}) {
        const SkinPicture fresh = LoadSkinPicture(std::string_view(i->Name()));
        for (int y = 0; y < fresh.Height(); ++y)
            for (int x = 0; x < fresh.Width(); ++x)
                ASSERT_EQ(i->Picture().PixelAt(x, y), fresh.PixelAt(x, y)) << i->Name() << " " << x << "," << y;
    }
    EXPECT_EQ(redraws, 4);
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST(ImageButton, HostRoutesHoverPressAndClick) {
    ImageButtonHost host;  // no parent window: routing only
    TImageButton a("A"), b("B"), hidden("H");
    a.SetBounds(0, 0, 20, 20);
    b.SetBounds(10, 0, 20, 20);  // overlaps a; added later, so on top
    hidden.SetBounds(50, 0, 20, 20);
    hidden.SetVisible(false);
    host.Add(a);
    host.Add(b);
    host.Add(hidden);
    std::string log;
    for (TImageButton* x : {&a, &b, &hidden}) {
        x->OnMouseEnter = [&](TImageButton& t) { log += "+" + t.Name(); };
        x->OnMouseLeave = [&](TImageButton& t) { log += "-" + t.Name(); };
        x->OnClick = [&](TImageButton& t) { log += "!" + t.Name(); };
        x->OnMouseDown = [&](TImageButton& t, MouseButton, int px, int py) {
            log += "v" + t.Name() + std::to_string(px) + "," + std::to_string(py);
        };
    }
    host.HandleMessage(WM_MOUSEMOVE, 0, At(5, 5));
    host.HandleMessage(WM_MOUSEMOVE, 0, At(15, 5));   // the later button wins the overlap
    host.HandleMessage(WM_MOUSEMOVE, 0, At(55, 5));   // hidden: nothing there
    EXPECT_EQ(log, "+A-A+B-B");
    log.clear();
    host.HandleMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(15, 5));
    host.HandleMessage(WM_LBUTTONUP, 0, At(16, 6));
    EXPECT_EQ(log, "+BvB5,5!B");
    log.clear();
    // Released outside: no click; the press keeps the button until release.
    host.HandleMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(15, 5));
    host.HandleMessage(WM_MOUSEMOVE, MK_LBUTTON, At(100, 100));
    host.HandleMessage(WM_LBUTTONUP, 0, At(100, 100));
    EXPECT_EQ(log, "vB5,5-B");
    log.clear();
    // A disabled button takes no clicks.
    b.SetEnabled(false);
    host.HandleMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(25, 5));
    host.HandleMessage(WM_LBUTTONUP, 0, At(25, 5));
    EXPECT_EQ(log, "");
    host.HandleMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    host.HandleMessage(WM_LBUTTONUP, 0, At(5, 5));
    host.HandleMessage(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(log, "+AvA5,5!A-A");
}

TEST(ImageButton, PaintsThePictureWhereItBelongs) {
    TImageButton b("FindBtn");
    SetButtonPicture(b, false, false, false, false);
    const SkinPicture& pic = b.Picture();
    SkinPicture canvas = SkinPicture::Blank(100, 100);
    win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    HGDIOBJ old = SelectObject(dc.get(), canvas.Handle());
    b.SetBounds(10, 10, 60, 60);
    b.Center = true;
    b.Paint(dc.get());
    GdiFlush();
    const int ox = 10 + (60 - 36) / 2, oy = 10 + (60 - 36) / 2;
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 36; ++x) ASSERT_EQ(canvas.PixelAt(ox + x, oy + y), pic.PixelAt(x, y));
    EXPECT_EQ(canvas.PixelAt(ox - 1, oy), 0xFFFFFFu);
    // Stretched to the bounds; nothing outside them.
    b.Center = false;
    b.Stretch = true;
    b.SetBounds(0, 0, 72, 72);
    b.Paint(dc.get());
    GdiFlush();
    EXPECT_EQ(canvas.PixelAt(71, 71), pic.PixelAt(35, 35));
    EXPECT_EQ(canvas.PixelAt(80, 80), 0xFFFFFFu);
    SelectObject(dc.get(), old);
}

TEST(ToolTips, ShowsWithoutActivationAndHidesAfterThePause) {
    TToolTipsWindow tip;
    ASSERT_TRUE(tip.CreateTip(nullptr));
    EXPECT_FALSE(IsWindowEnabled(tip.hwnd()));
    EXPECT_TRUE(GetWindowLongW(tip.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(tip.ClientWidth(), 116);
    EXPECT_EQ(tip.ClientHeight(), 15);
    tip.SetClientSize(200, 17);
    RECT cr;
    GetClientRect(tip.hwnd(), &cr);
    EXPECT_EQ(cr.right, 200);
    EXPECT_EQ(cr.bottom, 17);
    TextOutW(tip.Canvas(), 2, 1, L"Кино — Группа крови", 19);
    HWND before = GetActiveWindow();
    tip.SetHidePause(150);
    tip.ShowAt(100, 100);
    EXPECT_TRUE(IsWindowVisible(tip.hwnd()));
    EXPECT_EQ(GetActiveWindow(), before);
    const DWORD start = GetTickCount();
    MSG m;
    while (IsWindowVisible(tip.hwnd()) && GetTickCount() - start < 3000) {
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        Sleep(10);
    }
    EXPECT_FALSE(IsWindowVisible(tip.hwnd()));
    EXPECT_GE(GetTickCount() - start, 100u);
}

}  // namespace

namespace {

HWND TipWindowOf(HWND owner) {
    HWND found = nullptr;
    for (HWND w = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); w;
         w = FindWindowExW(nullptr, w, TOOLTIPS_CLASSW, nullptr))
        if (GetWindow(w, GW_OWNER) == owner) found = w;
    return found;
}

std::wstring TipText(HWND tips, HWND owner, const TImageButton& b) {
    wchar_t text[128] = {};
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = owner;
    ti.uId = reinterpret_cast<UINT_PTR>(&b);
    ti.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&ti));
    return text;
}

}  // namespace

// A hint becomes a tool of the host's tip window and follows the button:
// new text, new bounds, hidden and shown again, removed with the button.
TEST(ImageButton, HintsFollowTheButtonInTheTipWindow) {
    struct Destroy {
        void operator()(HWND w) const { DestroyWindow(w); }
    };
    std::unique_ptr<std::remove_pointer_t<HWND>, Destroy> owner(CreateWindowExW(
        0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(owner);
    ImageButtonHost host(owner.get());
    TImageButton plain("FindBtn"), hinted("PlayAllBtn");
    host.Add(plain);
    EXPECT_EQ(TipWindowOf(owner.get()), nullptr);  // no hint yet: no tip window
    hinted.SetBounds(10, 10, 36, 36);
    hinted.SetHint(u"Играть все (CTRL+1)");
    host.Add(hinted);
    HWND tips = TipWindowOf(owner.get());
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(TipText(tips, owner.get(), hinted), L"Играть все (CTRL+1)");

    hinted.SetHint(u"Play all");
    hinted.SetBounds(50, 20, 36, 36);
    EXPECT_EQ(TipText(tips, owner.get(), hinted), L"Play all");
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = owner.get();
    ti.uId = reinterpret_cast<UINT_PTR>(&hinted);
    ASSERT_TRUE(SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(ti.rect.left, 50);
    EXPECT_EQ(ti.rect.bottom, 56);

    hinted.SetVisible(false);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 0);
    hinted.SetVisible(true);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1);
    hinted.SetHint(u"");
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 0);
    hinted.SetHint(u"again");
    host.Remove(hinted);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 0);
}

}  // namespace qlm
