#include "TestVolume.h"

namespace testkit {

std::wstring TestVolumeProblem() {
    const wchar_t root[] = {kTestDrive, L':', L'\\', 0};
    wchar_t label[MAX_PATH + 1] = L"";
    if (!::GetVolumeInformationW(root, label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0))
        return L"T: is not there: mount the test volume with tests/support/test-volume.sh";
    if (std::wstring(label) != L"CORVANETEST") return L"T: is not the test volume (label " + std::wstring(label) + L")";
    return {};
}

bool WriteTextFile(const std::wstring& path, const std::string& text, size_t bytes) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    std::string content;
    while (content.size() < bytes) content += text + "\n";
    content.resize(bytes);
    DWORD done = 0;
    bool ok = ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &done, nullptr) && done == content.size() &&
              ::FlushFileBuffers(h);
    ::CloseHandle(h);
    return ok;
}

std::string ReadWholeFile(const std::wstring& path) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string content(1 << 16, '\0');
    DWORD got = 0;
    ::ReadFile(h, &content[0], static_cast<DWORD>(content.size()), &got, nullptr);
    ::CloseHandle(h);
    content.resize(got);
    return content;
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

}  // namespace testkit
