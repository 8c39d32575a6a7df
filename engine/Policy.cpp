#include "Policy.h"

#include <algorithm>
#include <cwctype>

#include "RegKey.h"
#include "Text.h"

namespace engine {

const wchar_t* const kTurnedOffText = L"turned off by policy";

namespace {
const wchar_t* const kPolicyKey = L"Software\\Policies\\Corvane-Sweepmere";

// The strings of a REG_MULTI_SZ, empty ones left out; data without its final zeros is read whole.
std::vector<std::wstring> MultiString(const RegKey& key, const wchar_t* name) {
    std::vector<unsigned char> data;
    DWORD type = 0;
    std::vector<std::wstring> strings;
    if (!key.ReadBinary(name, data, &type) || type != REG_MULTI_SZ) return strings;
    std::wstring all(data.size() / sizeof(wchar_t), L'\0');
    std::copy(data.begin(), data.begin() + all.size() * sizeof(wchar_t), reinterpret_cast<unsigned char*>(&all[0]));
    size_t start = 0;
    for (size_t end; start < all.size(); start = end + 1) {
        end = std::min(all.find(L'\0', start), all.size());
        if (end > start) strings.push_back(all.substr(start, end - start));
    }
    return strings;
}

std::string LowerAscii(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(std::towlower(c)) : '?';
    return out;
}

// Fills what the key sets and the policy does not hold yet: read machine first, then user.
void ReadKey(HKEY root, Policy& policy) {
    RegKey key;
    if (key.Open(root, kPolicyKey) != ERROR_SUCCESS) return;
    DWORD n = 0;
    if (!policy.overwrite && key.ReadDword(L"Overwrite", n)) policy.overwrite = n != 0;
    if (!policy.passes && key.ReadDword(L"OverwritePasses", n) && n >= 1 && n <= 3) policy.passes = n;
    std::vector<std::wstring> off = MultiString(key, L"DisabledCategories");
    if (policy.disabled.empty())
        for (const std::wstring& k : off) policy.disabled.push_back(LowerAscii(k));
    if (policy.logFile.empty()) key.ReadString(L"LogFile", policy.logFile);
    if (policy.reportFolder.empty()) key.ReadString(L"ReportFolder", policy.reportFolder);
}
}  // namespace

Policy ReadPolicy() {
    Policy policy;
    ReadKey(HKEY_LOCAL_MACHINE, policy);
    ReadKey(HKEY_CURRENT_USER, policy);
    return policy;
}

Options WithPolicy(Options options, const Policy& policy) {
    if (policy.overwrite) options.overwrite = *policy.overwrite;
    if (policy.passes) options.passes = *policy.passes;
    return options;
}

bool TurnedOff(const Category& category, const Policy& policy) {
    for (const std::string& k : policy.disabled)
        if (k == LowerAscii(FromUtf8(category.key)) || k == category.group) return true;
    return false;
}

std::wstring PolicyLogFile() { return ReadPolicy().logFile; }

std::wstring ReportPath(const std::wstring& named, const Policy& policy) {
    const bool bare = !named.empty() && named.find_first_of(L"\\/:") == std::wstring::npos;
    if (!bare || policy.reportFolder.empty()) return named;
    std::wstring folder = policy.reportFolder;
    if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    return folder + named;
}

}  // namespace engine
