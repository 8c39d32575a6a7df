// Jump lists built byte by byte for the reader's test and its fuzzer's seeds: a compound file of
// 512-byte sectors (sector table in sector 0, directory in 1, mini table in 2, the mini stream
// from 3 on) holding at most three small streams, a first-version DestList, shell links whose
// LinkInfo holds an ASCII path.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace jumpbytes {

inline void Put32(std::string& s, size_t at, uint32_t v) {
    s.resize(std::max(s.size(), at + 4));
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

inline std::string Link(const std::string& path) {
    std::string s("\x4C\0\0\0\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46\x02\0\0\0", 24), info(28, '\0');
    Put32(info, 0, 30 + uint32_t(path.size())), Put32(info, 4, 28), Put32(info, 8, 1), Put32(info, 16, 28);
    Put32(info, 24, 28 + uint32_t(path.size()));
    return s + std::string(52, '\0') + info + path + std::string(6, '\0');
}

inline std::string DestList(const std::vector<std::pair<uint32_t, std::u16string>>& entries) {
    std::string s(32, '\0');
    Put32(s, 0, 1), Put32(s, 4, uint32_t(entries.size()));
    for (const auto& [number, path] : entries) {
        std::string e(116, '\0');
        Put32(e, 88, number), Put32(e, 112, uint32_t(path.size()));
        s += e.substr(0, 114) + std::string(reinterpret_cast<const char*>(path.data()), 2 * path.size());
    }
    return s;
}

inline std::string Compound(const std::vector<std::pair<std::u16string, std::string>>& streams) {
    std::string head(512, '\0'), fat(512, '\xFF'), dir(512, '\0'), minifat(512, '\xFF'), mini;
    head.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    for (auto [at, v] : {std::pair<size_t, uint32_t>{0x18, 0x3003E}, {0x1C, 0x9FFFE}, {0x20, 6}, {0x2C, 1}, {0x30, 1},
                         {0x38, 4096}, {0x3C, 2}, {0x40, 1}, {0x44, 0xFFFFFFFE}, {0x4C, 0}})
        Put32(head, at, v);
    head.replace(0x50, 4 * 108, 4 * 108, '\xFF');
    auto entry = [&](uint32_t i, std::u16string name, char type, uint32_t start, size_t size) {
        dir.replace(128 * i, 2 * name.size(), reinterpret_cast<const char*>(name.data()), 2 * name.size());
        Put32(dir, 128 * i + 0x40, uint32_t(2 * name.size() + 2)), dir[128 * i + 0x42] = type;
        // The root's child is the first stream; each stream's right sibling the next.
        uint32_t next = i < streams.size() ? i + 1 : 0xFFFFFFFF;
        Put32(dir, 128 * i + 0x44, 0xFFFFFFFF), Put32(dir, 128 * i + 0x48, i ? next : 0xFFFFFFFF);
        Put32(dir, 128 * i + 0x4C, i ? 0xFFFFFFFF : next);
        Put32(dir, 128 * i + 0x74, start), Put32(dir, 128 * i + 0x78, uint32_t(size));
    };
    for (uint32_t i = 0; i < streams.size(); ++i) {
        uint32_t first = uint32_t(mini.size() / 64), count = uint32_t((streams[i].second.size() + 63) / 64);
        for (uint32_t k = first; k < first + count; ++k) Put32(minifat, 4 * k, k + 1 < first + count ? k + 1 : 0xFFFFFFFE);
        mini += streams[i].second + std::string(64 * count - streams[i].second.size(), '\0');
        entry(i + 1, streams[i].first, 2, first, streams[i].second.size());
    }
    entry(0, u"Root Entry", 5, 3, mini.size());
    Put32(fat, 0, 0xFFFFFFFD), Put32(fat, 4, 0xFFFFFFFE), Put32(fat, 8, 0xFFFFFFFE);
    uint32_t sectors = uint32_t((mini.size() + 511) / 512);
    for (uint32_t k = 0; k < sectors; ++k) Put32(fat, 4 * (3 + k), k + 1 < sectors ? 4 + k : 0xFFFFFFFE);
    mini.resize(512 * sectors);
    return head + fat + dir + minifat + mini;
}

}  // namespace jumpbytes
