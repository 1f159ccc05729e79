// The main window's side of the slide show, the information, announcement
// and help pages and the help window: their buttons on the top bars, their
// commands, and their life with the disk.
#include <windows.h>

#include <cstring>

#include "app/app_state.h"
#include "win/files.h"
#include "app/main_form.h"
#include "app/main_ui.h"
#include "app/picture_names.h"
#include "app/skin/skin_table.h"
#include "content/catalogue.h"
#include "lang/language.h"
#include "pages/help_form.h"
#include "pages/info_pages.h"
#include "pages/page_entries.h"
#include "pages/slide_show.h"
#include "pages/text_picture.h"

namespace qlm {
namespace {

constexpr int kCornerWidth = 104;  // TLELT, left of every top bar
constexpr int kTopButtonSize = 36;

// A picture file as a bitmap of the skin's kind (the first frame of an animation).
SkinPicture LoadSlidePicture(const std::u16string& path) {
    PictureFrames frames = LoadPictureFrames(path);
    if (frames.empty() || frames[0].width <= 0 || frames[0].height <= 0) return {};
    const PictureFrame& f = frames[0];
    SkinPicture picture = SkinPicture::Blank(f.width, f.height);
    if (picture.Empty() || f.bgra.size() < static_cast<size_t>(f.width) * static_cast<size_t>(f.height)) return {};
    std::memcpy(picture.Pixels(), f.bgra.data(), f.bgra.size() * sizeof(uint32_t));
    return picture;
}

// Up, hover and pressed pictures of a top-bar button.
void AttachButtonPictures(TImageButton& b) {
    SetButtonPicture(b, false, false, false, false);
    b.OnMouseEnter = [](TImageButton& me) {
        if (me.Enabled()) me.LoadPicture(ButtonPictureName(me.PictureBase(), false, true, false, false));
    };
    b.OnMouseLeave = [](TImageButton& me) {
        if (me.Enabled()) me.LoadPicture(ButtonPictureName(me.PictureBase(), false, false, false, false));
    };
}

const char* PaneButton(HtmlPane pane, int which) {
    static const char* names[3][3] = {{"PrevHelpHTMLBtn", "NextHelpHTMLBtn", "ViewToBrowserHelpBtn"},
                                      {"PrevAnonsHTMLBtn", "NextAnonsHTMLBtn", "ViewToBrowserAnonsBtn"},
                                      {"PrevInformHTMLBtn", "NextInformHTMLBtn", "ViewToBrowserInformBtn"}};
    return names[static_cast<int>(pane)][which];
}


}  // namespace

// The buttons of the slide bar and of the three HTML page bars, at the pitch
// the bars were drawn for.
void TMainForm::BuildPagesFrame() {
    auto addButtons = [&](const char* bar, std::initializer_list<std::pair<const char*, const char*>> buttons) {
        int box = layout_.Find(bar);
        int i = 0;
        for (auto [name, picture] : buttons) {
            int x = skin::spot::kTopButtonFirst.x + i++ * skin::spot::kTopButtonPitch.x - kCornerWidth;
            int y = skin::spot::kTopButtonFirst.y;
            TImageButton& b = AddImage(name, layout_.Add(box, name, Align::None, 0,
                                                         {x, y, x + kTopButtonSize, y + kTopButtonSize}));
            b.ResouceName = picture;
            AttachButtonPictures(b);
        }
    };
    addButtons("TopBtnSlidePanel", {{"PreviousBitBtn", "PREVIOUSBITBTN"},
                                    {"NextBitBtn", "NEXTBITBTN"},
                                    {"PlayPicBtn", "PLAYPICBTN"},
                                    {"StopPicBtn", "STOPPICBTN"}});
    // The delay field's step buttons stay hidden, as the field does.
    addButtons("TopBtnSlidePanel", {{"MinusBtn", "MINUSBTN"}, {"PlusBtn", "PLUSBTN"}});
    for (const char* hidden : {"MinusBtn", "PlusBtn"}) layout_.SetVisible(layout_.Find(hidden), false);
    for (HtmlPane pane : {HtmlPane::Help, HtmlPane::Anons, HtmlPane::Inform}) {
        const char* bar = pane == HtmlPane::Help ? "TopBtnHelpPanel"
                          : pane == HtmlPane::Anons ? "TopBtnAnonsPanel"
                                                    : "TopBtnInformPanel";
        addButtons(bar, {{PaneButton(pane, 0), "PREVBTN"}, {PaneButton(pane, 1), "NEXTBTN"},
                         {PaneButton(pane, 2), "BROWSERBTN"}});
    }

    slides_ = std::make_unique<TSlideShow>();
    TSlideShow::Frame sf;
    sf.parent = hwnd();
    sf.layout = &layout_;
    sf.aligned = &aligned_;
    sf.pageBox = layout_.Find("MainSlidePanel");
    sf.font = textFont_.get();
    sf.loadPicture = LoadSlidePicture;
    sf.pageIsCurrent = [this] { return ui_ && ui_->Pages().Current() == kPageSlides; };
    slides_->Create(sf);

    info_ = std::make_unique<TInformationPages>();
    TInformationPages::Frame pf;
    pf.parent = hwnd();
    pf.layout = &layout_;
    pf.aligned = &aligned_;
    pf.informBox = layout_.Find("MainInformPanel");
    pf.anonsBox = layout_.Find("MainAnonsPanel");
    pf.helpBox = layout_.Find("MainHelpPanel");
    pf.activatePage = [this](int page) {
        if (ui_) ui_->Pages().MakeCurrent(page);
    };
    pf.playFile = [this](const std::u16string& file) { PlayMusicLink(file); };
    pf.enableButton = [this](HtmlPane pane, bool next, bool enabled) {
        if (TImageButton* b = Image(PaneButton(pane, next ? 1 : 0)))
            SetButtonPicture(*b, false, false, false, !enabled);
    };
    pf.showButtons = [this](HtmlPane pane, bool visible) {
        for (int i = 0; i < 3; ++i) layout_.SetVisible(layout_.Find(PaneButton(pane, i)), visible);
    };
    info_->Create(pf);
    for (HtmlPane pane : {HtmlPane::Help, HtmlPane::Anons, HtmlPane::Inform}) {
        pf.enableButton(pane, false, false);
        pf.enableButton(pane, true, false);
    }
}

void TMainForm::WirePages() {
    auto click = [this](const char* name, std::function<void()> run) {
        if (TImageButton* b = Image(name)) b->OnClick = [run](TImageButton&) { run(); };
    };
    click("PreviousBitBtn", [this] { slides_->NextBitBtnClick(false); });
    click("NextBitBtn", [this] { slides_->NextBitBtnClick(true); });
    click("PlayPicBtn", [this] { slides_->PlayPicBtnClick(true); });
    click("StopPicBtn", [this] { slides_->PlayPicBtnClick(false); });
    // The field's delay is kept like a delay chosen from the menu.
    auto stepDelay = [this](int delta) {
        slides_->PlusBtnClick(delta);
        settings_.slideDelay = slides_->Delay();
    };
    click("MinusBtn", [stepDelay] { stepDelay(-1); });
    click("PlusBtn", [stepDelay] { stepDelay(1); });
    for (HtmlPane pane : {HtmlPane::Help, HtmlPane::Anons, HtmlPane::Inform}) {
        click(PaneButton(pane, 0), [this, pane] { info_->PrevHTMLBtnClick(pane); });
        click(PaneButton(pane, 1), [this, pane] { info_->NextHTMLBtnClick(pane); });
        click(PaneButton(pane, 2), [this, pane] { info_->ViewToBrowserBtnClick(pane); });
    }

    CommandTable& c = commands_;
    auto slidesCurrent = [this] { return slides_->Enabled() && ui_ && ui_->Pages().Current() == kPageSlides; };
    c.Bind(Cmd::SlidePrevious, [this] { slides_->KeyStep(false); }, slidesCurrent);
    c.Bind(Cmd::SlideNext, [this] { slides_->KeyStep(true); }, slidesCurrent);
    c.Bind(
        Cmd::SlideShowSequential, [this] { slides_->SetMode(SlideOrder::kSequential); }, {},
        [this] { return slides_->Mode() == SlideOrder::kSequential; });
    c.Bind(
        Cmd::SlideShowRandom, [this] { slides_->SetMode(SlideOrder::kRandom); }, {},
        [this] { return slides_->Mode() == SlideOrder::kRandom; });
    const std::pair<Cmd, int> delays[] = {{Cmd::SlideDelay1, 1},   {Cmd::SlideDelay3, 3},   {Cmd::SlideDelay5, 5},
                                          {Cmd::SlideDelay10, 10}, {Cmd::SlideDelay20, 20}, {Cmd::SlideDelay30, 30},
                                          {Cmd::SlideDelay60, 60}};
    for (auto [id, seconds] : delays)
        c.Bind(
            id,
            [this, seconds = seconds] {
                slides_->SetDelay(seconds);
                settings_.slideDelay = seconds;
            },
            {}, [this, seconds = seconds] { return slides_->Delay() == seconds; });
    c.Bind(Cmd::Help, [this] { MenuHelpClick(); });

    MainSeams& seams = ui_->Seams();
    seams.pageShown = [this](int page) {
        info_->PageChosen();
        if (page == kPageSlides) slides_->PageShown();
        if (page == kPageInform) info_->InformationShown();
        if (page == kPageAnons) info_->AnonsPanelResized();
    };
    seams.refitSlide = [this] { slides_->PageShown(); };
    seams.informPageChosen = [this](int position) {
        info_->PageChosen();
        info_->SelectInformationPage(position + 1);
    };
    auto previous = seams.languageChanged;
    seams.languageChanged = [this, previous](const std::u16string& languageId) {
        if (previous) previous(languageId);
        info_->ReloadPagesForLanguage(languageId);
    };
}

void TMainForm::LoadPagesAndSlides() {
    Catalogue& cat = TheCatalogue();
    slides_->SetDelay(settings_.slideDelay);
    slides_->Load(cat);
    const AppState& app = App();
    TInformationPages::Context context;
    context.root = cat.root;
    context.languageId = app.languageId;
    context.supportFolder = app.supportFolder;
    context.runningInstalled = RunsFromInstalledFolder(app.programFile, app.installedProgramPath);
    info_->Load(cat, context);
    // The help window opens from the menu only while there is help.
    if (ui_) ui_->Menus().SetVisible("MenuHelp", info_->HelpPresent());
}

void TMainForm::ClearPagesAndSlides() {
    if (slides_) slides_->Clear();
    if (info_) info_->Clear();
}

void TMainForm::PlayMusicLink(const std::u16string& file) {
    if (!players_ || !win::FileExists(file)) return;
    players_->ClearList();
    Sleep(10);
    players_->Stop();
    Sleep(3);
    players_->AddFile(file);
    Sleep(3);
    players_->Play();
}

void TMainForm::MenuHelpClick() {
    const AppState& app = App();
    THelpForm help;
    help.ShowModal(hwnd(), app.supportFolder, app.languageId,
                   RunsFromInstalledFolder(app.programFile, app.installedProgramPath));
}

}  // namespace qlm
