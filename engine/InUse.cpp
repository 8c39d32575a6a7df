#include "InUse.h"

#include <windows.h>
#include <aclapi.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "Handles.h"
#include "PathRules.h"
#include "Text.h"

namespace engine {

bool OthersMayWrite(const std::vector<AccessEntry>* entries) {
    if (!entries) return true;
    constexpr unsigned long kWrites = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_DELETE_CHILD | DELETE | WRITE_DAC |
                                      WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL | MAXIMUM_ALLOWED;
    for (const AccessEntry& e : *entries)
        if (e.allows && !e.inheritOnly && e.who == Trustee::Other && (e.mask & kWrites)) return true;
    return false;
}

bool MayDeleteAtRestart(const std::wstring& path, const std::wstring& profile, bool othersMayWriteOnTheWay) {
    PathSteps p, f;
    if (profile.empty() || !SplitFullPath(path, p) || !SplitFullPath(profile, f) || p.steps.size() <= f.steps.size())
        return false;
    return IsAtOrBelow(path, profile) && !othersMayWriteOnTheWay;
}

namespace {
bool SameSid(PSID a, PSID b) { return a && b && ::EqualSid(a, b); }

// The access list of one folder as entries; false when it cannot be read.
bool EntriesOf(const std::wstring& folder, PSID user, std::vector<AccessEntry>& out, bool& none) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (::GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                nullptr, &sd) != ERROR_SUCCESS)
        return false;
    none = dacl == nullptr;
    BYTE system[SECURITY_MAX_SID_SIZE], admins[SECURITY_MAX_SID_SIZE];
    DWORD n1 = sizeof system, n2 = sizeof admins;
    ::CreateWellKnownSid(WinLocalSystemSid, nullptr, system, &n1);
    ::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &n2);
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACE_HEADER* ace = nullptr;
        if (!::GetAce(dacl, i, reinterpret_cast<void**>(&ace))) continue;
        if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE && ace->AceType != ACCESS_DENIED_ACE_TYPE) {
            out.push_back({true, GENERIC_ALL, Trustee::Other, false});  // a kind not read here: assume the worst
            continue;
        }
        auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
        PSID sid = &allowed->SidStart;
        Trustee who = SameSid(sid, user) ? Trustee::User
                      : SameSid(sid, system) ? Trustee::System
                      : SameSid(sid, admins) ? Trustee::Administrators : Trustee::Other;
        out.push_back({ace->AceType == ACCESS_ALLOWED_ACE_TYPE, allowed->Mask, who, (ace->AceFlags & INHERIT_ONLY_ACE) != 0});
    }
    ::LocalFree(sd);
    return true;
}

bool OthersMayWriteBetween(const std::wstring& path, const std::wstring& profile) {
    Handle token;
    std::vector<BYTE> buf(512);
    DWORD size = 0;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Put()) ||
        !::GetTokenInformation(token.Get(), TokenUser, buf.data(), static_cast<DWORD>(buf.size()), &size))
        return true;
    PSID user = reinterpret_cast<TOKEN_USER*>(buf.data())->User.Sid;
    PathSteps p, f;
    SplitFullPath(path, p);
    SplitFullPath(profile, f);
    // Each folder from the file's own up to the profile itself.
    std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    for (size_t depth = p.steps.size() - 1; depth >= f.steps.size(); --depth) {
        std::vector<AccessEntry> entries;
        bool none = false;
        if (!EntriesOf(folder, user, entries, none) || OthersMayWrite(none ? nullptr : &entries)) return true;
        folder = folder.substr(0, folder.find_last_of(L'\\'));
        if (depth == f.steps.size()) break;
    }
    return false;
}
}  // namespace

bool MayDeleteAtRestartHere(const std::wstring& path) {
    const std::wstring profile = KnownFolderPath(FOLDERID_Profile);
    if (!MayDeleteAtRestart(path, profile, false)) return false;
    return MayDeleteAtRestart(path, profile, OthersMayWriteBetween(path, profile));
}

std::wstring InUseReason(const std::wstring& path) { return path + L": in use by another program; close it and erase again"; }

}  // namespace engine
