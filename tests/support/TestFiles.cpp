#include "TestFiles.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>

namespace testkit {

bool InsideTestPrefix() {
    wchar_t prefix[1024] = L"";
    ::GetEnvironmentVariableW(L"WINEPREFIX", prefix, ARRAYSIZE(prefix));
    const std::wstring p = prefix, want = L"/test-prefix";
    if (p.size() >= want.size() && p.compare(p.size() - want.size(), want.size(), want) == 0) return true;
    fwprintf(stderr, L"refusing to run: not in the build folder's test Wine prefix (WINEPREFIX=%ls)\n", prefix);
    return false;
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    bool ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size() &&
              ::FlushFileBuffers(h);
    ::CloseHandle(h);
    return ok;
}

void WriteFile(const std::wstring& path, const std::wstring& content) {
    WriteBytes(path, std::string(reinterpret_cast<const char*>(content.data()), content.size()));
}

bool WriteTextFile(const std::wstring& path, const std::string& text, size_t bytes) {
    std::string content;
    while (content.size() < bytes) content += text + "\n";
    content.resize(bytes);
    return WriteBytes(path, content);
}

std::string ReadWholeFile(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

size_t EntriesIn(const std::wstring& folder) {
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW((folder + L"\\*").c_str(), &d);
    size_t n = 0;
    if (h == INVALID_HANDLE_VALUE) return n;
    do n += wcscmp(d.cFileName, L".") && wcscmp(d.cFileName, L"..");
    while (::FindNextFileW(h, &d));
    ::FindClose(h);
    return n;
}

void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = dir + L"\\" + name;
            const DWORD a = fd.dwFileAttributes;
            if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT)) RemoveTree(path);
            else {  // a file, or a link, which goes itself
                if (!(a & FILE_ATTRIBUTE_REPARSE_POINT)) ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (!::RemoveDirectoryW(path.c_str())) ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(h, &fd));
        ::FindClose(h);
    }
    ::RemoveDirectoryW(dir.c_str());
}

std::wstring ScratchFolder(const std::wstring& name) {
    const std::wstring root = L"C:\\corvane-scratch", dir = root + L"\\" + name;
    ::CreateDirectoryW(root.c_str(), nullptr);
    RemoveTree(dir);
    ::CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

std::wstring ScratchTree(const std::wstring& name, int folders, int filesEach) {
    std::wstring root = ScratchFolder(name);
    for (int d = 0; d < folders; ++d) {
        std::wstring sub = root + L"\\F" + std::to_wstring(d);
        ::CreateDirectoryW(sub.c_str(), nullptr);
        for (int f = 0; f < filesEach; ++f) WriteFile(sub + L"\\page" + std::to_wstring(f) + L".htm");
    }
    return root;
}

int BareWalk(const std::wstring& folder, bool erase, std::vector<std::wstring>* kept) {
    int n = 0;
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW((folder + L"\\*.*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        std::wstring path = folder + L"\\" + d.cFileName;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (wcscmp(d.cFileName, L".") && wcscmp(d.cFileName, L"..")) n += BareWalk(path, erase, kept);
        } else if (erase) {
            n += ::DeleteFileW(path.c_str()) != 0;
        } else {
            if (kept) kept->push_back(std::move(path));
            ++n;
        }
    } while (::FindNextFileW(h, &d));
    ::FindClose(h);
    return n;
}

double SecondsTaken(const std::function<void()>& fn) {
    auto t0 = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace testkit
