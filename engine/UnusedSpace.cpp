#include "UnusedSpace.h"

#include <windows.h>
#include <sddl.h>
#include <winioctl.h>

#include <algorithm>
#include <chrono>
#include <cwctype>

#include "AlignedBuffer.h"
#include "Handles.h"
#include "LogFile.h"
#include "Overwrite.h"
#include "Random.h"
#include "Text.h"
#include "Worker.h"

namespace engine {

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kBlock = 4 << 20;                    // unbuffered writes this large keep a disk busy
constexpr unsigned long long kFillerMax = 1ull << 30;  // below every file system's largest file
constexpr DWORD kReserve = 1 << 20;                    // room for the file-record stage's index
constexpr int kRemoveAttempts = 20;                // a filler held by someone else is tried again
constexpr DWORD kRemovePause = 100;                // for two seconds
const wchar_t kFolderName[] = L"Corvane-Sweepmere wipe";
const wchar_t kMarkerName[] = L"marker.txt";
const char kMarkerText[] =
    "Corvane-Sweepmere unused-space wipe\r\n"
    "This folder holds the filler files of a wipe of this drive's unused space. It is removed when the\r\n"
    "wipe ends, or at the next start of Corvane-Sweepmere if the wipe could not end.\r\n";

std::wstring DriveName(wchar_t drive) { return std::wstring(1, static_cast<wchar_t>(std::towupper(drive))) + L":"; }

// The final path of the wipe's folder, when it is a plain folder (no link); empty otherwise.
std::wstring FinalFolder(const std::wstring& folder) {
    Handle h(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!h) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    wchar_t final[MAX_PATH * 2] = L"";
    const bool plain = ::GetFileInformationByHandle(h.Get(), &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                       !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    const DWORD n = plain ? ::GetFinalPathNameByHandleW(h.Get(), final, MAX_PATH * 2, FILE_NAME_NORMALIZED) : 0;
    return n && n < MAX_PATH * 2 ? std::wstring(final, n) : std::wstring();
}

// Deletes one file of the wipe's folder through a handle, only when it is a plain file with one
// name whose final path is the folder's plus its name: nothing else is ever touched.
bool DeleteOwnFile(const std::wstring& folder, const std::wstring& finalFolder, const std::wstring& name) {
    Handle h(::CreateFileW((folder + L"\\" + name).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!h) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    BY_HANDLE_FILE_INFORMATION info{};
    wchar_t final[MAX_PATH * 2] = L"";
    bool own = ::GetFileInformationByHandle(h.Get(), &info) && info.nNumberOfLinks == 1 &&
               !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    own = own && ::GetFinalPathNameByHandleW(h.Get(), final, MAX_PATH * 2, FILE_NAME_NORMALIZED) < MAX_PATH * 2 &&
          finalFolder + L"\\" + name == final;
    FILE_DISPOSITION_INFO dispose{TRUE};
    const bool deleted = own && ::SetFileInformationByHandle(h.Get(), FileDispositionInfo, &dispose, sizeof dispose);
    const DWORD error = ::GetLastError();
    h.Reset();
    // Someone else may hold it open: it is gone only when its name is.
    const bool gone = deleted && ::GetFileAttributesW((folder + L"\\" + name).c_str()) == INVALID_FILE_ATTRIBUTES;
    ::SetLastError(deleted ? ERROR_SHARING_VIOLATION : error);
    return gone;
}

bool IsOwnName(const std::wstring& name) {
    if (name == kMarkerName) return true;
    for (const wchar_t* prefix : {L"fill", L"rec"}) {
        const size_t p = wcslen(prefix);
        if (name.size() > p + 4 && name.compare(0, p, prefix) == 0 && name.compare(name.size() - 4, 4, L".bin") == 0 &&
            std::all_of(name.begin() + p, name.end() - 4, [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
            return true;
    }
    return false;
}

bool HasMarker(const std::wstring& folder) {
    Handle h(::CreateFileW((folder + L"\\" + kMarkerName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!h) return false;
    char text[sizeof kMarkerText] = "";
    DWORD got = 0;
    ::ReadFile(h.Get(), text, sizeof text - 1, &got, nullptr);
    return got == sizeof kMarkerText - 1 && std::equal(text, text + got, kMarkerText);
}

// Removes a marked folder's own files and then the folder, trying every file; false with the
// reason (and the bytes of the files that stayed) when anything stays.
bool RemoveFolder(const std::wstring& folder, std::wstring& reason, unsigned long long* bytesLeft = nullptr) {
    const std::wstring final = FinalFolder(folder);
    if (final.empty()) {
        reason = folder + L": it is not a plain folder and was left alone.";
        return false;
    }
    std::vector<WIN32_FIND_DATAW> files;
    WIN32_FIND_DATAW d;
    FindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &d));
    if (find) {
        do
            if (IsOwnName(d.cFileName) && d.cFileName != std::wstring(kMarkerName)) files.push_back(d);
        while (::FindNextFileW(find.Get(), &d));
    }
    unsigned long long left = 0;
    size_t stayed = 0;
    for (const WIN32_FIND_DATAW& file : files) {
        if (DeleteOwnFile(folder, final, file.cFileName)) continue;
        if (stayed++ == 0) reason = Reason(folder + L"\\" + file.cFileName, ::GetLastError());
        left += (static_cast<unsigned long long>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
    }
    if (bytesLeft) *bytesLeft = left;
    if (stayed) {
        if (stayed > 1) reason += L" (and " + std::to_wstring(stayed - 1) + L" more files of the wipe)";
        return false;  // the marker stays: the folder is still recognised next time
    }
    if (!DeleteOwnFile(folder, final, kMarkerName)) {
        reason = Reason(folder + L"\\" + kMarkerName, ::GetLastError());
        return false;
    }
    if (::RemoveDirectoryW(folder.c_str())) return true;
    reason = Reason(folder, ::GetLastError());
    return false;
}

// The fillers of one wipe, each made delete-on-close and held open to the end: whatever ends the
// process (killed, crashed, logged off) closes them and gives the space back at once. Only a power
// cut leaves them, and the marker then has the next start remove them. The folder is the user's
// and SYSTEM's alone, and held open without delete sharing so that no one can rename it or put a
// link in its place mid-wipe; each filler's final path is checked against it.
class Fillers {
public:
    explicit Fillers(wchar_t drive) : m_folder(FillerFolder(drive)) {}
    ~Fillers() {
        std::wstring reason;
        Remove(reason);
    }
    // Makes the folder and its marker; false with the reason.
    bool Make(std::wstring& reason);
    // A new filler file (held by the fillers), or INVALID_HANDLE_VALUE with the error.
    HANDLE NewFile(const wchar_t* prefix, DWORD flags);
    HANDLE Folder() const { return m_dir.Get(); }
    // Lets one filler go now (the fillers are held raw, as this class owns them): emptied first, as a full volume may have no room left for the change
    // that a deletion writes (ntfs-3g then keeps the file).
    void Drop(HANDLE h) {
        m_files.erase(std::remove(m_files.begin(), m_files.end(), h), m_files.end());
        FILE_END_OF_FILE_INFO empty{};
        ::SetFileInformationByHandle(h, FileEndOfFileInfo, &empty, sizeof empty);
        ::CloseHandle(h);
    }
    // Lets every filler go, then the marker and the folder; false with the reason, and the bytes
    // of the fillers that stayed, when anything stays.
    bool Remove(std::wstring& reason, unsigned long long* bytesLeft = nullptr);

private:
    std::wstring m_folder, m_final;
    Handle m_dir;
    std::vector<HANDLE> m_files;
    unsigned m_next = 0;
};

// A folder only the user and SYSTEM may open, with what it holds inheriting that.
bool PrivateFolder(const std::wstring& folder) {
    const std::wstring sid = UserSidText();
    if (sid.empty()) return false;
    const std::wstring sddl = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;" + sid + L")";
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, FALSE};
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &sa.lpSecurityDescriptor,
                                                                nullptr))
        return false;
    const bool made = ::CreateDirectoryW(folder.c_str(), &sa) != FALSE;
    const DWORD error = ::GetLastError();
    ::LocalFree(sa.lpSecurityDescriptor);
    ::SetLastError(error);
    return made;
}

bool Fillers::Make(std::wstring& reason) {
    if (::GetFileAttributesW(m_folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (!HasMarker(m_folder)) {
            reason = m_folder + L" is there and is not a wipe's folder: it was left alone, and nothing was wiped.";
            return false;
        }
        if (!RemoveFolder(m_folder, reason)) return false;
    }
    if (!PrivateFolder(m_folder)) {
        reason = Reason(m_folder, ::GetLastError());
        return false;
    }
    m_dir = Handle(::CreateFileW(m_folder.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    m_final = m_dir ? FinalFolder(m_folder) : std::wstring();
    if (m_final.empty()) {
        reason = Reason(m_folder, ::GetLastError());
        return false;
    }
    FILE_BASIC_INFO hidden{};
    hidden.FileAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY;
    ::SetFileInformationByHandle(m_dir.Get(), FileBasicInfo, &hidden, sizeof hidden);
    Handle h(::CreateFileW((m_folder + L"\\" + kMarkerName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    DWORD done = 0;
    const bool written =
        h && ::WriteFile(h.Get(), kMarkerText, sizeof kMarkerText - 1, &done, nullptr) && done == sizeof kMarkerText - 1;
    const DWORD error = ::GetLastError();
    h.Reset();
    if (!written) reason = Reason(m_folder + L"\\" + kMarkerName, error);
    return written;
}

HANDLE Fillers::NewFile(const wchar_t* prefix, DWORD flags) {
    wchar_t name[32];
    swprintf(name, 32, L"%ls%06u.bin", prefix, m_next++);
    Handle h(::CreateFileW((m_folder + L"\\" + name).c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                           nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE | flags, nullptr));
    if (!h) return INVALID_HANDLE_VALUE;
    wchar_t final[MAX_PATH * 2] = L"";
    const DWORD n = ::GetFinalPathNameByHandleW(h.Get(), final, MAX_PATH * 2, FILE_NAME_NORMALIZED);
    if (n == 0 || n >= MAX_PATH * 2 || m_final + L"\\" + name != final) {
        h.Reset();  // made here a moment ago, wherever that is: it goes as it closes
        ::SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    m_files.push_back(h.Detach());
    return m_files.back();
}

bool Fillers::Remove(std::wstring& reason, unsigned long long* bytesLeft) {
    if (!m_dir) return true;
    while (!m_files.empty()) Drop(m_files.back());
    m_dir.Reset();
    // A filler someone else still holds stays until they let go: the others go meanwhile.
    for (int attempt = 0;; ++attempt) {
        if (RemoveFolder(m_folder, reason, bytesLeft)) return true;
        if (attempt == kRemoveAttempts) return false;
        ::Sleep(kRemovePause);
    }
}

// A removable drive with no medium in it answers with an error, not with the system's "no disk"
// box: the scan at every start must never stop on a question.
class NoDriveBoxes {
public:
    NoDriveBoxes() { ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &m_old); }
    ~NoDriveBoxes() { ::SetThreadErrorMode(m_old, nullptr); }

private:
    DWORD m_old = 0;
};

bool DiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

// Fills the free clusters: large blocks until the volume is full, then smaller ones down to one
// cluster. False with the reason on an error that is not a full disk.
bool FillClusters(Fillers& fillers, unsigned long cluster, const StopToken& stop, WipeResult& result,
                  const std::function<void()>& tell) {
    AlignedBuffer buffer(kBlock);
    if (!buffer.data()) {
        result.failure = ErrorText(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    RandomStream random;
    size_t block = kBlock;
    HANDLE h = INVALID_HANDLE_VALUE;
    unsigned long long inFile = 0;
    // Flushed when full: a system that keeps write-through data in its cache (Wine does) would
    // otherwise drop it unwritten when the filler is deleted. Not after a stop: then only a quick
    // end counts. The fillers keep the handle to the end.
    auto close = [&] {
        if (h != INVALID_HANDLE_VALUE && !stop.Requested()) ::FlushFileBuffers(h);
        h = INVALID_HANDLE_VALUE;
        inFile = 0;
    };
    while (!stop.Requested()) {
        if (h == INVALID_HANDLE_VALUE || inFile >= kFillerMax) {
            close();
            h = fillers.NewFile(L"fill", FILE_FLAG_NO_BUFFERING | FILE_FLAG_WRITE_THROUGH);
            if (h == INVALID_HANDLE_VALUE) {
                const DWORD error = ::GetLastError();
                if (DiskFull(error)) break;  // not even a new name fits: full
                result.failure = Reason(L"A filler file could not be made", error);
                return false;
            }
        }
        random.Fill(buffer.data(), block);
        DWORD done = 0;
        const bool wrote = ::WriteFile(h, buffer.data(), static_cast<DWORD>(block), &done, nullptr);
        const DWORD error = wrote ? ERROR_DISK_FULL : ::GetLastError();
        result.bytesWiped += done;
        inFile += done;
        tell();
        if (wrote && done == block) continue;
        if (!DiskFull(error)) {
            close();
            result.failure = Reason(L"Filling stopped", error);
            return false;
        }
        if (block <= cluster) break;
        block = std::max<size_t>(cluster, block / 2 / cluster * cluster);
        if (done) close();  // a part written leaves the file's end unaligned: go on in a new file
    }
    close();
    return true;
}

// The reserve for the file-record stage: random like every filler, as its clusters stay written.
bool WriteReserve(Fillers& fillers, HANDLE& h, WipeResult& result) {
    h = fillers.NewFile(L"fill", FILE_FLAG_WRITE_THROUGH);
    std::vector<unsigned char> data(kReserve);
    RandomStream().Fill(data.data(), data.size());
    DWORD done = 0;
    if (h != INVALID_HANDLE_VALUE && ::WriteFile(h, data.data(), kReserve, &done, nullptr)) ::FlushFileBuffers(h);
    result.bytesWiped += done;
    if (h != INVALID_HANDLE_VALUE) return true;
    result.failure = Reason(L"A filler file could not be made", ::GetLastError());
    return false;
}

// The volume's file-record size, asked through the folder's handle (then the volume's); what the
// volume does not tell is decided from its sector size.
unsigned long AskRecordBytes(HANDLE folder, const std::wstring& root, unsigned long bytesPerSector) {
    NTFS_VOLUME_DATA_BUFFER data{};
    DWORD got = 0;
    if (::DeviceIoControl(folder, FSCTL_GET_NTFS_VOLUME_DATA, nullptr, 0, &data, sizeof data, &got, nullptr))
        return RecordBytes(data.BytesPerFileRecordSegment, bytesPerSector);
    Handle volume(::CreateFileW((L"\\\\.\\" + root.substr(0, 2)).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    unsigned long answered = 0;
    if (volume && ::DeviceIoControl(volume.Get(), FSCTL_GET_NTFS_VOLUME_DATA, nullptr, 0, &data, sizeof data, &got, nullptr))
        answered = data.BytesPerFileRecordSegment;
    return RecordBytes(answered, bytesPerSector);
}

// Small files, each filling a free file record, until the volume refuses another. A refusal that
// is not a full volume (too many files open, say) is said: the records after it were not reached.
void FillRecords(Fillers& fillers, unsigned long recordBytes, const StopToken& stop, WipeResult& result,
                 const std::function<void()>& tell) {
    const unsigned size = RecordFillBytes(recordBytes, wcslen(L"rec000000.bin"));
    std::vector<unsigned char> data(size);
    RandomStream random;
    while (!stop.Requested()) {
        HANDLE h = fillers.NewFile(L"rec", 0);
        random.Fill(data.data(), size);
        DWORD done = 0;
        // No flush per record: the driver writes a record as the file is deleted, and a flush each
        // made the wipe of the NTFS test volume three times slower.
        const bool wrote = h != INVALID_HANDLE_VALUE && ::WriteFile(h, data.data(), size, &done, nullptr) &&
                           done == size;
        const DWORD error = wrote ? 0 : ::GetLastError();
        if (!wrote) {
            if (!DiskFull(error))
                result.failure = Reason(L"The file records were wiped up to the " + std::to_wstring(result.fileRecords) +
                                        L"th only", error);
            return;
        }
        ++result.fileRecords;
        tell();
    }
}

unsigned long long FreeBytes(const std::wstring& root) {
    ULARGE_INTEGER free{};
    return ::GetDiskFreeSpaceExW(root.c_str(), &free, nullptr, nullptr) ? free.QuadPart : 0;
}

}  // namespace

unsigned long RecordBytes(unsigned long answered, unsigned long bytesPerSector) {
    if (answered >= 1024 && answered <= 65536 && (answered & (answered - 1)) == 0) return answered;
    return bytesPerSector >= 4096 ? 4096 : 1024;
}

unsigned RecordFillBytes(unsigned long recordBytes, size_t nameChars) {
    // Header with its fix-up array, standard information, the name (8-byte aligned), the data
    // attribute's header, the end mark.
    // A margin of 80 bytes: a driver that finds the record too full writes the file to clusters
    // instead (ntfs-3g moves a 664-byte file of a 13-character name out of a 1024-byte record).
    const size_t used = 0x38 + 0x60 + ((0x18 + 0x42 + 2 * nameChars + 7) & ~size_t(7)) + 0x18 + 8 + 80;
    return recordBytes > used ? static_cast<unsigned>(recordBytes - used) : 1;
}

std::wstring FillerFolder(wchar_t drive) { return DriveName(drive) + L"\\" + kFolderName; }

std::wstring WipeRefusal(wchar_t drive) {
    NoDriveBoxes quiet;
    const wchar_t d = static_cast<wchar_t>(std::towupper(drive));
    const std::wstring name = DriveName(d);
    if (d < L'A' || d > L'Z' || !(::GetLogicalDrives() & (1u << (d - L'A'))))
        return name + L" is not a drive of this computer.";
    const std::wstring root = name + L"\\";
    switch (::GetDriveTypeW(root.c_str())) {
        case DRIVE_REMOTE: return name + L" is a network drive: only this computer's own drives are wiped.";
        case DRIVE_CDROM: return name + L" is a CD or DVD drive: its unused space cannot be wiped.";
        case DRIVE_UNKNOWN:
        case DRIVE_NO_ROOT_DIR: return name + L" is not there.";
        default: break;
    }
    DWORD flags = 0;
    if (!::GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0))
        return Reason(name + L" cannot be read", ::GetLastError());
    if (flags & FILE_READ_ONLY_VOLUME) return name + L" is read-only: nothing can be written to it.";
    return {};
}

static WipeResult WipeDrive(wchar_t drive, const WipeProgress& progress, const StopToken& stop) {
    WipeResult result;
    result.drive = static_cast<wchar_t>(std::towupper(drive));
    result.failure = WipeRefusal(drive);
    if (!result.failure.empty()) return result;
    const std::wstring root = DriveName(drive) + L"\\";
    const auto start = Clock::now();
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!::GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) {
        result.failure = Reason(root, ::GetLastError());
        return result;
    }
    const unsigned long cluster = std::max<unsigned long>(sectorsPerCluster * bytesPerSector, 512);
    result.freeAtStart = FreeBytes(root);
    result.solidStateNote = SolidStateNote(root);
    result.shadowCopiesNote = ShadowCopiesNote(root);

    auto tell = [&] {
        if (!progress) return;
        const auto now = Clock::now();
        WipeStatus s;
        s.drive = result.drive;
        s.written = result.bytesWiped;
        s.freeAtStart = result.freeAtStart;
        s.records = result.fileRecords;
        const double seconds = std::chrono::duration<double>(now - start).count();
        s.bytesPerSecond = seconds > 0 ? s.written / seconds : 0;
        if (s.bytesPerSecond > 0 && s.freeAtStart > s.written) s.secondsLeft = (s.freeAtStart - s.written) / s.bytesPerSecond;
        progress(s);
    };
    {
        Fillers fillers(drive);
        // A full volume has no room for the index entries of the file-record stage's files (nor, on
        // NTFS, for the file records themselves to stay small): a reserve written first is let go
        // for that stage, and what that stage leaves is filled after it.
        HANDLE reserve = INVALID_HANDLE_VALUE;
        if (fillers.Make(result.failure) && WriteReserve(fillers, reserve, result) &&
            FillClusters(fillers, cluster, stop, result, tell)) {
            fillers.Drop(reserve);
            FillRecords(fillers, AskRecordBytes(fillers.Folder(), root, bytesPerSector), stop, result, tell);
            if (!stop.Requested() && result.failure.empty()) FillClusters(fillers, cluster, stop, result, tell);
        }
        result.stopped = stop.Requested();
        std::wstring reason;
        if (!fillers.Remove(reason, &result.bytesLeft) && result.failure.empty()) result.failure = reason;
    }
    result.complete = !result.stopped && result.failure.empty();
    result.freeAfter = FreeBytes(root);
    result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return result;
}

std::wstring WipeLine(const WipeResult& r) {
    std::wstring line = DriveName(r.drive) + L"  ";
    const std::wstring written = std::to_wstring(r.bytesWiped) + L" bytes written";
    wchar_t seconds[32];
    swprintf(seconds, 32, L"%.1f s", r.seconds);
    if (r.stopped) line += L"cancelled after " + written + (r.bytesLeft ? L"" : L"; the filler was removed");
    else if (!r.failure.empty()) line += (r.bytesWiped ? L"stopped after " + written + L": " : L"not wiped: ") + r.failure;
    else
        line += L"bytes wiped: " + std::to_wstring(r.bytesWiped) + L", file records wiped: " + std::to_wstring(r.fileRecords) +
                L", time taken: " + seconds;
    if (r.bytesLeft) line += L"; " + std::to_wstring(r.bytesLeft) + L" bytes of filler could not be removed yet";
    if (!r.complete && r.bytesWiped) line += L"; free space now: " + std::to_wstring(r.freeAfter) + L" bytes";
    for (const std::wstring* note : {&r.solidStateNote, &r.shadowCopiesNote})
        if (!note->empty()) line += L"; " + *note;
    if (!r.logProblem.empty()) line += L"; the log could not be written: " + r.logProblem;
    return line;
}

WipeResult WipeUnusedSpace(wchar_t drive, const WipeProgress& progress, const StopToken& stop) {
    WipeResult result = WipeDrive(drive, progress, stop);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    result.logProblem = AppendToLog({LogLine(now, L"unused-space." + WipeLine(result))});
    return result;
}

std::vector<std::wstring> RemoveLeftoverFillers(std::vector<std::wstring>* failures) {
    std::vector<std::wstring> removed;
    NoDriveBoxes quiet;
    const DWORD drives = ::GetLogicalDrives();
    for (wchar_t d = L'A'; d <= L'Z'; ++d) {
        if (!(drives & (1u << (d - L'A')))) continue;
        const std::wstring root = DriveName(d) + L"\\";
        const UINT type = ::GetDriveTypeW(root.c_str());
        if (type != DRIVE_FIXED && type != DRIVE_REMOVABLE) continue;
        const std::wstring folder = FillerFolder(d);
        if (!HasMarker(folder)) continue;
        std::wstring reason;
        if (RemoveFolder(folder, reason)) removed.push_back(folder);
        else if (failures) failures->push_back(reason);
    }
    return removed;
}

std::wstring LeftoverFillersText(const std::vector<std::wstring>& removed, const std::vector<std::wstring>& failures) {
    std::wstring text;
    if (!removed.empty()) {
        text = L"A wipe of unused space did not end the last time (the program or the computer stopped during it). "
               L"Its filler, which kept the disk full, has been removed:\n";
        for (const std::wstring& folder : removed) text += folder + L"\n";
    }
    if (!failures.empty()) {
        text += (text.empty() ? L"" : L"\n") + std::wstring(L"The filler of an unfinished wipe could not be removed:\n");
        for (const std::wstring& why : failures) text += why + L"\n";
    }
    return text;
}

}  // namespace engine
