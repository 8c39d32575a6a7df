#include "Overwrite.h"

#include <winioctl.h>
#include <winternl.h>

#include <algorithm>
#include <vector>

#include "AlignedBuffer.h"
#include "Handles.h"
#include "Random.h"
#include "StreamInfo.h"
#include "Text.h"
#include "Worker.h"

namespace engine {

namespace {

constexpr size_t kChunk = 1 << 20;  // large writes: the disk, not the calls, sets the pace

const wchar_t kLinkedNote[] =
    L"Files with more than one name were deleted but not overwritten: their content lives on under their other names.";
const wchar_t kCompressedNote[] =
    L"Compressed, sparse or encrypted files were deleted but not overwritten: the system writes such files to new "
    L"clusters, so their old clusters stay readable until the unused space is wiped.";
const wchar_t kStoppedNote[] = L"Overwriting was stopped: a file was deleted before all of its content was overwritten.";

// The cluster size of the volume holding path, kept for the folder last asked about (a folder
// lies on one volume): the question costs more than overwriting a small file, as a driver may
// count its free records to answer it.
unsigned long ClusterSize(HANDLE h, const std::wstring& path) {
    using Query = NTSTATUS(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, FS_INFORMATION_CLASS);
    static const Query query =
        reinterpret_cast<Query>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryVolumeInformationFile"));
    thread_local std::wstring lastFolder;
    thread_local unsigned long lastCluster = 0;
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    if (lastCluster && !folder.empty() && folder == lastFolder) return lastCluster;
    FILE_FS_SIZE_INFORMATION info{};
    IO_STATUS_BLOCK io{};
    const unsigned long cluster =
        query && query(h, &io, &info, sizeof info, FileFsSizeInformation) >= 0 ? info.SectorsPerAllocationUnit * info.BytesPerSector : 0;
    if (!cluster) return 4096;
    lastFolder = folder;
    lastCluster = cluster;
    return cluster;
}

// One stream per thread, seeded once: seeding costs more than overwriting a small file.
RandomStream& ThreadRandom() {
    thread_local RandomStream random;
    return random;
}

bool SetInfo(HANDLE h, FILE_INFO_BY_HANDLE_CLASS what, void* info, DWORD size) {
    return ::SetFileInformationByHandle(h, what, info, size) != FALSE;
}

bool MarkForDeletion(HANDLE h) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    return SetInfo(h, FileDispositionInfo, &dispose, sizeof dispose);
}

// Writes the passes; false with the error when a write or a flush fails, or when stopped
// (ERROR_CANCELLED).
bool WritePasses(HANDLE h, unsigned long long length, unsigned passes, const StopToken* stop) {
    if (length == 0) return true;
    AlignedBuffer buffer(static_cast<size_t>(std::min<unsigned long long>(length, kChunk)));
    if (!buffer.data()) return false;
    RandomStream& random = ThreadRandom();
    for (unsigned pass = 0; pass < passes; ++pass) {
        LARGE_INTEGER start{};
        if (!::SetFilePointerEx(h, start, nullptr, FILE_BEGIN)) return false;
        for (unsigned long long at = 0; at < length;) {
            if (stop && stop->Requested()) {
                ::SetLastError(ERROR_CANCELLED);
                return false;
            }
            DWORD n = static_cast<DWORD>(std::min<unsigned long long>(length - at, buffer.size())), done = 0;
            random.Fill(buffer.data(), n);
            if (!::WriteFile(h, buffer.data(), n, &done, nullptr)) return false;
            if (done != n) {
                ::SetLastError(ERROR_WRITE_FAULT);
                return false;
            }
            at += n;
        }
        if (!::FlushFileBuffers(h)) return false;
    }
    return true;
}

// The folder of a full path in the form the rename information wants ("\??\C:\dir\").
std::wstring NtFolder(const std::wstring& path, size_t slash) {
    std::wstring folder = path.substr(0, slash + 1);
    if (folder.rfind(L"\\\\?\\", 0) == 0 || folder.rfind(L"\\\\.\\", 0) == 0) return L"\\??\\" + folder.substr(4);
    if (folder.rfind(L"\\\\", 0) == 0) return L"\\??\\UNC\\" + folder.substr(2);
    return L"\\??\\" + folder;
}

// A name of letters and digits, as long as the one it replaces.
std::wstring RandomName(size_t length) {
    static const wchar_t kLetters[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    RandomStream& random = ThreadRandom();
    std::wstring name;
    for (size_t i = 0; i < length; ++i) name += kLetters[random.Next() % 36];
    return name;
}

// A directory entry keeps the last name a file had: the name goes too, as far as a rename can take it.
bool RenameToRandom(HANDLE h, const std::wstring& path) {
    size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == path.size()) return false;
    const std::wstring folder = NtFolder(path, slash);
    const size_t length = path.size() - slash - 1;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const std::wstring target = folder + RandomName(length);
        const DWORD bytes = static_cast<DWORD>(target.size() * sizeof(wchar_t));
        std::vector<unsigned char> data(sizeof(FILE_RENAME_INFO) + bytes);
        auto* info = reinterpret_cast<FILE_RENAME_INFO*>(data.data());
        info->FileNameLength = bytes;
        std::copy(target.begin(), target.end(), info->FileName);
        if (SetInfo(h, FileRenameInfo, info, static_cast<DWORD>(data.size()))) return true;
    }
    return false;
}

// Overwrites the named streams of the file behind h, each opened relative to h (never by a path
// that could lead elsewhere). True when there are none, or when the volume keeps none (FAT, Wine).
bool OverwriteStreams(HANDLE h, unsigned passes, unsigned long cluster, const StopToken* stop) {
    std::vector<unsigned char> info(64 * 1024);
    if (!::GetFileInformationByHandleEx(h, FileStreamInfo, info.data(), static_cast<DWORD>(info.size()))) return true;
    using Create = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER, ULONG,
                                    ULONG, ULONG, ULONG, PVOID, ULONG);
    static const Create create =
        reinterpret_cast<Create>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtCreateFile"));
    for (std::wstring name : NamedStreams(info.data(), info.size())) {
        UNICODE_STRING text{static_cast<USHORT>(name.size() * sizeof(wchar_t)), static_cast<USHORT>(name.size() * sizeof(wchar_t)),
                            &name[0]};
        OBJECT_ATTRIBUTES attributes{};
        attributes.Length = sizeof attributes;
        attributes.RootDirectory = h;  // the stream's name is relative to its file
        attributes.ObjectName = &text;
        attributes.Attributes = OBJ_CASE_INSENSITIVE;
        IO_STATUS_BLOCK io{};
        Handle stream;
        constexpr ULONG kOpen = 1, kSynchronous = 0x20, kNonDirectory = 0x40;  // FILE_OPEN, FILE_SYNCHRONOUS_IO_NONALERT, ...
        if (!create || create(stream.Put(), GENERIC_READ | GENERIC_WRITE | SYNCHRONIZE, &attributes, &io, nullptr, 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, kOpen, kSynchronous | kNonDirectory,
                              nullptr, 0) < 0)
            return false;
        FILE_STANDARD_INFO standard{};
        bool written = ::GetFileInformationByHandleEx(stream.Get(), FileStandardInfo, &standard, sizeof standard) &&
                       WritePasses(stream.Get(),
                                   OverwriteLength(static_cast<unsigned long long>(standard.EndOfFile.QuadPart),
                                                   static_cast<unsigned long long>(standard.AllocationSize.QuadPart), cluster),
                                   passes, stop);
        const DWORD error = ::GetLastError();
        FILE_END_OF_FILE_INFO empty{};
        SetInfo(stream.Get(), FileEndOfFileInfo, &empty, sizeof empty);
        stream.Reset();
        if (!written) {
            ::SetLastError(error);
            return false;
        }
    }
    return true;
}

Disposal DeleteOnly(HANDLE h, std::wstring& note, const std::wstring& why) {
    if (!MarkForDeletion(h)) return Disposal::Stayed;
    note = why;
    return Disposal::DeletedOnly;
}

}  // namespace

Plan PlanFor(unsigned long attributes, unsigned long numberOfLinks) {
    if (numberOfLinks > 1) return Plan::DeleteOnlyLinked;
    if (attributes & (FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_SPARSE_FILE | FILE_ATTRIBUTE_ENCRYPTED))
        return Plan::DeleteOnlyCompressed;
    return Plan::Overwrite;
}

unsigned long long OverwriteLength(unsigned long long size, unsigned long long allocation, unsigned long cluster) {
    // No whole clusters: the content may live inside its file record, and a write past its end
    // would move it out to a cluster, leaving the record's copy as it was.
    if (cluster == 0 || allocation % cluster != 0) return size;
    const unsigned long long rounded = (size + cluster - 1) / cluster * cluster;
    return allocation < rounded ? size : rounded;
}

Disposal OverwriteAndDelete(HANDLE h, const std::wstring& path, unsigned passes, std::wstring& note,
                            const StopToken* stop) {
    note.clear();
    // The handle's own classes: the by-handle call would also ask the volume for its serial number.
    FILE_BASIC_INFO basic{};
    FILE_STANDARD_INFO standard{};
    if (!::GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) ||
        !::GetFileInformationByHandleEx(h, FileStandardInfo, &standard, sizeof standard))
        return Disposal::Stayed;
    switch (PlanFor(basic.FileAttributes, standard.NumberOfLinks)) {
        case Plan::DeleteOnlyLinked: return DeleteOnly(h, note, kLinkedNote);
        case Plan::DeleteOnlyCompressed: return DeleteOnly(h, note, kCompressedNote);
        case Plan::Overwrite: break;
    }
    // One name only: its attributes are its own to change, and a read-only file cannot be deleted.
    if (basic.FileAttributes & FILE_ATTRIBUTE_READONLY) {
        const DWORD rest = basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY;
        basic = FILE_BASIC_INFO{};  // zero times: leave them as they are
        basic.FileAttributes = rest ? rest : FILE_ATTRIBUTE_NORMAL;  // 0 would mean "leave as is"
        if (!SetInfo(h, FileBasicInfo, &basic, sizeof basic)) return Disposal::Stayed;
    }
    const unsigned long cluster = ClusterSize(h, path);
    const unsigned long long length = OverwriteLength(static_cast<unsigned long long>(standard.EndOfFile.QuadPart),
                                                      static_cast<unsigned long long>(standard.AllocationSize.QuadPart),
                                                      cluster);
    if (!WritePasses(h, length, std::min(std::max(passes, 1u), 3u), stop)) {
        const DWORD error = ::GetLastError();
        FILE_END_OF_FILE_INFO empty{};
        SetInfo(h, FileEndOfFileInfo, &empty, sizeof empty);
        return DeleteOnly(h, note, error == ERROR_CANCELLED
                                       ? std::wstring(kStoppedNote)
                                       : Reason(L"Some files could not be overwritten and were only deleted", error));
    }
    if (!OverwriteStreams(h, std::min(std::max(passes, 1u), 3u), cluster, stop)) {
        const DWORD error = ::GetLastError();
        return DeleteOnly(h, note, error == ERROR_CANCELLED
                                       ? std::wstring(kStoppedNote)
                                       : Reason(L"Some files' named streams could not be overwritten and were only deleted", error));
    }
    RenameToRandom(h, path);
    FILE_END_OF_FILE_INFO empty{};
    SetInfo(h, FileEndOfFileInfo, &empty, sizeof empty);
    return MarkForDeletion(h) ? Disposal::Overwritten : Disposal::Stayed;
}

void RefillNames(const std::wstring& folder, std::vector<size_t> lengths) {
    // A rename holds the old and the new name for a moment: the index reached one longest entry more.
    if (!lengths.empty()) lengths.push_back(*std::max_element(lengths.begin(), lengths.end()));
    std::wstring final = folder;
    if (!final.empty() && final.back() == L'\\') final.pop_back();
    std::vector<Handle> held;  // made here a moment ago: each goes as it closes
    for (size_t length : lengths) {
        const std::wstring path = final + L"\\" + RandomName(length);
        held.emplace_back(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, CREATE_NEW,
                                        FILE_FLAG_DELETE_ON_CLOSE | FILE_ATTRIBUTE_NORMAL, nullptr));
    }
}

std::wstring NamesNote(const std::wstring& folder, bool stays) {
    if (!stays) return L"The indexes of the folders removed may still hold erased names until the unused space is wiped.";
    return L"The index of " + folder + L" may still hold erased names: NTFS keeps old entries past an index's end, "
           L"which neither overwriting nor a wipe of unused space reaches while the folder is in use.";
}

bool DeleteAtRestart(const std::wstring& path) {
    return ::MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

std::wstring RestartNote() {
    return L"Files in use were not overwritten; they will be deleted when Windows restarts.";
}

namespace {
// -1 unknown, 0 no, 1 yes.
int AskDevice(HANDLE device, STORAGE_PROPERTY_ID property) {
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = property;
    query.QueryType = PropertyStandardQuery;
    DWORD got = 0;
    if (property == StorageDeviceSeekPenaltyProperty) {
        DEVICE_SEEK_PENALTY_DESCRIPTOR seek{};
        if (!::DeviceIoControl(device, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &seek, sizeof seek, &got, nullptr) ||
            got < sizeof seek)
            return -1;
        return seek.IncursSeekPenalty ? 1 : 0;
    }
    DEVICE_TRIM_DESCRIPTOR trim{};
    if (!::DeviceIoControl(device, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &trim, sizeof trim, &got, nullptr) ||
        got < sizeof trim)
        return -1;
    return trim.TrimEnabled ? 1 : 0;
}
}  // namespace

bool SolidState(int seekPenalty, int trim, bool removable) {
    if (seekPenalty == 0 || (seekPenalty < 0 && trim == 1)) return true;
    // USB sticks and memory cards answer no storage query: flash all the same.
    return removable && seekPenalty < 0 && trim < 0;
}

std::wstring ShadowCopiesNote(int copies, const std::wstring& drive) {
    if (copies <= 0) return {};
    return L"The drive " + drive + L" has shadow copies (System Restore, Previous Versions): they keep older copies of "
           L"files that overwriting cannot reach, and filling the drive may make Windows delete them.";
}

namespace {
// The volume of path: its root ("C:\") and a device name to ask it through.
bool VolumeOf(const std::wstring& path, std::wstring& root, std::wstring& device) {
    wchar_t volume[MAX_PATH + 1];
    if (!::GetVolumePathNameW(path.c_str(), volume, MAX_PATH)) return false;
    root = volume;
    if (root.rfind(L"\\\\?\\", 0) == 0 && root.size() >= 6 && root[5] == L':') root = root.substr(4);
    // Its GUID name, or for a drive letter \\.\X: (what Wine offers).
    wchar_t guid[MAX_PATH];
    if (::GetVolumeNameForVolumeMountPointW(root.c_str(), guid, MAX_PATH)) device = guid;
    else if (root.size() >= 2 && root[1] == L':') device = L"\\\\.\\" + root.substr(0, 2);
    else return false;
    if (!device.empty() && device.back() == L'\\') device.pop_back();
    return true;
}

std::wstring DriveText(std::wstring root) {
    if (root.size() > 3 && root.back() == L'\\') root.pop_back();
    return root;
}
}  // namespace

std::wstring SolidStateNote(const std::wstring& path) {
    std::wstring root, device;
    if (!VolumeOf(path, root, device)) return {};
    const bool removable = ::GetDriveTypeW(root.c_str()) == DRIVE_REMOVABLE;
    int seekPenalty = -1, trim = -1;
    Handle h(::CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr));
    if (h) {
        seekPenalty = AskDevice(h.Get(), StorageDeviceSeekPenaltyProperty);
        trim = AskDevice(h.Get(), StorageDeviceTrimProperty);
    }
    if (!SolidState(seekPenalty, trim, removable)) return {};
    return L"The drive " + DriveText(root) + (removable ? L" is a removable flash drive" : L" is a solid-state drive") +
           L": overwriting cannot reach every copy of a file that such a drive keeps. Full-disk encryption is what "
           L"protects those copies.";
}

std::wstring ShadowCopiesNote(const std::wstring& path) {
    std::wstring root, device;
    if (!VolumeOf(path, root, device)) return {};
    Handle h(::CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr));
    if (!h) return {};
    // The volume snapshot driver's list of a volume's shadow copies: a length, then their names.
    constexpr DWORD kQueryNamesOfSnapshots = CTL_CODE(0x53, 6, METHOD_BUFFERED, FILE_ANY_ACCESS);
    std::vector<unsigned char> answer(64 * 1024);
    DWORD got = 0;
    const bool answered =
        ::DeviceIoControl(h.Get(), kQueryNamesOfSnapshots, nullptr, 0, answer.data(), static_cast<DWORD>(answer.size()), &got, nullptr);
    h.Reset();
    int copies = -1;
    if (answered && got >= sizeof(ULONG)) {
        copies = 0;
        const wchar_t* names = reinterpret_cast<const wchar_t*>(answer.data() + sizeof(ULONG));
        const size_t chars = (got - sizeof(ULONG)) / sizeof(wchar_t);
        for (size_t i = 0; i < chars && names[i]; i += wcsnlen(names + i, chars - i) + 1) ++copies;
    }
    return ShadowCopiesNote(copies, DriveText(root));
}

}  // namespace engine
