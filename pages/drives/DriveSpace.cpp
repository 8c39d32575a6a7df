#include "DriveSpace.h"

namespace drives {
std::wstring MegabytesText(unsigned long long bytes) { return std::to_wstring(bytes / (1024ull * 1024ull)) + L" MB"; }

std::vector<wchar_t> PresentDrives() {
    DWORD mask = ::GetLogicalDrives();
    std::vector<wchar_t> letters;
    for (int i = 1; i < 26; ++i)
        if (mask & (1u << i)) letters.push_back(static_cast<wchar_t>('A' + i));
    return letters;
}

std::wstring RootOf(wchar_t letter) { return {letter, ':', '\\'}; }

FreeSpaceCall FindFreeSpaceCall() {
    HMODULE kernel = ::LoadLibraryW(L"Kernel32.dll");
    return kernel ? reinterpret_cast<FreeSpaceCall>(::GetProcAddress(kernel, "GetDiskFreeSpaceExW")) : nullptr;
}

std::optional<Space> QuerySpace(FreeSpaceCall call, const std::wstring& root) {
    ULARGE_INTEGER available{}, total{}, free{};
    if (!call) return std::nullopt;
    UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    BOOL ok = call(root.c_str(), &available, &total, &free);
    ::SetErrorMode(oldMode);
    if (!ok) return std::nullopt;
    return Space{free.QuadPart, total.QuadPart};
}
}  // namespace drives
