// Wiping a drive's unused space: what deleted files left in the free clusters (and in free file
// records) is overwritten by filling the volume with pseudo-random filler files in a folder of the
// wipe's own, which then goes. Nothing outside that folder is written or deleted, and the volume
// is never left full: on a stop, an error or an exception the fillers go at once, and a folder
// left by a crash or a power cut is found by its marker at the next start and removed.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace engine {

class StopToken;

// The wipe's folder at a drive's root ("X:\Corvane-Sweepmere wipe"), hidden, with its marker.
std::wstring FillerFolder(wchar_t drive);

struct WipeStatus {
    wchar_t drive = 0;
    unsigned long long written = 0;      // bytes of filler written so far
    unsigned long long freeAtStart = 0;  // the drive's free bytes when the wipe began
    double bytesPerSecond = 0;
    double secondsLeft = 0;              // until the free space is filled; 0 when unknown
    unsigned records = 0;                // free file records overwritten so far (after the clusters)
};
// Called on the wipe's thread after every block written (4 MiB, smaller at the very end) and every
// file record: whoever shows it chooses how often to.
using WipeProgress = std::function<void(const WipeStatus&)>;

struct WipeResult {
    wchar_t drive = 0;
    bool complete = false;                // filled to the last cluster and cleaned up
    bool stopped = false;                 // a stop request ended it; the fillers are gone
    std::wstring failure;                 // why it was refused or could not go on; empty otherwise
    unsigned long long bytesWiped = 0;
    unsigned long long freeAtStart = 0;
    unsigned long long freeAfter = 0;     // said whatever went wrong
    unsigned long long bytesLeft = 0;     // filler that could not be removed (someone holds it)
    unsigned fileRecords = 0;             // free file records overwritten by small files
    double seconds = 0;
    std::wstring solidStateNote;          // see SolidStateNote
    std::wstring logProblem;              // why the wipe's line could not be logged; empty when it was
    std::wstring shadowCopiesNote;        // see ShadowCopiesNote
};

// What a drive's wipe did, for the console and the log: "T:  bytes wiped: 62914560, file records
// wiped: 12, time taken: 3.2 s", or why it was cancelled, refused or stopped; the notes after "; ".
std::wstring WipeLine(const WipeResult& result);

// Why a drive cannot be wiped (not there, a network drive, a CD/DVD drive, read-only), naming the
// drive; empty when it can.
std::wstring WipeRefusal(wchar_t drive);

// Wipes the unused space of one drive; returns when it is done, stopped or failed, the fillers
// always removed. Its line goes to the log.
WipeResult WipeUnusedSpace(wchar_t drive, const WipeProgress& progress, const StopToken& stop);

// The size of the volume's file records: the size it answered when that is one, else 4096 on a
// disk of 4096-byte sectors (formatted so) and 1024 elsewhere.
unsigned long RecordBytes(unsigned long answered, unsigned long bytesPerSector);
// How many bytes a file needs to fill a file record of recordBytes whose name has nameChars
// characters: what the record's header, standard information, name and data attribute header leave.
unsigned RecordFillBytes(unsigned long recordBytes, size_t nameChars);

// Removes the fillers a crashed wipe left on the fixed and removable drives: only folders with the
// wipe's name whose marker says what they are, and in them only the wipe's own files. Returns the
// folders removed; those that could not be are added to failures with the reason.
std::vector<std::wstring> RemoveLeftoverFillers(std::vector<std::wstring>* failures = nullptr);
// What both programs tell the user once after RemoveLeftoverFillers; empty when nothing was found.
std::wstring LeftoverFillersText(const std::vector<std::wstring>& removed, const std::vector<std::wstring>& failures);

}  // namespace engine
