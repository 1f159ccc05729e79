#include "app/deployment.h"

namespace qlm {

Deployment ReadDeployment(app::ProfileStore& ini) {
    Deployment d;
    auto take = [&](std::u16string_view key, std::u16string& value) {
        std::u16string v = app::ReadString(ini, kDeploymentSection, key);
        if (!v.empty()) value = v;
    };
    take(u"Banner1", d.banner1);
    take(u"Banner2", d.banner2);
    take(u"Publisher", d.publisher);
    take(u"Phone", d.phone);
    take(u"EMail", d.email);
    take(u"HomePage", d.homePage);
    return d;
}

std::u16string GroupThousands(uint64_t value, std::u16string_view separator) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value);
    std::u16string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

std::u16string KilobytesText(uint64_t bytes, std::u16string_view separator) {
    return GroupThousands(bytes >> 10, separator) + u" KB";
}

}  // namespace qlm
