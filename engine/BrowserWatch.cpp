#include "BrowserWatch.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cwctype>

#include "BrowserDefinitions.h"
#include "Handles.h"

namespace engine {

namespace {
std::wstring Lower(std::wstring s) {
    for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}
}  // namespace

std::vector<std::wstring> BrowserPrograms() {
    std::vector<std::wstring> programs{L"iexplore.exe"};
    for (const BrowserDef& def : BrowserDefinitions())
        if (!def.process.empty()) programs.push_back(Lower(def.process));
    return programs;
}

std::vector<std::wstring> RunningPrograms(const std::vector<std::wstring>& programs) {
    std::vector<std::wstring> running;
    Handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return running;
    PROCESSENTRY32W entry{sizeof entry};
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        std::wstring name = Lower(entry.szExeFile);
        if (std::find(programs.begin(), programs.end(), name) != programs.end() &&
            std::find(running.begin(), running.end(), name) == running.end())
            running.push_back(name);
    }
    return running;
}

std::vector<std::wstring> Closed(const std::vector<std::wstring>& before, const std::vector<std::wstring>& now) {
    std::vector<std::wstring> closed;
    for (const std::wstring& b : before)
        if (std::find(now.begin(), now.end(), b) == now.end()) closed.push_back(b);
    return closed;
}

}  // namespace engine
