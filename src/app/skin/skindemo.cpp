// skindemo: the skin on one window, for people and screenshots. It shows the
// page buttons, the top bar, a specimen of both bitmap fonts and the player
// panel in each of the three colour schemes, and on request a message box.
//
//   skindemo.exe [--eng] [--box K] [--exit-after MS]
//     --eng         pictures of a language file ("ENG") instead of the built-in ones
//     --box K       after showing: a message box with icon kind K (0..3), or the
//                   modeless loading box (4)
//     --exit-after  close by itself after MS milliseconds (for screenshots)
// Keys: 0..3 show a box of that kind, 4 the loading box, Esc closes.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "app/colour_scheme.h"
#include "app/image_button.h"
#include "app/message_box.h"
#include "app/skin/skin_table.h"
#include "app/skin_scheme.h"
#include "base/text_codec.h"
#include "playback/bitmap_font.h"
#include "win/handles.h"
#include "win/window.h"

namespace qlm {
namespace {

constexpr UINT kShowBox = WM_APP + 1;
constexpr UINT_PTR kExitTimer = 7;
constexpr int kLeft = 104, kTop = 40, kSpecimenHeight = 400, kPanelHeight = 110;
constexpr int kClientWidth = 900, kClientHeight = kTop + kSpecimenHeight + 3 * kPanelHeight;

COLORREF Ref(skin::Colour c) { return RGB(c.r, c.g, c.b); }

struct PlayerRow {
    int scheme;
    int top;
    std::unique_ptr<TImageButton> logo, left, center, right, icons;
    std::vector<std::unique_ptr<TImageButton>> buttons;
};

class DemoWindow : public win::Window {
public:
    DemoWindow(bool english, int box, int exitAfter) : english_(english), box_(box), exitAfter_(exitAfter) {}

    bool Open() {
        RegisterWindowClass(L"QlmSkinDemo", CS_HREDRAW | CS_VREDRAW, nullptr);
        RECT r{0, 0, kClientWidth, kClientHeight};
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
        AdjustWindowRect(&r, style, FALSE);
        win::CreateParams p;
        p.className = L"QlmSkinDemo";
        p.title = L"QLM Musical Player — skin";
        p.style = style;
        p.x = 20;
        p.y = 20;
        p.width = r.right - r.left;
        p.height = r.bottom - r.top;
        return Create(p);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (host_.HandleMessage(msg, wParam, lParam)) return 0;
        switch (msg) {
            case WM_CREATE:
                FormCreate();
                return 0;
            case WM_PAINT:
                FormPaint();
                return 0;
            case WM_ERASEBKGND:
                return 1;
            case WM_KEYDOWN:
                if (wParam >= '0' && wParam <= '4') ShowBox(static_cast<int>(wParam - '0'));
                if (wParam == VK_ESCAPE) DestroyWindow(hwnd());
                return 0;
            case kShowBox:
                ShowBox(static_cast<int>(wParam));
                return 0;
            case WM_TIMER:
                if (wParam == kExitTimer) DestroyWindow(hwnd());
                return 0;
            case WM_DESTROY:
                FreeMessageForm();
                PostQuitMessage(0);
                return 0;
            default:
                return Default(msg, wParam, lParam);
        }
    }

private:
    TImageButton& Add(std::string name, int x, int y) {
        owned_.push_back(std::make_unique<TImageButton>(std::move(name)));
        TImageButton& b = *owned_.back();
        b.AutoSize = true;
        b.SetBounds(x, y, 0, 0);
        host_.Add(b);
        return b;
    }

    void PageButton(const char* name, int y, bool current) {
        TImageButton& b = Add(name, 0, y);
        b.Tag = current ? 1 : 0;
        SetLanguageButtonPicture(b, !english_, current, true, false);
        b.OnMouseEnter = [this](TImageButton& s) { SetLanguageButtonPicture(s, !english_, s.Tag, true, true); };
        b.OnMouseLeave = [this](TImageButton& s) { SetLanguageButtonPicture(s, !english_, s.Tag, true, false); };
        b.OnClick = [this](TImageButton& s) {
            for (auto* p : pages_) {
                p->Tag = p == &s;
                SetLanguageButtonPicture(*p, !english_, p->Tag, true, p == &s);
            }
        };
        pages_.push_back(&b);
    }

    void TopButton(const char* name, int index, bool selected, bool passive) {
        TImageButton& b = Add(name, skin::spot::kTopButtonFirst.x + index * skin::spot::kTopButtonPitch.x,
                              skin::spot::kTopButtonFirst.y);
        b.Tag = selected;
        SetButtonPicture(b, false, selected, true, passive);
        b.OnMouseEnter = [](TImageButton& s) { SetButtonPicture(s, false, true, s.Tag != 0, false); };
        b.OnMouseLeave = [](TImageButton& s) { SetButtonPicture(s, false, s.Tag != 0, true, false); };
        b.OnMouseDown = [](TImageButton& s, MouseButton, int, int) { SetButtonPicture(s, true, s.Tag != 0, true, false); };
        b.OnMouseUp = [](TImageButton& s, MouseButton, int, int) { SetButtonPicture(s, false, true, s.Tag != 0, false); };
    }

    void FormCreate() {
        host_.SetParent(hwnd());
        textFont_ = CreateTextFont();
        digitsFont_ = CreateDigitsFont();

        // Left column: page buttons in 57-pixel panels, the banners at the bottom.
        PageButton("ListBtn", kTop, true);
        PageButton("SlideBtn", kTop + 57, false);
        PageButton("InfoBtn", kTop + 114, false);
        TImageButton& arrow = Add("ArrowBtn", 84, kTop + 114);
        SetButtonPicture(arrow, false, false, false, false);
        PageButton("AnonsBtn", kTop + 171, false);
        PageButton("HelpBtn", kTop + 228, false);
        PageButton("TextBtn", kTop + 285, false);
        LoadImagePicture(Add("ImageBuner1", 0, kTop + 6 * 57 + 4));
        // Top bar.
        LoadImagePicture(Add("TLElt", 0, 0), "TLElt0");
        TopButton("PlayAllBtn", 0, true, false);
        TopButton("PlayCheckedBtn", 1, false, true);
        TopButton("PlayFavoritBtn", 2, false, false);
        TopButton("ExpTreeBtn", 3, false, false);
        TopButton("FindBtn", 4, false, false);
        TImageButton& demo = Add("DemoBtn", skin::spot::kTopButtonFirst.x + 5 * 38 + 12, skin::spot::kTopButtonFirst.y);
        demo.ResouceName = "PlayDemo";
        SetButtonPicture(demo, false, false, false, false);
        TImageButton& cap = Add("ListCap", kClientWidth - 200, 0);
        SetLanguageButtonPicture(cap, !english_, false, false, false);

        // One player panel per scheme.
        for (int s = 0; s < 3; ++s) {
            PlayerRow row;
            row.scheme = s;
            row.top = kTop + kSpecimenHeight + s * kPanelHeight;
            row.logo = std::make_unique<TImageButton>("LDLogo");
            row.logo->AutoSize = true;
            row.logo->SetBounds(0, row.top, 0, 0);
            LoadImagePicture(*row.logo, "LDLogo" + std::to_string(s));
            const int px = kLeft, pw = kClientWidth - kLeft;
            row.left = std::make_unique<TImageButton>("PlayerLeftImage");
            row.center = std::make_unique<TImageButton>("PlayerCenterImage");
            row.right = std::make_unique<TImageButton>("PlayerRightImage");
            row.icons = std::make_unique<TImageButton>("PlIconStr");
            for (TImageButton* i : {row.left.get(), row.center.get(), row.right.get()}) LoadImagePicture(*i);
            row.left->SetBounds(px, row.top, 38, kPanelHeight);
            row.right->SetBounds(px + pw - 160, row.top, 160, kPanelHeight);
            row.center->Stretch = true;
            row.center->SetBounds(px + 38, row.top, pw - 38 - 160, kPanelHeight);
            row.icons->AutoSize = true;
            row.icons->SetBounds(px + 16, row.top + 15, 0, 0);
            LoadImagePicture(*row.icons, "PlIconStr" + std::to_string(s));
            // Each row shows its own scheme: swap from scheme 0 straight away.
            SwapSchemeColour(row.left->Picture().Block(), PanelPart::Left, kColourSchemes[0], kColourSchemes[s]);
            SwapSchemeColour(row.right->Picture().Block(), PanelPart::Right, kColourSchemes[0], kColourSchemes[s]);
            SwapSchemeColour(row.center->Picture().Block(), PanelPart::Center, kColourSchemes[0], kColourSchemes[s]);
            for (TImageButton* i : {row.logo.get(), row.left.get(), row.center.get(), row.right.get(), row.icons.get()})
                host_.Add(*i);
            const int rx = px + pw - 160;
            struct B {
                const char* name;
                const char* res;
                skin::Spot spot;
            };
            const B buttons[] = {{"PlSongPrevBtn", "", skin::spot::kPlSongPrevBtn},
                                 {"PlSongPlayBtn", s == 1 ? "PauseBtn" : "PlayBtn", skin::spot::kPlSongPlayBtn},
                                 {"PlSongStopBtn", "", skin::spot::kPlSongStopBtn},
                                 {"PlSongNextBtn", "", skin::spot::kPlSongNextBtn},
                                 {"PlVolumeDecBtn", "", skin::spot::kPlVolumeDecBtn},
                                 {"PlVolumeIncBtn", "", skin::spot::kPlVolumeIncBtn},
                                 {"PlEqualizerBtn", "", skin::spot::kPlEqualizerBtn},
                                 {"PlPlayListBtn", "", skin::spot::kPlPlayListBtn},
                                 {"PlChangeColorBtn", "", skin::spot::kPlChangeColorBtn}};
            for (const B& b : buttons) {
                auto btn = std::make_unique<TImageButton>(b.name);
                btn->ResouceName = b.res;
                btn->AutoSize = true;
                btn->SetBounds(rx + b.spot.x, row.top + b.spot.y, 0, 0);
                const bool passive = std::string(b.name) == "PlEqualizerBtn" || std::string(b.name) == "PlPlayListBtn";
                SetButtonPicture(*btn, false, false, false, passive);
                btn->OnMouseEnter = [](TImageButton& t) { SetButtonPicture(t, false, true, false, false); };
                btn->OnMouseLeave = [](TImageButton& t) { SetButtonPicture(t, false, false, false, false); };
                btn->OnMouseDown = [](TImageButton& t, MouseButton, int, int) { SetButtonPicture(t, true, false, false, false); };
                btn->OnMouseUp = [](TImageButton& t, MouseButton, int, int) { SetButtonPicture(t, false, true, false, false); };
                host_.Add(*btn);
                row.buttons.push_back(std::move(btn));
            }
            auto slider = std::make_unique<TImageButton>("SliderBtn");
            slider->AutoSize = true;
            slider->SetBounds(px + 38 + (pw - 38 - 160) * (s + 1) / 4 - 11, row.top + skin::spot::kSliderBtnTop.y, 0, 0);
            SetButtonPicture(*slider, false, false, false, false);
            host_.Add(*slider);
            row.buttons.push_back(std::move(slider));
            rows_.push_back(std::move(row));
        }
        if (box_ >= 0) PostMessageW(hwnd(), kShowBox, static_cast<WPARAM>(box_), 0);
        if (exitAfter_ > 0) SetTimer(hwnd(), kExitTimer, static_cast<UINT>(exitAfter_), nullptr);
    }

    void ShowBox(int kind) {
        switch (kind) {
            case 0:
                ShowMessageBox(u"Музыкальный диск не наден!", u"Ошибка", 0, 0, u"Повтор\rОбзор\r&Отмена",
                               std::string("\x05\x09\x02", 3));
                break;
            case 1:
                ShowMessageBox(u"Далее вы будете работать только с Winamp!", u"Предупреждение", 1, 0, u"Да\rНет",
                               "\x03\x04");
                break;
            case 2:
                ShowMessageBox(u"Вы действительно хотите очистить \"Мои любимые\"?", u"Удаление", 2, 0, u"Да\rНет",
                               "\x03\x04");
                break;
            case 3:
                ShowMessageBox(u"Файл помощи не найден! Рекомендуется переустановить QLM Musical Player",
                               u"QLM Musical Player", 3, 0, u"OK", "\x06");
                break;
            default:
                ShowMessageBox(u"Подождите пожалуйста. Идёт загрузка QLM Musical Player ...", u"QLM Musical Player", 3,
                               kMessageNoEscape, u"", "");
                break;
        }
    }

    // 8-bit text in the given code page's character set, from UTF-8 source text.
    bool DrawBytes(HDC dc, const char* utf8, uint8_t charset, COLORREF colour, int x, int y, bool underline = false) {
        textFont_->SetCharset(charset);
        const std::string bytes = EncodeFromUtf8(utf8, charset);
        return textFont_->Draw(bytes, dc, underline, colour, y, x);
    }

    void PaintSpecimen(HDC dc) {
        const RECT area{kLeft, kTop, kClientWidth, kTop + kSpecimenHeight};
        win::UniqueBrush white(CreateSolidBrush(RGB(255, 255, 255)));
        FillRect(dc, &area, white.get());
        if (!textFont_ || !digitsFont_) return;
        int x = kLeft + 10, y = kTop + 6;
        DrawBytes(dc, "Съешь же ещё этих мягких французских булок, да выпей чаю! Ёлка, Ўладзімір, Єва, Іван",
                  204, 0, x, y);
        DrawBytes(dc, "The quick brown fox jumps over the lazy dog. 0123456789 (VBR) 192 kbps", 204, 0, x, y += 19);
        DrawBytes(dc, "Western: Ærøskøbing, Ça va? Œuvre, naïve café, Müller — Ÿ ¿ © ® ° ±", 0, 0, x, y += 19);
        DrawBytes(dc, "Central European: Řeka, Šárka, řeč", 238, 0, x, y += 19);
        textFont_->Draw(std::u16string_view(u"UTF-16: Ёжик в тумане — Naïve «café» №5 … €10 ™ Øresund Œ Ř Š"), dc,
                        false, 0, y += 19, x);
        DrawBytes(dc, "Подчёркнутая ссылка (underline)", 204, RGB(0, 0, 220), x, y += 19, true);
        int cx = x + textFont_->TextWidth(std::string_view(EncodeFromUtf8("Подчёркнутая ссылка (underline)", 204))) + 20;
        DrawBytes(dc, "Красный", 204, RGB(200, 0, 0), cx, y);
        cx += textFont_->TextWidth(std::string_view(EncodeFromUtf8("Красный", 204))) + 14;
        DrawBytes(dc, "Серый комментарий", 204, RGB(77, 77, 77), cx, y);
        // White text on a dark strip, and the digits font.
        const RECT dark{kLeft + 6, y + 22, kClientWidth - 6, y + 22 + 24};
        win::UniqueBrush darkBrush(CreateSolidBrush(Ref(skin::colour::kTopBar)));
        FillRect(dc, &dark, darkBrush.get());
        DrawBytes(dc, "Белый текст на тёмном фоне — White text on dark", 204, RGB(255, 255, 255), x, y + 25);
        y += 52;
        digitsFont_->Draw(std::string_view("0123456789:-+"), dc, false, 0, y, x);
        digitsFont_->Draw(std::string_view("1:02:05"), dc, false, RGB(0, 0, 220), y, x + 160);
        digitsFont_->Draw(std::string_view("-3:45"), dc, false, RGB(200, 0, 0), y, x + 250);
        textFont_->SetCharset(204);
    }

    void PaintPlayerText(HDC dc, const PlayerRow& row) {
        if (!textFont_ || !digitsFont_) return;
        const int px = kLeft, top = row.top;
        static const char* titles[] = {"Кино — Группа крови", "Queen — Bohemian Rhapsody",
                                       "Аквариум — Город золотой"};
        static const char* comments[] = {"Альбом «Группа крови», 1988", "A Night at the Opera, 1975",
                                         "Любимые песни, 1987"};
        static const char* times[] = {"4:46", "5:55", "1:02:05"};
        static const char* elapsed[] = {"1:23", "3:07", "12:40"};
        static const char* rates[] = {"192", "320", "128"};
        static const char* modes[] = {"Joint Stereo", "Stereo", "Mono"};
        DrawBytes(dc, titles[row.scheme], 204, 0, px + 30, top + 10);
        DrawBytes(dc, comments[row.scheme], 204, RGB(77, 77, 77), px + 30, top + 26);
        DrawBytes(dc, "MP3", 204, 0, px + 16, top + 41);
        DrawBytes(dc, modes[row.scheme], 204, 0, px + 79, top + 41);
        digitsFont_->Draw(std::string_view(times[row.scheme]), dc, false, 0, top + 60, px + 16);
        DrawBytes(dc, elapsed[row.scheme], 204, 0, px + 93, top + 61);
        digitsFont_->Draw(std::string_view(rates[row.scheme]), dc, false, 0, top + 60, px + 146);
        DrawBytes(dc, "kbps", 204, 0, px + 179, top + 61);
        if (row.scheme == 1) DrawBytes(dc, "(VBR)", 204, 0, px + 208, top + 61);
        // progress bar up to the slider
        const auto& slider = *row.buttons.back();
        const RECT bar{px + skin::spot::kProgressBar.x, top + skin::spot::kProgressBar.y,
                       slider.Left() + slider.Width() / 2, top + skin::spot::kProgressBar.y + 2};
        const auto c = kColourSchemes[static_cast<size_t>(row.scheme)];
        win::UniqueBrush b(CreateSolidBrush(RGB(c.r, c.g, c.b)));
        FillRect(dc, &bar, b.get());
    }

    void FormPaint() {
        win::PaintScope ps(hwnd());
        RECT client;
        GetClientRect(hwnd(), &client);
        // Paint off screen, then copy: windowless buttons never flicker.
        win::UniqueMemoryDc mem(CreateCompatibleDC(ps.dc()));
        win::UniqueBitmap buffer(CreateCompatibleBitmap(ps.dc(), client.right, client.bottom));
        win::SelectScope sel(mem.get(), buffer.get());
        HDC dc = mem.get();
        win::UniqueBrush column(CreateSolidBrush(Ref(skin::colour::kLeftColumn)));
        FillRect(dc, &client, column.get());
        // top bar background: TOPWALL stretched
        static SkinPicture topWall = LoadSkinPicture(std::string_view("TOPWALL"));
        if (!topWall.Empty()) {
            win::UniqueMemoryDc src(CreateCompatibleDC(dc));
            win::SelectScope s(src.get(), topWall.Handle());
            StretchBlt(dc, kLeft, 0, client.right - kLeft, kTop, src.get(), 0, 0, topWall.Width(), topWall.Height(),
                       SRCCOPY);
        }
        PaintSpecimen(dc);
        host_.Paint(dc, client);
        for (const auto& row : rows_) PaintPlayerText(dc, row);
        BitBlt(ps.dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    }

    bool english_;
    int box_;
    int exitAfter_;
    ImageButtonHost host_;
    std::vector<std::unique_ptr<TImageButton>> owned_;
    std::vector<TImageButton*> pages_;
    std::vector<PlayerRow> rows_;
    std::unique_ptr<TMyFontClass> textFont_, digitsFont_;
};

}  // namespace
}  // namespace qlm

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    bool english = false;
    int box = -1, exitAfter = 0;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"--eng") english = true;
        if (a == L"--box" && i + 1 < argc) box = _wtoi(argv[++i]);
        if (a == L"--exit-after" && i + 1 < argc) exitAfter = _wtoi(argv[++i]);
    }
    LocalFree(argv);
    qlm::DemoWindow w(english, box, exitAfter);
    if (!w.Open()) return 1;
    ShowWindow(w.hwnd(), SW_SHOW);
    UpdateWindow(w.hwnd());
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
