#include "UnusedSpace.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cwctype>

#include "AlignedBuffer.h"
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
constexpr DWORD kRecordBytes = 640;                    // small enough to stay inside a file record
constexpr unsigned kRecordsMax = 200000;
const wchar_t kFolderName[] = L"Corvane-Sweepmere wipe";
const wchar_t kMarkerName[] = L"marker.txt";
const char kMarkerText[] =
    "Corvane-Sweepmere unused-space wipe\r\n"
    "This folder holds the filler files of a wipe of this drive's unused space. It is removed when the\r\n"
    "wipe ends, or at the next start of Corvane-Sweepmere if the wipe could not end.\r\n";

std::wstring DriveName(wchar_t drive) { return std::wstring(1, static_cast<wchar_t>(std::towupper(drive))) + L":"; }

// The final path of the wipe's folder, when it is a plain folder (no link); empty otherwise.
std::wstring FinalFolder(const std::wstring& folder) {
    HANDLE h = ::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    BY_HANDLE_FILE_INFORMATION info{};
    wchar_t final[MAX_PATH * 2] = L"";
    const bool plain = ::GetFileInformationByHandle(h, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                       !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    const DWORD n = plain ? ::GetFinalPathNameByHandleW(h, final, MAX_PATH * 2, FILE_NAME_NORMALIZED) : 0;
    ::CloseHandle(h);
    return n && n < MAX_PATH * 2 ? std::wstring(final, n) : std::wstring();
}

// Deletes one file of the wipe's folder through a handle, only when it is a plain file with one
// name whose final path is the folder's plus its name: nothing else is ever touched.
bool DeleteOwnFile(const std::wstring& folder, const std::wstring& finalFolder, const std::wstring& name) {
    HANDLE h = ::CreateFileW((folder + L"\\" + name).c_str(), DELETE | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    BY_HANDLE_FILE_INFORMATION info{};
    wchar_t final[MAX_PATH * 2] = L"";
    bool own = ::GetFileInformationByHandle(h, &info) && info.nNumberOfLinks == 1 &&
               !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    own = own && ::GetFinalPathNameByHandleW(h, final, MAX_PATH * 2, FILE_NAME_NORMALIZED) < MAX_PATH * 2 &&
          finalFolder + L"\\" + name == final;
    FILE_DISPOSITION_INFO dispose{TRUE};
    const bool deleted = own && ::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose);
    ::CloseHandle(h);
    return deleted;
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
    HANDLE h = ::CreateFileW((folder + L"\\" + kMarkerName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    char text[sizeof kMarkerText] = "";
    DWORD got = 0;
    ::ReadFile(h, text, sizeof text - 1, &got, nullptr);
    ::CloseHandle(h);
    return got == sizeof kMarkerText - 1 && std::equal(text, text + got, kMarkerText);
}

// Removes a marked folder's own files and then the folder; false with the reason when anything stays.
bool RemoveFolder(const std::wstring& folder, std::wstring& reason) {
    const std::wstring final = FinalFolder(folder);
    if (final.empty()) {
        reason = folder + L": it is not a plain folder and was left alone.";
        return false;
    }
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW d;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &d);
    if (find != INVALID_HANDLE_VALUE) {
        do
            if (IsOwnName(d.cFileName)) names.push_back(d.cFileName);
        while (::FindNextFileW(find, &d));
        ::FindClose(find);
    }
    // The marker last: a folder that could not be emptied is still recognised next time.
    std::stable_partition(names.begin(), names.end(), [](const std::wstring& n) { return n != kMarkerName; });
    for (const std::wstring& name : names)
        if (!DeleteOwnFile(folder, final, name)) {
            reason = Reason(folder + L"\\" + name, ::GetLastError());
            return false;
        }
    if (::RemoveDirectoryW(folder.c_str())) return true;
    reason = Reason(folder, ::GetLastError());
    return false;
}

// The fillers of one wipe. Whatever ends the wipe, the destructor removes them.
class Fillers {
public:
    explicit Fillers(wchar_t drive) : m_folder(FillerFolder(drive)) {}
    ~Fillers() {
        std::wstring reason;
        Remove(reason);
    }
    // Makes the folder and its marker; false with the reason.
    bool Make(std::wstring& reason);
    // A new filler file, opened for unbuffered write-through writes.
    HANDLE NewFile(const wchar_t* prefix, DWORD flags);
    bool Remove(std::wstring& reason);

private:
    std::wstring m_folder;
    bool m_made = false;
    unsigned m_next = 0;
};

bool Fillers::Make(std::wstring& reason) {
    if (::GetFileAttributesW(m_folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (!HasMarker(m_folder)) {
            reason = m_folder + L" is there and is not a wipe's folder: it was left alone, and nothing was wiped.";
            return false;
        }
        if (!RemoveFolder(m_folder, reason)) return false;
    }
    if (!::CreateDirectoryW(m_folder.c_str(), nullptr)) {
        reason = Reason(m_folder, ::GetLastError());
        return false;
    }
    m_made = true;
    ::SetFileAttributesW(m_folder.c_str(), FILE_ATTRIBUTE_HIDDEN);
    HANDLE h = ::CreateFileW((m_folder + L"\\" + kMarkerName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    DWORD done = 0;
    const bool written = h != INVALID_HANDLE_VALUE &&
                         ::WriteFile(h, kMarkerText, sizeof kMarkerText - 1, &done, nullptr) && done == sizeof kMarkerText - 1;
    const DWORD error = ::GetLastError();
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    if (!written) reason = Reason(m_folder + L"\\" + kMarkerName, error);
    return written;
}

HANDLE Fillers::NewFile(const wchar_t* prefix, DWORD flags) {
    wchar_t name[32];
    swprintf(name, 32, L"%ls%06u.bin", prefix, m_next++);
    return ::CreateFileW((m_folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_HIDDEN | flags, nullptr);
}

bool Fillers::Remove(std::wstring& reason) {
    if (!m_made) return true;
    m_made = !RemoveFolder(m_folder, reason);
    return !m_made;
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
    // Flushed before it goes: a system that keeps write-through data in its cache (Wine does) would
    // otherwise drop it unwritten when the filler is deleted. Not after a stop: then only a quick
    // end counts.
    auto close = [&] {
        if (h != INVALID_HANDLE_VALUE) {
            if (!stop.Requested()) ::FlushFileBuffers(h);
            ::CloseHandle(h);
        }
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

// Small files until the volume refuses another: each overwrites a free file record.
void FillRecords(Fillers& fillers, const StopToken& stop, WipeResult& result) {
    unsigned char data[kRecordBytes];
    RandomStream random;
    while (!stop.Requested() && result.fileRecords < kRecordsMax) {
        HANDLE h = fillers.NewFile(L"rec", 0);
        if (h == INVALID_HANDLE_VALUE) return;
        random.Fill(data, sizeof data);
        DWORD done = 0;
        const bool wrote = ::WriteFile(h, data, sizeof data, &done, nullptr) && done == sizeof data && ::FlushFileBuffers(h);
        ::CloseHandle(h);
        if (!wrote) return;
        ++result.fileRecords;
    }
}

unsigned long long FreeBytes(const std::wstring& root) {
    ULARGE_INTEGER free{};
    return ::GetDiskFreeSpaceExW(root.c_str(), &free, nullptr, nullptr) ? free.QuadPart : 0;
}

}  // namespace

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

    auto tell = [&] {
        if (!progress) return;
        const auto now = Clock::now();
        WipeStatus s;
        s.drive = result.drive;
        s.written = result.bytesWiped;
        s.freeAtStart = result.freeAtStart;
        const double seconds = std::chrono::duration<double>(now - start).count();
        s.bytesPerSecond = seconds > 0 ? s.written / seconds : 0;
        if (s.bytesPerSecond > 0 && s.freeAtStart > s.written) s.secondsLeft = (s.freeAtStart - s.written) / s.bytesPerSecond;
        progress(s);
    };
    {
        Fillers fillers(drive);
        if (fillers.Make(result.failure) && FillClusters(fillers, cluster, stop, result, tell))
            FillRecords(fillers, stop, result);
        result.stopped = stop.Requested();
        std::wstring reason;
        if (!fillers.Remove(reason) && result.failure.empty()) result.failure = reason;
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
    if (r.stopped) line += L"cancelled after " + written + L"; the filler was removed";
    else if (!r.failure.empty()) line += (r.bytesWiped ? L"stopped after " + written + L": " : L"not wiped: ") + r.failure;
    else
        line += L"bytes wiped: " + std::to_wstring(r.bytesWiped) + L", file records wiped: " + std::to_wstring(r.fileRecords) +
                L", time taken: " + seconds;
    if (!r.solidStateNote.empty()) line += L"; " + r.solidStateNote;
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
