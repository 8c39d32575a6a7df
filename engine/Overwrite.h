// Overwriting a file's content before its name goes, for the one delete path. A deleted file's
// clusters keep its bytes until something else is written there; overwriting them first leaves
// nothing for a recovery tool. What cannot be overwritten in place is only deleted, and says why.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace engine {

class StopToken;

// The access the one delete path opens a file with when it overwrites (opened without following
// links, its final path checked before OverwriteAndDelete is called). Windows refuses write access
// to a read-only file: its attribute is cleared through a first handle before this one is opened.
constexpr DWORD kOverwriteAccess = GENERIC_READ | GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;

enum class Disposal { Overwritten, DeletedOnly, Stayed };

// What to do with a file, from its attributes and its number of names. A file with more than one
// name keeps its content under the others; a compressed, sparse or encrypted file gets new
// clusters when written, so its old ones would stay as they are.
enum class Plan { Overwrite, DeleteOnlyLinked, DeleteOnlyCompressed };
Plan PlanFor(unsigned long attributes, unsigned long numberOfLinks);
// How many bytes the passes write: the length rounded up to the cluster (the slack at the end
// goes too) where the file holds whole clusters; else its length alone (a small file inside its
// file record would be moved out of it by a longer write, leaving the record's copy).
unsigned long long OverwriteLength(unsigned long long size, unsigned long long allocation, unsigned long cluster);

// Overwrites the file behind h with `passes` (1 to 3) passes of pseudo-random data over its length
// rounded up to the volume's cluster size (never beyond what the file holds on disk), in large
// writes, flushed after each pass, and then each named stream alike; renames it to a random name of the same length in the same
// folder, sets its length to 0 and marks it for deletion, all through h (it goes when h is closed).
// path: the file's full path. note: for DeletedOnly why it was not overwritten (one line, the same
// for every file of the same reason); for Stayed, GetLastError() tells why. A stop request ends the
// writing; the file is then deleted with a note.
Disposal OverwriteAndDelete(HANDLE h, const std::wstring& path, unsigned passes, std::wstring& note,
                            const StopToken* stop = nullptr);

// A folder's index keeps old entries past its end after names leave it (NTFS): new entries with
// random names of the lengths given, made in the folder and deleted at once, take their place as
// far as the index still reaches.
void RefillNames(const std::wstring& folder, std::vector<size_t> lengths);
// What the report says of a folder whose files were overwritten: where the index grew out of its
// file record, the record keeps old entries where nothing reaches while the folder stays; the
// record of a folder removed is free space.
std::wstring NamesNote(const std::wstring& folder, bool stays);

// A file in use: asks for its deletion at the next restart (the system lets administrators only).
// True when scheduled. RestartNote() is the line the report then carries.
bool DeleteAtRestart(const std::wstring& path);
std::wstring RestartNote();

// A plain note when the volume holding path is a solid-state drive (no seek penalty, or TRIM) or
// a removable drive that answers neither (flash), empty otherwise or when the volume does not
// tell (as under Wine). Once per erase. SolidState is the decision: -1 unknown, 0 no, 1 yes.
std::wstring SolidStateNote(const std::wstring& path);
bool SolidState(int seekPenalty, int trim, bool removable);

// A plain note when the volume holding path keeps shadow copies, which hold what an overwrite
// replaces and which a full drive makes Windows delete; empty when it has none or does not tell
// (copies -1, as under Wine).
std::wstring ShadowCopiesNote(const std::wstring& path);
std::wstring ShadowCopiesNote(int copies, const std::wstring& drive);

}  // namespace engine
