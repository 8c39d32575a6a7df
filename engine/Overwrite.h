// Overwriting a file's content before its name goes, for the one delete path. A deleted file's
// clusters keep its bytes until something else is written there; overwriting them first leaves
// nothing for a recovery tool. What cannot be overwritten in place is only deleted, and says why.
#pragma once
#include <windows.h>

#include <string>

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
// goes too), but never more than the file holds on disk (a small file inside its file record
// would be moved out of it, leaving the record's copy).
unsigned long long OverwriteLength(unsigned long long size, unsigned long long allocation, unsigned long cluster);

// Overwrites the file behind h with `passes` (1 to 3) passes of pseudo-random data over its length
// rounded up to the volume's cluster size (never beyond what the file holds on disk), in large
// writes, flushed after each pass; renames it to a random name of the same length in the same
// folder, sets its length to 0 and marks it for deletion, all through h (it goes when h is closed).
// path: the file's full path. note: for DeletedOnly why it was not overwritten (one line, the same
// for every file of the same reason); for Stayed, GetLastError() tells why. A stop request ends the
// writing; the file is then deleted with a note.
Disposal OverwriteAndDelete(HANDLE h, const std::wstring& path, unsigned passes, std::wstring& note,
                            const StopToken* stop = nullptr);

// A file in use: asks for its deletion at the next restart (the system lets administrators only).
// True when scheduled. RestartNote() is the line the report then carries.
bool DeleteAtRestart(const std::wstring& path);
std::wstring RestartNote();

// A plain note when the volume holding path is a solid-state drive (no seek penalty, or TRIM),
// empty when it is not or when the volume does not tell (as under Wine). Once per erase.
std::wstring SolidStateNote(const std::wstring& path);

}  // namespace engine
