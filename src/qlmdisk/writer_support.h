// What the two form writers share: the manifest, the first error, and the
// UTF-8 -> disk character set conversion that refuses to lose characters.
#pragma once

#include <string>

#include "base/text_codec.h"
#include "qlmdisk/manifest.h"

namespace qlm::disk {

class WriterBase {
protected:
    WriterBase(const DiskManifest& m, std::string& error)
        : m_(m), error_(error), cs1_(m.settings.Charset1), cs2_(m.settings.Charset2) {}

    bool Fail(const std::string& where, const std::string& what) {
        if (error_.empty()) error_ = where + ": " + what;
        return false;
    }

    bool Encode(const std::string& utf8, uint8_t charset, const std::string& where, std::string& out) {
        bool lossy = false;
        out = EncodeFromUtf8(utf8, charset, &lossy);
        if (lossy)
            return Fail(where, "has characters that character set " + std::to_string(charset) +
                                   " cannot hold (use \"utf16\" names or another charset)");
        return true;
    }

    const DiskManifest& m_;
    std::string& error_;
    uint8_t cs1_, cs2_;
};

}  // namespace qlm::disk
