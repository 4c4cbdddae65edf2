#include "app/settings.h"

#include <cctype>
#include <cstdio>

int readSettingNumber(const std::string& text) {
    int value = 0;
    for (size_t i = 0; i < text.size() && i < 2 && std::isdigit(static_cast<unsigned char>(text[i]));
         ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

std::optional<unsigned> readSettingHex(const std::string& text, size_t maxDigits) {
    unsigned value = 0;
    size_t digits = 0;
    for (; digits < text.size() && digits < maxDigits; ++digits) {
        int c = std::tolower(static_cast<unsigned char>(text[digits]));
        if (std::isdigit(c))
            value = value * 16 + unsigned(c - '0');
        else if (c >= 'a' && c <= 'f')
            value = value * 16 + unsigned(c - 'a' + 10);
        else
            break;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

namespace {

void readFlag(const IniFile& ini, const char* section, const char* key, bool& flag) {
    if (auto text = ini.value(section, key)) {
        int value = readSettingNumber(*text);
        if (value == 0 || value == 1)
            flag = value == 1;
    }
}

template <typename Enum>
void readChoice(const IniFile& ini, const char* section, const char* key, int highest, Enum& choice) {
    if (auto text = ini.value(section, key)) {
        int value = readSettingNumber(*text);
        if (value <= highest)
            choice = static_cast<Enum>(value);
    }
}

std::string hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

} // namespace

Settings settingsFromIni(const IniFile& ini) {
    Settings s;
    readFlag(ini, "Global", "Tooltips", s.tooltips);
    readChoice(ini, "Global", "ScrollDelta", 4, s.scrollDelta);
    readFlag(ini, "Global", "ShowAbout", s.showAbout);
    if (auto text = ini.value("Global", "LastExtension"))
        s.lastExtension = text->substr(0, kMaxLastExtensionLength);
    if (auto text = ini.value("Global", "StdPath"))
        s.stdPath = text->substr(0, kMaxStdPathLength);
    readChoice(ini, "Compression", "CarmarckExpand", 2, s.carmackExpand);
    readChoice(ini, "Compression", "CarmarckCompress", 2, s.carmackCompress);
    readChoice(ini, "Compression", "CarmarckMode", 1, s.carmackMode);
    readChoice(ini, "Compression", "SpriteCompression", 2, s.spriteCompression);
    if (auto text = ini.value("Maps", "FAR"))
        if (auto value = readSettingHex(*text, 2))
            s.farTag = uint8_t(*value);
    if (auto text = ini.value("Maps", "NEAR"))
        if (auto value = readSettingHex(*text, 2))
            s.nearTag = uint8_t(*value);
    if (auto text = ini.value("Maps", "RLEW"))
        if (auto value = readSettingHex(*text, 4))
            s.rlewTag = uint16_t(*value);
    readFlag(ini, "Maps", "DontLoadRLEW", s.dontLoadRlew);
    readFlag(ini, "Maps", "ChkMaphead", s.checkMaphead);
    readFlag(ini, "Maps", "ChkMaps", s.mapsOnly);
    readFlag(ini, "MapEditor", "Objects", s.showObjects);
    readFlag(ini, "MapEditor", "Floors", s.showFloors);
    readFlag(ini, "MapEditor", "Grid", s.showGrid);
    readFlag(ini, "MapEditor", "ProfMode", s.profMode);
    return s;
}

IniFile settingsToIni(const Settings& s) {
    IniFile ini;
    auto number = [](int value) { return std::to_string(value); };
    ini.set("Global", "Tooltips", number(s.tooltips));
    ini.set("Global", "ScrollDelta", number(s.scrollDelta));
    ini.set("Global", "ShowAbout", "0");
    ini.set("Global", "LastExtension", s.lastExtension);
    ini.set("Global", "StdPath", s.stdPath);
    ini.set("Compression", "CarmarckExpand", number(int(s.carmackExpand)));
    ini.set("Compression", "CarmarckCompress", number(int(s.carmackCompress)));
    ini.set("Compression", "CarmarckMode", number(int(s.carmackMode)));
    ini.set("Compression", "SpriteCompression", number(int(s.spriteCompression)));
    ini.set("Maps", "FAR", hex(s.farTag, 2));
    ini.set("Maps", "NEAR", hex(s.nearTag, 2));
    ini.set("Maps", "RLEW", hex(s.rlewTag, 4));
    ini.set("Maps", "DontLoadRLEW", number(s.dontLoadRlew));
    ini.set("Maps", "ChkMaphead", number(s.checkMaphead));
    ini.set("Maps", "ChkMaps", number(s.mapsOnly));
    ini.set("MapEditor", "Objects", number(s.showObjects));
    ini.set("MapEditor", "Floors", number(s.showFloors));
    ini.set("MapEditor", "Grid", number(s.showGrid));
    ini.set("MapEditor", "ProfMode", number(s.profMode));
    return ini;
}

Settings readSettingsFile(const std::filesystem::path& path) {
    return settingsFromIni(IniFile::read(path));
}

bool writeSettingsFile(const std::filesystem::path& path, const Settings& settings,
                       std::string* error) {
    return settingsToIni(settings).write(path, error);
}
