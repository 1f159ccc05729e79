// Builds record-form files for the tests: 'S' short, 'L' long, 'W' wide records.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/text_codec.h"
#include "content/description_stream.h"

namespace qlm::test {

struct Rec {
    char type;  // 'S', 'L' or 'W'
    std::string text;
};

inline std::string RecordFile(const std::vector<Rec>& records) {
    DescriptionWriter w;
    for (const auto& r : records) {
        if (r.type == 'S') w.WriteShortRecord(r.text);
        else if (r.type == 'L') w.WriteLongRecord(r.text);
        else w.WriteWideRecord(Utf8ToUtf16(r.text));
    }
    return w.Take();
}

inline Rec S(std::string t) { return {'S', std::move(t)}; }
inline Rec L(std::string t) { return {'L', std::move(t)}; }
// Cyrillic UTF-8 source text as Windows-1251 bytes.
inline std::string Cp1251(std::string_view utf8) { return EncodeFromUtf8(utf8, 204); }

}  // namespace qlm::test
