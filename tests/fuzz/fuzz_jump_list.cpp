// fuzz-sources: engine/JumpList.cpp engine/ItemIdList.cpp
// Jump lists are files any program can write: the reader stays inside the bytes, follows no
// chain round, and names a bounded number of bounded paths, whatever the file claims. The
// corpus folder is seeded with a small list of each kind built here.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "../../engine/JumpList.h"
#include "../support/JumpListBytes.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    using namespace jumpbytes;
    for (int i = 1; i < *argc; ++i) {
        std::string dir = (*argv)[i];
        if (dir[0] == '-') continue;
        std::string automatic = Compound({{u"DestList", DestList({{1, u"C:\\a.docx"}, {2, u""}})}, {u"2", Link("C:\\b.txt")}});
        std::string custom = std::string("\2\0\0\0\1\0\0\0\0\0\0\0", 12) + Link("C:\\c.exe") + Link("D:\\d");
        std::ofstream(dir + "/seed-automatic", std::ios::binary) << automatic;
        std::ofstream(dir + "/seed-custom", std::ios::binary) << custom;
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace engine::jumplist;
    for (const auto& documents : {AutomaticDocuments(data, size), CustomDocuments(data, size)}) {
        if (documents.size() > kMaxDocuments) abort();
        for (const std::wstring& d : documents)
            if (d.empty() || d.size() > kMaxPath || d.find_first_of(std::wstring(L"\0\n\r", 3)) != std::wstring::npos) abort();
    }
    if (LinkTarget(data, size).size() > kMaxPath) abort();
    return 0;
}
