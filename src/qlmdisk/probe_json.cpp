#include "qlmdisk/probe_json.h"

#include "base/text_codec.h"
#include "content/genres.h"
#include "content/id3v1.h"
#include "content/id3v2.h"
#include "content/mpeg_audio.h"
#include "content/song_comment.h"

namespace qlm::disk {
namespace {

using nlohmann::ordered_json;

std::string U8(std::string_view bytes) { return DecodeToUtf8(bytes, kCyrillicCharset); }

}  // namespace

ordered_json ProbeSong(ByteSource& file) {
    ordered_json j;
    ID3v1Fields v1;
    const bool hasV1 = ReadID3v1(file, v1);
    j["id3v1"] = {{"found", hasV1},       {"title", U8(v1.Title)},     {"artist", U8(v1.Artist)},
                  {"album", U8(v1.Album)}, {"year", U8(v1.Year)},       {"comment", U8(v1.Comment)},
                  {"genre", hasV1 ? v1.Genre : 0}};

    TId3Tag20 v2;
    const bool hasV2 = ReadID3v2(file, v2);
    ordered_json id3v2;
    id3v2["found"] = hasV2;
    for (size_t i = 0; i < TId3Tag20::kFieldCount; ++i)
        id3v2[std::string(TId3Tag20::kFrameIds[i])] = U8(v2.Field(i));
    j["id3v2"] = std::move(id3v2);

    TMPEGaudio a;
    a.ReadStream(file);
    j["stream"] = {{"found", a.Found},
                   {"version", a.Version()},
                   {"layer", a.Layer()},
                   {"sampleRate", a.SampleRate()},
                   {"channelMode", a.Frame.ModeId},
                   {"channelModeText", a.ChannelModeText()},
                   {"bitRate", a.BitRate()},
                   {"duration", a.Duration()},
                   {"vbr", a.IsVBR()},
                   {"vbrKind", a.VbrKind},
                   {"frames", a.VbrFrames},
                   {"bytes", a.VbrBytes},
                   {"firstFrame", a.FramePosition},
                   {"id3v2Size", a.ID3v2Size},
                   {"fileSize", a.FileSize},
                   {"wave", a.Wave},
                   {"valid", a.IsValid()}};

    // The tag window shows TCON through the genre table, else the ID3v1 genre's name.
    j["genreText"] = hasV2 ? U8(GenreText(v2.TCON)) : hasV1 ? std::string(GenreName(v1.Genre)) : std::string();
    j["comment"] = U8(CommentOfTags(hasV2 ? &v2 : nullptr, hasV1 ? &v1 : nullptr, {}));
    return j;
}

}  // namespace qlm::disk
