#include "ReportFile.h"

#include "LogFile.h"
#include "PathRules.h"
#include "Text.h"

namespace engine {

std::wstring OpenReport(const std::wstring& named, ReportFile& r) {
    std::wstring full = named;
    if (!IsAbsoluteFolder(named)) {
        std::wstring here(::GetCurrentDirectoryW(0, nullptr), L'\0');
        here.resize(::GetCurrentDirectoryW(static_cast<DWORD>(here.size()), &here[0]));
        full = here + L"\\" + named;
    }
    r.target = ExactPath(full);
    if (r.target.empty() || r.target.back() == L'\\') return named + L" is not a file name";
    LogFileState state = InspectLogFile(r.target);
    if (state == LogFileState::Link) return named + L" is a link; name another file";
    if (state == LogFileState::Folder) return named + L" is a folder; name a file";
    r.temp = r.target + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    r.file.Reset(::CreateFileW(r.temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!r.file) return Reason(named, ::GetLastError());
    for (const std::wstring* path : {&r.temp, &r.target}) {
        FileId id;
        if (FileIdOf(*path, id)) r.ids.push_back(id);
    }
    return {};
}

bool WriteReport(ReportFile& r, const std::string& bytes) {
    DWORD n = 0;
    bool ok = ::WriteFile(r.file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) && n == bytes.size() &&
              ::FlushFileBuffers(r.file.Get());
    DWORD error = ::GetLastError();
    r.file.Reset();  // flushed already: closing writes nothing more
    if (ok) {
        ok = ::MoveFileExW(r.temp.c_str(), r.target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        error = ::GetLastError();
    }
    if (!ok) ::DeleteFileW(r.temp.c_str());
    ::SetLastError(error);
    return ok;
}

}  // namespace engine
