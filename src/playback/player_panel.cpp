#include "playback/player_panel.h"

#include <algorithm>

#include "app/colour_scheme.h"
#include "app/picture_names.h"
#include "app/skin/skin_table.h"
#include "base/text_codec.h"
#include "content/mpeg_audio.h"
#include "content/song_comment.h"
#include "content/text_case.h"
#include "playback/winamp_control.h"

namespace qlm {

namespace {

constexpr int kLineHeight = 19;
constexpr COLORREF kCommentColour = RGB(77, 77, 77);

struct Place {
    const char* name;
    int left, top, width, height;
};
// Fixed elements inside the panel.
constexpr Place kFields[] = {
    {"PlIconStr", 16, 15, 13, 25},       {"mpeg3label", 16, 41, 32, 17},    {"StereoModeImage", 79, 41, 96, 17},
    {"TotalTimeLabel", 16, 60, 70, 20},  {"CurTimeLabel", 93, 61, 41, 16},  {"BitRateImage", 146, 60, 34, 20},
    {"KbpsImage", 179, 61, 30, 16},      {"VBRExistsImage", 208, 61, 34, 16},
};

std::u16string Upper(std::u16string s) {
    for (auto& c : s) c = UpperChar(c);
    return s;
}

}  // namespace

TPlayerPanel::TPlayerPanel(PlayState& state, TMultiPlayers& players, const Catalogue& catalogue,
                           TPlayCommands& commands, PanelSources sources)
    : state_(state), players_(players), catalogue_(catalogue), commands_(commands), sources_(std::move(sources)) {
    title_.colour = 0;
    comment_.colour = kCommentColour;
}

TPlayerPanel::~TPlayerPanel() {
    if (host_)
        for (auto& e : elements_) host_->Remove(*e);
}

COLORREF TPlayerPanel::SchemeColour() const { return kColourSchemes[static_cast<size_t>(scheme_)].ColorRef(); }

TImageButton& TPlayerPanel::Add(const std::string& name) {
    elements_.push_back(std::make_unique<TImageButton>(name));
    TImageButton& e = *elements_.back();
    if (host_) host_->Add(e);
    return e;
}

TImageButton* TPlayerPanel::Element(std::string_view name) const {
    for (const auto& e : elements_)
        if (e->Name() == name) return e.get();
    return nullptr;
}

// A push button: up, hover ("S") and down pictures, drawn pressed while the mouse is down.
TImageButton& TPlayerPanel::AddButton(const std::string& name, std::function<void()> click) {
    TImageButton& b = Add(name);
    SetButtonPicture(b, false, false, false, false);
    b.OnMouseEnter = [](TImageButton& me) { SetButtonPicture(me, false, !me.Pressed(), false, false); };
    b.OnMouseLeave = [](TImageButton& me) { SetButtonPicture(me, me.Pressed(), false, false, false); };
    b.OnMouseDown = [](TImageButton& me, MouseButton with, int, int) {
        if (with == MouseButton::Left) SetButtonPicture(me, true, false, false, false);
    };
    b.OnMouseUp = [](TImageButton& me, MouseButton, int, int) {
        SetButtonPicture(me, false, me.Hovered(), false, false);
    };
    if (click) b.OnClick = [click](TImageButton&) { click(); };
    return b;
}

void TPlayerPanel::Create(ImageButtonHost& host, TMyFontClass* textFont, TMyFontClass* digitsFont) {
    host_ = &host;
    textFont_ = textFont;
    digitsFont_ = digitsFont;
    title_.image = &Add("Image3");
    comment_.image = &Add("CommentImage");
    for (const Place& p : kFields) Add(p.name);
    icon_ = Element("PlIconStr");
    icon_->LoadPicture(SchemePictureName("PlIconStr", scheme_));
    icon_->OnMouseDown = [this](TImageButton&, MouseButton, int, int y) { IconDown(y); };
    icon_->OnMouseUp = [this](TImageButton&, MouseButton, int x, int y) { IconUp(x, y); };
    mp3_ = Element("mpeg3label");
    stereo_ = Element("StereoModeImage");
    total_ = Element("TotalTimeLabel");
    current_ = Element("CurTimeLabel");
    bitRate_ = Element("BitRateImage");
    kbps_ = Element("KbpsImage");
    vbr_ = Element("VBRExistsImage");
    progress_ = &Add("SliderProgressPanel");
    sliderBtn_ = &Add("SliderBtn");
    SetButtonPicture(*sliderBtn_, false, false, false, false);
    sliderBtn_->OnMouseDown = [this](TImageButton&, MouseButton with, int x, int) {
        if (with == MouseButton::Left) SliderDown(x);
    };
    sliderBtn_->OnMouseMove = [this](TImageButton&, int x, int) { SliderMove(x); };
    sliderBtn_->OnMouseUp = [this](TImageButton&, MouseButton, int, int) { SliderUp(); };
    streamFields_ = {mp3_, total_, current_, stereo_, kbps_, bitRate_, sliderBtn_, progress_, vbr_};

    AddButton("PlSongPrevBtn", [this] { commands_.PreviousButton(); });
    playBtn_ = &AddButton("PlSongPlayBtn", [this] { commands_.PlayButton(); });
    playBtn_->ResouceName = "PlayBtn";
    SetButtonPicture(*playBtn_, false, false, false, false);
    AddButton("PlSongStopBtn", [this] { commands_.StopButton(); });
    AddButton("PlSongNextBtn", [this] { commands_.NextButton(); });
    // Volume: a click gives two steps, holding the button four more every Timer1 tick.
    volUp_ = &AddButton("PlVolumeIncBtn", [this] {
        for (int i = 0; i < kVolumeStepsPerClick; ++i) players_.VolumeUp();
    });
    volDown_ = &AddButton("PlVolumeDecBtn", [this] {
        for (int i = 0; i < kVolumeStepsPerClick; ++i) players_.VolumeDown();
    });
    for (const char* off : {"PlEqualizerBtn", "PlPlayListBtn"}) SetButtonPicture(Add(off), false, false, false, true);
    AddButton("PlChangeColorBtn", [this] { ChangeColour(); });
    ShowStreamInfo(false, 0);
}

void TPlayerPanel::Layout(const RECT& panel, int travel) {
    panel_ = panel;
    slider_.travel = std::max(0, travel);
    slider_.buttonWidth = sliderBtn_ ? std::max(1, sliderBtn_->Picture().Width()) : 22;
    const int x = panel.left, y = panel.top;
    const int lineWidth = slider_.travel + 26;
    for (TextLine* l : {&title_, &comment_}) {
        if (!l->image) continue;
        l->line.lineWidth = lineWidth;
        l->image->SetBounds(x + 30, y + (l == &title_ ? 10 : 26), lineWidth, kLineHeight);
        DrawStrip(*l);
    }
    for (const Place& p : kFields)
        if (TImageButton* e = Element(p.name)) e->SetBounds(x + p.left, y + p.top, p.width, p.height);
    const int right = panel.right - 160;  // PlayerRightImage
    struct Spot {
        const char* name;
        skin::Spot at;
    };
    const Spot spots[] = {{"PlSongPrevBtn", skin::spot::kPlSongPrevBtn},   {"PlSongPlayBtn", skin::spot::kPlSongPlayBtn},
                          {"PlSongStopBtn", skin::spot::kPlSongStopBtn},   {"PlSongNextBtn", skin::spot::kPlSongNextBtn},
                          {"PlVolumeDecBtn", skin::spot::kPlVolumeDecBtn}, {"PlVolumeIncBtn", skin::spot::kPlVolumeIncBtn},
                          {"PlEqualizerBtn", skin::spot::kPlEqualizerBtn}, {"PlPlayListBtn", skin::spot::kPlPlayListBtn},
                          {"PlChangeColorBtn", skin::spot::kPlChangeColorBtn}};
    for (const Spot& s : spots)
        if (TImageButton* b = Element(s.name))
            b->SetBounds(right + s.at.x, y + s.at.y, std::max(1, b->Picture().Width()), std::max(1, b->Picture().Height()));
    PlaceSlider(duration_, 0);
    if (host_ && host_->Parent()) InvalidateRect(host_->Parent(), &panel, FALSE);
}

// ---- Timer1

void TPlayerPanel::CheckWinampWindow() {
    winampWindow_ = sources_.winampWindowExists ? sources_.winampWindowExists()
                                                : FindWindowA(kWinampWindowClass, nullptr) != nullptr;
    if (!winampWindow_ && players_.CurrentId() == kWinampPlayerId) state_.UserStopped = true;
}

void TPlayerPanel::Timer1Tick() {
    const int32_t s = players_.GetState();
    SetPlaying(s == kPlayerPlaying);
    if (s == kPlayerPlaying) {
        if (refresh_ >= 2) {
            refresh_ = 0;
            LookUpCurrentSong();
        } else {
            ++refresh_;
        }
        int32_t p = players_.GetPosition();
        state_.UserStopped = false;
        if (state_.DemoMode && p > static_cast<int32_t>(kDemoLengthMs)) {
            players_.NextTrack();
            Sleep(20);
            p = players_.GetPosition();
            if (p > static_cast<int32_t>(kDemoLengthMs)) {
                players_.Stop();
                state_.UserStopped = true;
            }
            RequestLookup();
        }
        ShowStreamInfo(true, p / 1000);
    } else if (s != kPlayerPaused) {
        try {
            SongEnded();
        } catch (...) {
        }
    }
    // Held volume buttons; up wins over down.
    if (volUp_ && volUp_->Pressed() && volUp_->Hovered()) {
        for (int i = 0; i < kVolumeStepsPerTick; ++i) players_.VolumeUp();
    } else if (volDown_ && volDown_->Pressed() && volDown_->Hovered()) {
        for (int i = 0; i < kVolumeStepsPerTick; ++i) players_.VolumeDown();
    }
}

void TPlayerPanel::SongEnded() {
    if (commands_.AdvanceAtEnd()) return;
    ShowStreamInfo(false, 0);
    if (state_.PlayingNode || state_.PlayingFavorite >= 0) {
        state_.PlayingNode = nullptr;
        state_.PlayingFavorite = -1;
        if (sources_.repaintList) {
            sources_.repaintList(PlayList::Tree);
            sources_.repaintList(PlayList::Favorites);
        }
        ClearLines();
    }
}

void TPlayerPanel::LookUpCurrentSong() {
    std::u16string file;
    players_.GetCurrentFile(file);
    const std::u16string upper = Upper(file);
    if (state_.ActiveList == ActiveListKind::Tree) {
        if (state_.PlayingNode && Upper(catalogue_.SongFile(*state_.PlayingNode)) == upper) return;
        const TRDataNode* node = file.empty() ? nullptr : catalogue_.FindSongByPath(file);
        const bool lost = state_.PlayingNode && !node;
        state_.PlayingNode = node;
        if (node || lost) ShowPlayingNode(node);
        return;
    }
    // The favourites list.
    const int count = sources_.favoritesCount ? sources_.favoritesCount() : 0;
    auto fullName = [&](int i) { return FavoriteFileName(catalogue_.root, sources_.favoritePath(i)); };
    const bool search = state_.PlayingFavorite < 0 ||
                        (count > 0 && (state_.PlayingFavorite >= count || Upper(fullName(state_.PlayingFavorite)) != upper));
    if (!search) return;
    state_.PlayingFavorite = -1;
    for (int i = 0; i < count; ++i)
        if (Upper(fullName(i)) == upper) {
            state_.PlayingFavorite = i;
            break;
        }
    if (sources_.repaintList) sources_.repaintList(PlayList::Favorites);
    if (state_.PlayingFavorite < 0) {
        ShowTitle(u"", false);
        return;
    }
    const TRDataNode* node = catalogue_.FindSongByPath(fullName(state_.PlayingFavorite));
    if (node && node->HasWideNames())
        ShowTitle(catalogue_.NodeDisplayText(*node, false, false), true);
    else
        ShowTitle(sources_.favoriteCaption ? sources_.favoriteCaption(state_.PlayingFavorite) : u"", false);
    title_.line.scrolling = true;
    ShowComment(node ? DecodeText(SongComment(catalogue_.SongFile(*node), {catalogue_.settings.DualLanguageNames,
                                                                           catalogue_.secondLanguageActive}),
                                  node->Charset)
                     : u"");
    ReadStreamInfo(node);
}

void TPlayerPanel::RefreshTitle() {
    const TRDataNode* node = state_.PlayingNode;
    if (!node) return;
    if (textFont_) textFont_->SetCharset(catalogue_.NameCharset());
    ShowTitle(catalogue_.NodeDisplayText(*node, false, false), node->HasWideNames());
    title_.line.scrolling = true;
}

void TPlayerPanel::ShowPlayingNode(const TRDataNode* node) {
    if (node) {
        if (textFont_) textFont_->SetCharset(catalogue_.NameCharset());
        ShowTitle(catalogue_.NodeDisplayText(*node, false, false), node->HasWideNames());
        title_.line.scrolling = true;
        const std::string comment = SongComment(catalogue_.SongFile(*node),
                                                {catalogue_.settings.DualLanguageNames, catalogue_.secondLanguageActive});
        ShowComment(DecodeText(comment, node->Charset));
    } else {
        ClearLines();
    }
    ReadStreamInfo(node);
    if (sources_.repaintList) sources_.repaintList(PlayList::Tree);
}

void TPlayerPanel::ReadStreamInfo(const TRDataNode* node) {
    displayedFile_.clear();
    duration_ = 0;
    wholeDuration_ = 0;
    if (!node) return;
    const std::u16string file = catalogue_.SongFile(*node);
    TMPEGaudio mpeg;
    if (!mpeg.ReadStream(file) || !mpeg.IsValid()) return;
    displayedFile_ = file;
    duration_ = mpeg.Duration();
    wholeDuration_ = static_cast<int32_t>(duration_ + 0.5);
    bitRate_kbps_ = mpeg.BitRate();
    stereoText_ = std::string(mpeg.ChannelModeText());
    vbr_flag_ = mpeg.IsVBR();
}

// ---- the stream fields

void TPlayerPanel::DrawFieldBytes(TImageButton* field, std::string_view text, TMyFontClass* font, int width,
                                  int height) {
    DrawField(field, DecodeText(text, kCyrillicCharset), font, width, height);
}

void TPlayerPanel::DrawField(TImageButton* field, const std::u16string& text, TMyFontClass* font, int width,
                             int height) {
    if (!field) return;
    SkinPicture pic = SkinPicture::Blank(width, height);
    if (pic.Empty()) return;
    {
        win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        HGDIOBJ old = SelectObject(dc.get(), pic.Handle());
        RECT all{0, 0, width, height};
        win::UniqueBrush bg(CreateSolidBrush(SchemeColour()));
        FillRect(dc.get(), &all, bg.get());
        if (font && !text.empty()) font->Draw(std::u16string_view(text), dc.get(), false, 0, 0, 0);
        SelectObject(dc.get(), old);
    }
    field->SetPicture(std::move(pic));
    field->Invalidate();
}

void TPlayerPanel::ShowStreamInfo(bool visible, int32_t seconds) {
    for (TImageButton* f : streamFields_)
        if (f && f->Visible() != visible) f->SetVisible(visible);
    if (vbr_ && visible && !vbr_flag_) vbr_->SetVisible(false);
    if (!visible) return;
    if (displayedFile_ != drawnFile_) {
        const std::string total = FormatPlayTime(wholeDuration_);
        DrawField(total_, std::u16string(total.begin(), total.end()), digitsFont_, 70, 20);
        DrawFieldBytes(stereo_, stereoText_, textFont_, 96, 17);
        DrawField(kbps_, u"kbps", textFont_, 30, 16);
        const std::string rate = std::to_string(static_cast<uint16_t>(bitRate_kbps_));
        DrawField(bitRate_, std::u16string(rate.begin(), rate.end()), digitsFont_, 34, 20);
        DrawField(vbr_, vbr_flag_ ? u"(VBR)" : u"", textFont_, 34, 16);
        if (vbr_) vbr_->SetVisible(vbr_flag_);
        DrawField(mp3_, u"MP3", textFont_, 32, 17);
        drawnFile_ = displayedFile_;
        shownTime_.clear();
    }
    const std::string now = FormatPlayTime(seconds);
    if (now != shownTime_) {
        DrawField(current_, std::u16string(now.begin(), now.end()), textFont_, 41, 16);
        shownTime_ = now;
    }
    PlaceSlider(duration_, seconds);
}

int TPlayerPanel::SliderLeft() const { return sliderBtn_ ? sliderBtn_->Left() - panel_.left : 0; }

void TPlayerPanel::PlaceSlider(double duration, double position) {
    if (!sliderBtn_ || !progress_) return;
    const int left = SliderButtonLeft(slider_, duration, position);
    const int width = std::max(0, ProgressWidth(slider_, left));
    const RECT& pr = progress_->Bounds();
    if (pr.right - pr.left != width || pr.left != panel_.left + 38) {
        progress_->SetBounds(panel_.left + skin::spot::kProgressBar.x, panel_.top + skin::spot::kProgressBar.y, width, 2);
        if (progress_->Picture().Empty() || progress_->Picture().Width() < 1) ColourProgressBar();
        progress_->Invalidate();
    }
    if (dragging_) return;
    sliderLeftRel_ = left;
    if (sliderBtn_->Left() != panel_.left + left || sliderBtn_->Top() != panel_.top + skin::spot::kSliderBtnTop.y) {
        sliderBtn_->Invalidate();
        sliderBtn_->SetBounds(panel_.left + left, panel_.top + skin::spot::kSliderBtnTop.y, slider_.buttonWidth, 8);
        sliderBtn_->Invalidate();
    }
}

void TPlayerPanel::SliderDown(int x) {
    dragging_ = true;
    grab_ = x;
}

void TPlayerPanel::SliderMove(int x) {
    if (!dragging_) return;
    const int wanted = sliderBtn_->Left() - panel_.left + x - grab_;
    sliderLeftRel_ = ClampSliderLeft(slider_, wanted);
    sliderBtn_->Invalidate();
    sliderBtn_->SetBounds(panel_.left + sliderLeftRel_, sliderBtn_->Top(), slider_.buttonWidth, 8);
    sliderBtn_->Invalidate();
}

void TPlayerPanel::SliderUp() {
    if (!dragging_) return;
    dragging_ = false;
    progress_->SetBounds(progress_->Left(), progress_->Top(), std::max(0, ProgressWidth(slider_, sliderLeftRel_)), 2);
    progress_->Invalidate();
    players_.Seek(SeekTargetMs(slider_, sliderLeftRel_, wholeDuration_));
}

// ---- the text lines

void TPlayerPanel::DrawStrip(TextLine& l) {
    const int width = l.line.StripWidth();
    l.strip = SkinPicture::Blank(std::max(1, width), kLineHeight);
    if (l.strip.Empty()) return;
    win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    HGDIOBJ old = SelectObject(dc.get(), l.strip.Handle());
    RECT all{0, 0, width, kLineHeight};
    win::UniqueBrush bg(CreateSolidBrush(SchemeColour()));
    FillRect(dc.get(), &all, bg.get());
    if (textFont_ && !l.text.empty()) {
        const uint8_t charset = textFont_->Charset();
        if (&l == &comment_) textFont_->SetCharset(kCyrillicCharset);
        textFont_->Draw(std::u16string_view(l.text), dc.get(), false, l.colour, 0, 0);
        if (l.line.textWidth > l.line.lineWidth)
            textFont_->Draw(std::u16string_view(l.text), dc.get(), false, l.colour, 0, l.line.textWidth + ScrollLine::kGap);
        textFont_->SetCharset(charset);
    }
    SelectObject(dc.get(), old);
    BlitLine(l);
}

void TPlayerPanel::BlitLine(TextLine& l) {
    if (!l.image || l.strip.Empty()) return;
    const int w = std::max(1, l.line.lineWidth);
    SkinPicture pic = SkinPicture::Blank(w, kLineHeight);
    if (pic.Empty()) return;
    {
        win::UniqueMemoryDc src(CreateCompatibleDC(nullptr)), dst(CreateCompatibleDC(nullptr));
        HGDIOBJ os = SelectObject(src.get(), l.strip.Handle());
        HGDIOBJ od = SelectObject(dst.get(), pic.Handle());
        RECT all{0, 0, w, kLineHeight};
        win::UniqueBrush bg(CreateSolidBrush(SchemeColour()));
        FillRect(dst.get(), &all, bg.get());
        BitBlt(dst.get(), 0, 0, std::min(w, l.strip.Width() - l.line.offset), kLineHeight, src.get(), l.line.offset, 0,
               SRCCOPY);
        SelectObject(src.get(), os);
        SelectObject(dst.get(), od);
    }
    l.image->SetPicture(std::move(pic));
    l.image->Invalidate();
}

void TPlayerPanel::ShowTitle(const std::u16string& text, bool wide) {
    auto width = [this](const std::u16string& s) { return textFont_ ? textFont_->TextWidth(std::u16string_view(s)) : 0; };
    title_.text = ShortenForStrip(text, width);
    title_.wide = wide;
    title_.line.SetText(width(title_.text));
    DrawStrip(title_);
}

void TPlayerPanel::ShowComment(const std::u16string& text) {
    auto width = [this](const std::u16string& s) {
        if (!textFont_) return 0;
        const uint8_t charset = textFont_->Charset();
        textFont_->SetCharset(kCyrillicCharset);
        const int w = textFont_->TextWidth(std::u16string_view(s));
        textFont_->SetCharset(charset);
        return w;
    };
    comment_.text = ShortenForStrip(text, width);
    comment_.line.SetText(width(comment_.text));
    comment_.line.scrolling = true;
    DrawStrip(comment_);
}

void TPlayerPanel::ClearLines() {
    ShowTitle(u"", false);
    ShowComment(u"");
}

void TPlayerPanel::Timer2Tick() {
    for (TextLine* l : {&title_, &comment_})
        if (l->line.Tick()) BlitLine(*l);
}

void TPlayerPanel::IconDown(int y) { iconPressY_ = y; }

void TPlayerPanel::IconUp(int x, int y) {
    switch (IconSwitchOf(iconPressY_, x, y)) {
    case IconSwitch::Title:
        title_.line.Toggle();
        BlitLine(title_);
        break;
    case IconSwitch::Comment:
        comment_.line.Toggle();
        BlitLine(comment_);
        break;
    case IconSwitch::None:
        break;
    }
    iconPressY_ = -1;
}

// ---- buttons

void TPlayerPanel::SetPlaying(bool playing) {
    if (!playBtn_ || playing == playing_) return;
    playing_ = playing;
    playBtn_->ResouceName = playing ? "PauseBtn" : "PlayBtn";
    SetButtonPicture(*playBtn_, playBtn_->Pressed(), playBtn_->Hovered() && !playBtn_->Pressed(), false, false);
}

// The bar in the scheme colour: in the groove's own colour it could not be seen.
void TPlayerPanel::ColourProgressBar() {
    if (!progress_) return;
    SkinPicture bar = SkinPicture::Blank(1, 2);
    if (bar.Empty()) return;
    const uint32_t pixel = kColourSchemes[static_cast<size_t>(scheme_)].Pixel();
    for (int i = 0; i < 2; ++i) bar.Pixels()[i] = pixel;
    progress_->SetPicture(std::move(bar));
    progress_->Stretch = true;
    progress_->Invalidate();
}

void TPlayerPanel::SetScheme(int index) {
    scheme_ = NormalSchemeIndex(index);
    ColourProgressBar();
    if (icon_) icon_->LoadPicture(SchemePictureName("PlIconStr", scheme_));
    DrawStrip(title_);
    DrawStrip(comment_);
    drawnFile_ = u"\x1";  // the fields are drawn again on the new background
}

void TPlayerPanel::ChangeColour() {
    const int next = NextSchemeIndex(scheme_);
    ColourSchemeTargets t = sources_.schemeTargets;
    t.plIconStr = icon_;
    t.redrawLines = [this, next] { SetScheme(next); };
    ApplyColourScheme(next, t);
    scheme_ = next;
    if (sources_.schemeChanged) sources_.schemeChanged(next);
}

}  // namespace qlm
