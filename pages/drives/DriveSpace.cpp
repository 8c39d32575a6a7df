#include "DriveSpace.h"

namespace drives {
std::string MegabytesText(unsigned long long bytes) { return std::to_string(bytes / (1024ull * 1024ull)) + " MB"; }

std::vector<char> PresentDrives() {
    DWORD mask = ::GetLogicalDrives();
    std::vector<char> letters;
    for (int i = 1; i < 26; ++i)
        if (mask & (1u << i)) letters.push_back(static_cast<char>('A' + i));
    return letters;
}

std::string RootOf(char letter) { return {letter, ':', '\\'}; }

FreeSpaceCall FindFreeSpaceCall() {
    HMODULE kernel = ::LoadLibraryA("Kernel32.dll");
    return kernel ? reinterpret_cast<FreeSpaceCall>(::GetProcAddress(kernel, "GetDiskFreeSpaceExA")) : nullptr;
}

std::optional<Space> QuerySpace(FreeSpaceCall call, const std::string& root) {
    ULARGE_INTEGER available{}, total{}, free{};
    if (!call) return std::nullopt;
    UINT oldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    BOOL ok = call(root.c_str(), &available, &total, &free);
    ::SetErrorMode(oldMode);
    if (!ok) return std::nullopt;
    return Space{free.QuadPart, total.QuadPart};
}
}  // namespace drives
