#include "driver_file.h"

#include <stdexcept>

namespace zevsim {

namespace {

struct CodePoint {
    char32_t unicode;
    unsigned char cp850;
    unsigned char cp1252;
};

constexpr CodePoint kMapped[] = {
    {U'ä', 0x84, 0xE4}, {U'ö', 0x94, 0xF6}, {U'ü', 0x81, 0xFC}, {U'Ä', 0x8E, 0xC4},
    {U'Ö', 0x99, 0xD6}, {U'Ü', 0x9A, 0xDC}, {U'ß', 0xE1, 0xDF}, {U'°', 0xF8, 0xB0},
    {U'µ', 0xE6, 0xB5},
};

// Decodes the next UTF-8 sequence at i (advancing i); only two-byte sequences
// occur in the tables, longer ones are refused like unmapped characters.
char32_t nextCodePoint(std::string_view s, size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i++]);
    if (b0 < 0x80) return b0;
    if ((b0 & 0xE0) == 0xC0 && i < s.size()) {
        const auto b1 = static_cast<unsigned char>(s[i++]);
        if ((b1 & 0xC0) == 0x80) return static_cast<char32_t>(((b0 & 0x1F) << 6) | (b1 & 0x3F));
    }
    throw std::invalid_argument("driver text is not mappable UTF-8: " + std::string(s));
}

std::string encode(std::string_view utf8, bool oem) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const char32_t c = nextCodePoint(utf8, i);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        bool found = false;
        for (const auto& m : kMapped) {
            if (m.unicode == c) {
                out.push_back(static_cast<char>(oem ? m.cp850 : m.cp1252));
                found = true;
                break;
            }
        }
        if (!found)
            throw std::invalid_argument("character without a code page byte in: " + std::string(utf8));
    }
    return out;
}

// A text field in double quotes, so that names may hold commas ("[0,1 A]").
std::string quoted(const std::string& encoded) {
    if (encoded.find('"') != std::string::npos)
        throw std::invalid_argument("a driver field cannot hold a double quote: " + encoded);
    return "\"" + encoded + "\"";
}

const char* pick(DriverLanguage language, const char* de, const char* en) {
    return language == DriverLanguage::German ? de : en;
}

}  // namespace

std::string utf8ToCp850(std::string_view utf8) { return encode(utf8, true); }
std::string utf8ToCp1252(std::string_view utf8) { return encode(utf8, false); }

std::string driverFileName(int az, DriverLanguage language) {
    const std::string stem = "AZ" + std::to_string(az);
    switch (language) {
    case DriverLanguage::German: return stem + "_d.DRV";
    case DriverLanguage::English: return stem + "_e.DRV";
    case DriverLanguage::Neutral: break;
    }
    return stem + ".DRV";
}

std::string driverFileBytes(const ControllerFamily& family, DriverLanguage language) {
    const std::string crlf = "\r\n";
    std::string out;
    out += "[ZEVCtrl]" + crlf;
    out += "MC_param=" + std::to_string(kMonitorZoneParameter) + crlf;
    out += crlf;
    out += "; " + std::string(family.title) + " driver AZ" + std::to_string(family.az) + crlf;
    out += "; zone parameters 1 to 28: name min max (equal limits: read only)" + crlf;
    for (const auto& p : family.zone) {
        out += quoted("@P") + "," + quoted(utf8ToCp850(pick(language, p.nameDe, p.nameEn))) + "," +
               std::to_string(p.min) + "," + std::to_string(p.max) + crlf;
    }
    out += "; global parameters: name min max code" + crlf;
    for (const auto& g : family.globals) {
        out += quoted("@Z") + "," + quoted(utf8ToCp850(pick(language, g.nameDe, g.nameEn))) + "," +
               std::to_string(g.min) + "," + std::to_string(g.max) + "," +
               quoted(std::string("?") + g.code) + crlf;
    }
    out += "; information" + crlf;
    for (const auto& i : family.infos) {
        out += quoted("@I") + "," + quoted(utf8ToCp850(pick(language, i.captionDe, i.captionEn))) +
               "," + quoted(utf8ToCp1252(pick(language, i.textDe, i.textEn))) + crlf;
    }
    if (!family.boost) out += quoted("@X") + "," + quoted("NOBOOST") + crlf;
    return out;
}

std::vector<DriverFile> driverFilesFor(const ControllerFamily& family) {
    std::vector<DriverFile> files;
    if (family.languages == DriverLanguages::Neutral) {
        files.push_back({driverFileName(family.az, DriverLanguage::Neutral),
                         driverFileBytes(family, DriverLanguage::Neutral)});
        return files;
    }
    for (auto language : {DriverLanguage::German, DriverLanguage::English})
        files.push_back({driverFileName(family.az, language), driverFileBytes(family, language)});
    return files;
}

}  // namespace zevsim
