// The publisher's deployment texts: the banner addresses of the left column
// and the contact lines of the about box. Each has a built-in value that the
// section [Deployment] of qlm.ini may replace (keys Banner1, Banner2,
// Publisher, Phone, EMail, HomePage), so a publisher re-brands a disk without
// building the program again.
#pragma once

#include <cstdint>
#include <string>

#include "app/settings_profile.h"

namespace qlm {

struct Deployment {
    std::u16string banner1 = u"http://www.vnt-company.example/";
    std::u16string banner2 = u"http://music.vnt-company.example/";
    std::u16string publisher = u"VNT Company";
    std::u16string phone = u"Тел.: +7 (000) 000-00-00";
    std::u16string email = u"info@vnt-company.example";
    std::u16string homePage = u"http://www.vnt-company.example/";
};

inline constexpr std::u16string_view kDeploymentSection = u"Deployment";

// The built-in texts, each replaced by a non-empty value of the section.
Deployment ReadDeployment(app::ProfileStore& ini);

// A whole number with a separator between groups of three digits
// ("#,###"), and the about box's memory line: bytes / 1024 + " KB".
std::u16string GroupThousands(uint64_t value, std::u16string_view separator);
std::u16string KilobytesText(uint64_t bytes, std::u16string_view separator);

}  // namespace qlm
