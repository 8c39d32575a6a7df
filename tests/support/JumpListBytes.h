// Jump lists built byte by byte for the reader's tests and its fuzzer's seeds: a compound file
// of 512-byte sectors (sector table in sector 0, directory in 1, mini table in 2, the mini
// stream from 3 on) holding small streams, a DestList, and shell links to a local path.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace jumpbytes {

inline void Put32(std::string& s, size_t at, uint32_t v) {
    if (s.size() < at + 4) s.resize(at + 4);
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}
inline std::string Utf16(const std::u16string& text) {
    std::string s;
    for (char16_t c : text) s += {static_cast<char>(c), static_cast<char>(c >> 8)};
    return s;
}

// A shell link whose LinkInfo holds an ASCII local path.
inline std::string Link(const std::string& path) {
    std::string s("\x4C\0\0\0\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46", 20);
    Put32(s, 0x14, 0x02);  // HasLinkInfo
    Put32(s, 72, 0);
    std::string info(0x1C, '\0');
    Put32(info, 4, 0x1C), Put32(info, 8, 1), Put32(info, 16, 0x1C), Put32(info, 24, 0x1C + uint32_t(path.size()));
    info += path + std::string(2, '\0');
    Put32(info, 0, uint32_t(info.size()));
    return s + info + std::string(4, '\0');
}

// A first-version DestList: each entry's number and path (an empty path leaves it to the link).
inline std::string DestList(const std::vector<std::pair<uint32_t, std::u16string>>& entries) {
    std::string s(32, '\0');
    Put32(s, 0, 1), Put32(s, 4, uint32_t(entries.size()));
    for (const auto& [number, path] : entries) {
        std::string e(114, '\0');
        Put32(e, 88, number), Put32(e, 112, uint32_t(path.size()));
        s += e.substr(0, 114) + Utf16(path);
    }
    return s;
}

// A compound file of at most three small streams.
inline std::string Compound(const std::vector<std::pair<std::u16string, std::string>>& streams) {
    std::string file(512, '\0'), mini, dir(512, '\0'), minifat(512, '\xFF');
    file.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    Put32(file, 0x18, 0x0003003E), Put32(file, 0x1C, 0x0009FFFE), Put32(file, 0x20, 6);
    Put32(file, 0x2C, 1), Put32(file, 0x30, 1), Put32(file, 0x38, 4096), Put32(file, 0x3C, 2), Put32(file, 0x40, 1);
    Put32(file, 0x44, 0xFFFFFFFE);
    for (int i = 0; i < 109; ++i) Put32(file, 0x4C + 4 * i, i ? 0xFFFFFFFF : 0);
    auto entry = [&](size_t i, const std::u16string& name, char type, uint32_t start, uint32_t size) {
        dir.replace(128 * i, 2 * name.size(), Utf16(name));
        Put32(dir, 128 * i + 0x40, uint32_t(2 * name.size() + 2)), dir[128 * i + 0x42] = type;
        Put32(dir, 128 * i + 0x74, start), Put32(dir, 128 * i + 0x78, size);
        // The root's child is the first stream; each stream's right sibling the next.
        uint32_t next = i < streams.size() ? uint32_t(i + 1) : 0xFFFFFFFF;
        Put32(dir, 128 * i + 0x44, 0xFFFFFFFF), Put32(dir, 128 * i + 0x48, i ? next : 0xFFFFFFFF);
        Put32(dir, 128 * i + 0x4C, i ? 0xFFFFFFFF : next);
    };
    for (size_t i = 0; i < streams.size(); ++i) {
        uint32_t first = uint32_t(mini.size() / 64), count = uint32_t((streams[i].second.size() + 63) / 64);
        for (uint32_t k = 0; k < count; ++k) Put32(minifat, 4 * (first + k), k + 1 < count ? first + k + 1 : 0xFFFFFFFE);
        mini += streams[i].second + std::string(64 * count - streams[i].second.size(), '\0');
        entry(i + 1, streams[i].first, 2, first, uint32_t(streams[i].second.size()));
    }
    uint32_t sectors = uint32_t((mini.size() + 511) / 512);
    entry(0, u"Root Entry", 5, 3, uint32_t(mini.size()));
    std::string fat(512, '\xFF');
    Put32(fat, 0, 0xFFFFFFFD), Put32(fat, 4, 0xFFFFFFFE), Put32(fat, 8, 0xFFFFFFFE);
    for (uint32_t k = 0; k < sectors; ++k) Put32(fat, 4 * (3 + k), k + 1 < sectors ? 3 + k + 1 : 0xFFFFFFFE);
    mini.resize(512 * sectors);
    return file.substr(0, 512) + fat + dir + minifat + mini;
}

}  // namespace jumpbytes
