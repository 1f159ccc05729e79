#include "qlmdisk/dump_json.h"

#include <type_traits>

namespace qlm::disk {
namespace {

using nlohmann::ordered_json;

const char* OutcomeName(LoadOutcome o) {
    switch (o) {
    case LoadOutcome::Loaded: return "loaded";
    case LoadOutcome::NoDescription: return "noDescription";
    case LoadOutcome::NotADisk: return "notADisk";
    case LoadOutcome::NewerVersion: return "newerVersion";
    }
    return "?";
}

std::string U8(std::string_view bytes, uint8_t charset) { return DecodeToUtf8(bytes, charset); }

ordered_json NodeJson(const Catalogue& c, const TRDataNode& n) {
    ordered_json j;
    j["listIndex"] = n.ListIndex;
    j["kind"] = n.Kind;
    j["name"] = Utf16ToUtf8(n.NameText(false));
    j["name2"] = Utf16ToUtf8(n.NameText(true));
    j["path"] = U8(n.Path, c.DiskCharset());
    j["charset"] = n.Charset;
    j["charset2"] = n.Charset2;
    j["flags"] = n.Flags;
    j["display"] = Utf16ToUtf8(c.NodeDisplayText(n, true, false));
    if (n.Tags) {
        ordered_json tags = ordered_json::array();
        for (int i = 0; i < 11; ++i) tags.push_back(U8(n.Tags->Fields[i], (i % 2 == 1 && i < 10) ? n.Charset2 : n.Charset));
        j["tags"] = std::move(tags);
    }
    if (n.Text) {
        ordered_json lines = ordered_json::array();
        for (const auto& l : n.Text->Lines) lines.push_back(U8(l, c.DiskCharset()));
        j["text"] = {{"flags", n.Text->Flags},
                     {"count", n.Text->Count},
                     {"lines", std::move(lines)},
                     {"values", n.Text->Values},
                     {"file", U8(n.Text->Text, c.DiskCharset())},
                     {"colour", n.Text->TextColour}};
    }
    if (n.Video)
        j["video"] = {{"description", U8(n.Video->Description, n.Charset)},
                      {"description2", U8(n.Video->Description2, n.Charset2)},
                      {"picture", U8(n.Video->Picture, c.DiskCharset())}};
    if (n.Kind == kKindTextItem) {
        j["value1"] = n.Value1;
        j["value2"] = n.Value2;
    }
    ordered_json children = ordered_json::array();
    for (const TRDataNode* child : n.Children) children.push_back(NodeJson(c, *child));
    j["children"] = std::move(children);
    return j;
}

}  // namespace

ordered_json DumpDisk(const Catalogue& c, const LoadResult& r) {
    ordered_json j;
    j["outcome"] = OutcomeName(r.outcome);
    j["formatError"] = r.formatError;
    j["packed"] = r.packed;
    if (r.packed) j["version"] = std::to_string(r.versionMajor) + "." + std::to_string(r.versionMinor);
    ordered_json settings;
    VisitSettingsFields(c.settings, [&](const char* name, const auto& field) {
        using T = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<T, std::string>) settings[name] = U8(field, c.DiskCharset());
        else settings[name] = field;
    });
    j["settings"] = std::move(settings);
    ordered_json pages = ordered_json::array();
    for (const auto& p : c.pages)
        pages.push_back({{"caption", U8(p.Caption, c.DiskCharset())},
                         {"file", U8(p.File, c.DiskCharset())},
                         {"flags", p.Flags},
                         {"byte", p.Byte}});
    j["pages"] = std::move(pages);
    ordered_json slides = ordered_json::array();
    for (const auto& s : c.slides)
        slides.push_back({{"file", U8(s.File, c.DiskCharset())},
                          {"caption", U8(s.Caption, c.DiskCharset())},
                          {"caption2", U8(s.Caption2, c.settings.Charset2)}});
    j["slides"] = std::move(slides);
    j["deepestFolderLevel"] = c.DeepestFolderLevel();
    j["deepestLevel"] = c.DeepestLevel();
    j["videosPresent"] = c.VideosPresent();
    j["bookModeAvailable"] = r.bookModeAvailable;
    ordered_json tree = ordered_json::array();
    for (const TRDataNode* n : c.Roots()) tree.push_back(NodeJson(c, *n));
    j["tree"] = std::move(tree);
    return j;
}

}  // namespace qlm::disk
