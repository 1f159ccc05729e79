#include "lang/texts.h"

#include "lang/builtin_texts.h"
#include "lang/page_caption.h"

namespace qlm::lang {
namespace {

constexpr uint8_t kDefaultCharset = 204;

std::u16string Widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace

Texts Texts::FromFile(std::u16string id, std::string_view bytes) {
    ProfileLines lines = SplitProfile(bytes);
    uint8_t charset = kDefaultCharset;
    if (const std::string* cs = FindProfileLine(lines, "Main", "CharSet")) {
        auto v = ParseProfileInt(std::string_view(*cs));
        if (v && *v >= 0 && *v <= 255) charset = static_cast<uint8_t>(*v);
    }
    Texts t;
    t.id_ = std::move(id);
    t.charset_ = charset;
    t.file_ = std::make_shared<const ProfileText>(ProfileText::Decode(lines, charset));
    return t;
}

const std::u16string* Texts::Find(std::u16string_view section, std::u16string_view key) const {
    return file_ ? file_->Find(section, key) : nullptr;
}

std::u16string Texts::Text(std::string_view section, std::string_view key) const {
    return Text(Widen(section), Widen(key));
}

std::u16string Texts::Text(std::u16string_view section, std::u16string_view key) const {
    if (!file_) {
        return BuiltInTextOf(std::string(section.begin(), section.end()), std::string(key.begin(), key.end()));
    }
    if (const std::u16string* v = Find(section, key)) return *v;
    if (EqualNoCase(section, u"Main")) {
        if (EqualNoCase(key, u"CharSet")) return u"204";
        if (EqualNoCase(key, u"Version")) return u"1";
        if (EqualNoCase(key, u"MinQLMVersion")) return u"1.0.0.2";
        if (EqualNoCase(key, u"Language") || EqualNoCase(key, u"LanguageRus")) return id_;
    }
    return {};
}

uint8_t Texts::Charset() const { return charset_; }

int Texts::FormatVersion() const {
    const std::u16string* v = Find(u"Main", u"Version");
    return v ? ParseProfileInt(*v).value_or(1) : 1;
}

std::u16string Texts::MinProgramVersion() const { return file_ ? Text(u"Main", u"MinQLMVersion") : std::u16string(); }

std::u16string Texts::DisplayName(bool builtInTextsInUse) const {
    return Text(u"Main", builtInTextsInUse ? u"LanguageRus" : u"Language");
}

std::u16string Texts::PageCaption(std::u16string_view caption) const {
    if (!file_) return std::u16string(caption);
    if (const std::u16string* v = Find(u"ExtPages", NormalizePageCaption(caption))) return *v;
    return std::u16string(caption);
}

}  // namespace qlm::lang
