// A file in use cannot be overwritten or deleted now. Windows can delete it at the next restart,
// but by its path: whoever may write to a folder on that path can swap in a junction before then
// and so aim the delete at any file. So it is scheduled only inside the user's own profile, where
// no folder on the way lets another account write.
#pragma once
#include <string>
#include <vector>

namespace engine {

// Who an access entry of a folder's list is for.
enum class Trustee { User, System, Administrators, Other };
struct AccessEntry {
    bool allows = true;       // an allowing entry (a denying one never lets anyone in)
    unsigned long mask = 0;   // the access it grants (file or generic rights)
    Trustee who = Trustee::Other;
    bool inheritOnly = false;  // for what is made inside later, not for the folder itself
};
// Whether the entries let an account other than the user, the system and the administrators
// add, remove, rename or re-permission anything in the folder. No list at all lets everyone.
bool OthersMayWrite(const std::vector<AccessEntry>* entries);

// Whether the file at path may be scheduled for deletion at restart: it lies below profile (both
// full paths) and no folder from its own up to the profile lets others write.
bool MayDeleteAtRestart(const std::wstring& path, const std::wstring& profile, bool othersMayWriteOnTheWay);

// The same for this machine: the user's profile, and the access lists of the folders between it
// and the file (a list that cannot be read counts as letting others write).
bool MayDeleteAtRestartHere(const std::wstring& path);

// The reason a file in use stays.
std::wstring InUseReason(const std::wstring& path);

}  // namespace engine
