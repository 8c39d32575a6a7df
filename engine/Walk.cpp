#include "Walk.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <memory>

#include "Guard.h"
#include "Handles.h"
#include "InUse.h"
#include "Overwrite.h"
#include "PathRules.h"
#include "Text.h"
#include "Worker.h"

namespace engine {

namespace {
constexpr DWORD kEraseAccess = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
constexpr DWORD kResetAccess = FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
// Deeper than any real folder tree; a deeper one is a failure, never a stack overflow.
constexpr size_t kMaxDepth = 2000;

unsigned long long SizeOf(const WIN32_FIND_DATAW& d) {
    return (static_cast<unsigned long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

bool SetAttributes(HANDLE h, DWORD attributes) {
    FILE_BASIC_INFO info{};  // zero times: left as they are
    info.FileAttributes = attributes;
    return ::SetFileInformationByHandle(h, FileBasicInfo, &info, sizeof info) != FALSE;
}

// What the walk asks of an open file: its attributes and its number of names. Two cheap queries:
// GetFileInformationByHandle also asks the volume for its serial number, which under Wine costs a
// hundred times as much and made the listing's resets five times slower than the work itself.
struct Facts {
    DWORD attributes = 0;
    DWORD links = 0;
};
bool FactsOf(HANDLE h, Facts& facts) {
    FILE_BASIC_INFO basic{};
    FILE_STANDARD_INFO standard{};
    if (!::GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) ||
        !::GetFileInformationByHandleEx(h, FileStandardInfo, &standard, sizeof standard))
        return false;
    facts = {basic.FileAttributes, standard.NumberOfLinks};
    return true;
}

// A file's index on its volume, without the volume's serial number that GetFileInformationByHandle
// also asks for (a hundred times the cost under Wine): enough to tell a file from the spared ones.
bool IndexOf(HANDLE h, unsigned long long& index) {
    using QueryFileFn = LONG(NTAPI*)(HANDLE, IO_STATUS_BLOCK*, void*, ULONG, int);
    static const auto query =
        reinterpret_cast<QueryFileFn>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile"));
    IO_STATUS_BLOCK io{};
    LARGE_INTEGER internal{};  // FILE_INTERNAL_INFORMATION
    if (!query || query(h, &io, &internal, sizeof internal, 6 /* FileInternalInformation */) != 0) return false;
    index = static_cast<unsigned long long>(internal.QuadPart);
    return true;
}

// Why a file or folder inside the top could not be opened.
std::wstring OpenFailure(const std::wstring& shown, DWORD error) {
    return error == ERROR_BAD_PATHNAME ? shown + L": it leads outside its folder and was left alone." : Reason(shown, error);
}

bool Dispose(HANDLE h) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    return ::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose) != FALSE;
}

// The top the last CheckTopFolder on this thread opened, taken by the walk of the same folder
// that follows the check instead of opening the folder a second time. It stays as safe: every
// item is still opened against this top and checked by its final name, so a folder swapped for
// a link after the check is caught at each item, as one swapped during the walk is.
struct Checked {
    std::wstring folder;
    Top top;
    bool held = false;
};
thread_local Checked t_checked;

// One walk: a stack of folders instead of recursion.
class Walker {
public:
    // A sink or pauses given with the options count where the call gives none.
    Walker(bool erase, const Options& options, WalkSink* sink, const WalkSettings& settings)
        : m_erase(erase), m_options(options), m_sink(sink ? sink : options.sink), m_settings(settings) {
        if (!m_settings.folderMs) m_settings.folderMs = options.folderMs;
        if (!m_settings.fileMs) m_settings.fileMs = options.fileMs;
        FILETIME now;
        ::GetSystemTimeAsFileTime(&now);
        m_keepAfter = (static_cast<unsigned long long>(now.dwHighDateTime) << 32 | now.dwLowDateTime) -
                      m_settings.keepHours * 36000000000ull;
    }

    // False when the top could not be walked (the reason is in the result).
    bool Run(const std::wstring& folder, bool removeTop);
    // Lists or erases one file of a top already opened.
    void File(const Top& top, const std::wstring& rel, const WIN32_FIND_DATAW& d) {
        m_top = top;
        if (!Spared(rel)) File(rel, d);
    }
    Result result;
    std::vector<Item> items;

private:
    struct Open {
        std::wstring rel;  // "" or ending with '\'
        size_t depth;
        std::unique_ptr<Search> search;
        bool first;        // its first entry is in hand, not yet handled
        std::vector<size_t> overwritten;  // the name lengths of the files overwritten in it
    };
    bool Pause(unsigned ms) {
        if (m_options.stop && m_options.stop->Wait(ms && !m_sink ? ms : 0)) return true;
        return m_sink && m_sink->Pause(ms);
    }
    bool Enter(const std::wstring& rel, size_t depth, std::vector<Open>& stack);
    void Step(std::vector<Open>& stack);
    void Stay(const std::wstring& rel, std::wstring reason) {
        result.Failed(std::move(reason));
        if (m_sink) m_sink->Stayed(rel);
    }
    // A file opened for its erase, with the attributes it had and whether its read-only
    // attribute was taken off (to be put back wherever it stays).
    struct Opened {
        Handle h;
        DWORD attributes = 0;
        bool cleared = false;
    };
    void File(const std::wstring& rel, const WIN32_FIND_DATAW& d);
    bool OpenToErase(const std::wstring& rel, const std::wstring& shown, DWORD found, Opened& file);
    bool ClearReadOnly(HANDLE h, const std::wstring& rel, const std::wstring& shown, Opened& file);
    bool Unopened(const std::wstring& rel, const std::wstring& shown, DWORD error);
    bool OverwriteOrDispose(HANDLE h, const std::wstring& rel, DWORD& error);
    void Restore(const std::wstring& rel, Opened& file);
    bool Spared(const std::wstring& rel) const;
    void RemoveFolder(const std::wstring& rel);
    std::wstring Shown(const std::wstring& rel) const { return m_top.given + rel; }

    bool m_erase;
    const Options& m_options;
    WalkSink* m_sink;
    WalkSettings m_settings;
    Top m_top;
    bool m_stopped = false;
    bool m_noteSolidState = true;
    unsigned long long m_keepAfter = 0;  // files written after this time stay (with keepHours)
    unsigned m_keptRecent = 0;
    bool m_removeTop = false;
};

bool Walker::Run(const std::wstring& folder, bool removeTop) {
    bool missing = false;
    m_removeTop = removeTop;
    std::wstring why;
    if (t_checked.held && t_checked.folder == folder)
        m_top = std::move(t_checked.top);
    else
        why = OpenTop(folder, m_top, &missing);
    t_checked.held = false;
    if (!why.empty()) {
        if (!missing) result.Failed(why + (m_erase ? L"; nothing in it was erased." : L"."));
        return false;
    }
    // Depth first, as a person reads a tree: a sub-folder is walked where it is met. The folders
    // being read are a stack of open searches, not a recursion.
    std::vector<Open> stack;
    if (Enter(L"", 0, stack)) {
        while (!stack.empty() && !m_stopped) Step(stack);
        if (removeTop && !m_stopped) RemoveFolder(L"");
    }
    if (m_stopped && m_erase) result.Failed(L"The erase was stopped before it ended.");
    if (m_keptRecent)
        result.Note(std::to_wstring(m_keptRecent) + (m_keptRecent == 1 ? L" file" : L" files") + L" kept: written in the last " +
                    std::to_wstring(m_settings.keepHours) + L" hours");
    return true;
}

bool Walker::Enter(const std::wstring& rel, size_t depth, std::vector<Open>& stack) {
    if (Pause(m_settings.folderMs)) {
        m_stopped = true;
        return false;
    }
    if (!rel.empty()) {
        // The folder checked now may have been swapped for a link since it was found.
        if (!OpenInside(m_top, rel, FILE_READ_ATTRIBUTES, true)) {
            DWORD error = ::GetLastError();
            if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) result.Failed(OpenFailure(Shown(rel), error));
            return false;
        }
    }
    auto search = std::make_unique<Search>(m_top.final + rel);
    if (!search->Ok()) {
        if (search->Error() != ERROR_FILE_NOT_FOUND) result.Failed(Reason(Shown(rel), search->Error()));
        return false;
    }
    stack.push_back({rel, depth, std::move(search), true, {}});
    return true;
}

// Handles the next entry of the innermost folder, or leaves that folder when it has no more.
void Walker::Step(std::vector<Open>& stack) {
    Open& top = stack.back();
    if (!top.first && !top.search->Next()) {
        DWORD error = top.search->Error();
        if (error != ERROR_NO_MORE_FILES && error != 0) result.Failed(Reason(Shown(top.rel), error));
        std::wstring rel = top.rel;
        const std::vector<size_t> names = std::move(top.overwritten);
        stack.pop_back();
        if (!names.empty()) RefillNames(m_top.final + rel, names);
        if (m_erase && !m_settings.keepFolders && !rel.empty()) RemoveFolder(rel);
        if (!names.empty()) {
            const std::wstring folder = Shown(rel);
            const bool stays = rel.empty() ? !m_removeTop : ::GetFileAttributesW((m_top.final + rel).c_str()) != INVALID_FILE_ATTRIBUTES;
            result.Note(NamesNote(folder.back() == L'\\' && folder.size() > 3 ? folder.substr(0, folder.size() - 1) : folder, stays));
        }
        return;
    }
    top.first = false;
    if (Pause(0)) {
        m_stopped = true;
        return;
    }
    if (top.search->IsDots()) return;
    const WIN32_FIND_DATAW d = top.search->Data();
    std::wstring rel = top.rel + d.cFileName;
    if (!IsPlainName(d.cFileName)) {
        result.Failed(Shown(top.rel) + d.cFileName + L": a name that could lead elsewhere; it was left alone.");
        return;
    }
    if (d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        result.Failed(Shown(rel) + L": a link; it was left alone and not followed.");
        return;
    }
    if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (m_settings.filesAtTopOnly) return;
        if (!m_settings.keepFolder.empty() && SameNoCase(d.cFileName, m_settings.keepFolder)) {
            result.Note(Shown(rel) + L": kept: " + m_settings.keepFolderWhy);
            return;
        }
        if (m_sink) m_sink->Met(rel, true, 0);
        size_t depth = top.depth + 1;
        if (depth > kMaxDepth)
            result.Failed(Shown(rel) + L": the folders go deeper than any walk goes; what lies below was left alone.");
        else
            Enter(rel + L"\\", depth, stack);  // may grow the stack: top is not used after this
        return;
    }
    if (Spared(rel)) return;  // neither listed nor erased; before the kept files: it is not one of them
    if (m_settings.keepHours && (static_cast<unsigned long long>(d.ftLastWriteTime.dwHighDateTime) << 32 |
                                 d.ftLastWriteTime.dwLowDateTime) > m_keepAfter) {
        ++m_keptRecent;
        return;
    }
    if (m_sink) m_sink->Met(rel, false, SizeOf(d));
    const unsigned before = result.overwritten;
    File(rel, d);
    if (result.overwritten != before) top.overwritten.push_back(wcslen(d.cFileName));
}

void Walker::File(const std::wstring& rel, const WIN32_FIND_DATAW& d) {
    if (!m_erase) {
        items.push_back({Shown(rel), SizeOf(d)});
        return;
    }
    const std::wstring shown = Shown(rel);
    if (m_sink) m_sink->Erasing(shown);
    if (Pause(m_settings.fileMs)) {
        m_stopped = true;
        return;
    }
    Opened file;
    if (!OpenToErase(rel, shown, d.dwFileAttributes, file)) return;
    DWORD error = 0;
    if (OverwriteOrDispose(file.h.Get(), rel, error)) {
        ++result.erased;
        result.bytes += SizeOf(d);
        return;
    }
    Restore(rel, file);
    Stay(rel, Reason(shown, error));
}

// Opens a file inside the top for its erase. Only a read-only file is asked for its attributes
// and number of names: its attribute is taken off (never for a file with more than one name, as
// the attributes belong to every name). False when it stays (with its reason) or is gone.
bool Walker::OpenToErase(const std::wstring& rel, const std::wstring& shown, DWORD found, Opened& file) {
    const bool overwrite = m_options.overwrite, readOnly = found & FILE_ATTRIBUTE_READONLY;
    file.attributes = found;
    // Windows gives no write access to a read-only file: for overwriting, the attribute goes
    // first, through a handle of its own.
    if (overwrite && readOnly) {
        Handle reset = OpenInside(m_top, rel, kResetAccess, false);
        if (!reset) return Unopened(rel, shown, ::GetLastError());
        if (!ClearReadOnly(reset.Get(), rel, shown, file)) return false;
    }
    file.h = OpenInside(m_top, rel, overwrite ? kOverwriteAccess : kEraseAccess, false);
    if (!file.h) {
        const DWORD error = ::GetLastError();
        Restore(rel, file);
        return Unopened(rel, shown, error);
    }
    return file.cleared || !readOnly || ClearReadOnly(file.h.Get(), rel, shown, file);
}

bool Walker::ClearReadOnly(HANDLE h, const std::wstring& rel, const std::wstring& shown, Opened& file) {
    Facts facts;
    if (!FactsOf(h, facts)) {
        Stay(rel, Reason(shown, ::GetLastError()));
        return false;
    }
    if (facts.links > 1) {
        Stay(rel, shown + L": read-only and with more than one name; its attributes belong to every name, so it was left alone.");
        return false;
    }
    file.attributes = facts.attributes;
    if (!SetAttributes(h, (facts.attributes & ~FILE_ATTRIBUTE_READONLY) | FILE_ATTRIBUTE_NORMAL)) {
        Stay(rel, Reason(shown, ::GetLastError()));
        return false;
    }
    file.cleared = true;
    return true;
}

// A file that could not be opened stays with its reason; one in use may go at the next restart;
// one gone meanwhile is nothing to erase.
bool Walker::Unopened(const std::wstring& rel, const std::wstring& shown, DWORD error) {
    if (error == ERROR_SHARING_VIOLATION) {
        // It cannot be overwritten now; its name can still go at the next restart, where no one
        // else can swap a link into its path meanwhile.
        const std::wstring path = m_top.final + rel;
        if (m_options.overwrite && MayDeleteAtRestartHere(path) && DeleteAtRestart(path)) {
            Stay(rel, shown + L": in use; it will be deleted when Windows restarts (not overwritten).");
            result.Note(RestartNote());
        } else {
            Stay(rel, InUseReason(shown));
        }
    } else if (error != ERROR_FILE_NOT_FOUND) {
        Stay(rel, OpenFailure(shown, error));
    }
    return false;
}

// Overwrites the file when the options say so, else marks it for deletion; true when it is gone
// (deleted when the handle closes), else the error.
bool Walker::OverwriteOrDispose(HANDLE h, const std::wstring& rel, DWORD& error) {
    if (!m_options.overwrite) {
        const bool gone = Dispose(h);
        error = ::GetLastError();
        return gone;
    }
    if (m_noteSolidState) {
        m_noteSolidState = false;
        for (const std::wstring& note : {SolidStateNote(m_top.final), ShadowCopiesNote(m_top.final)})
            if (!note.empty()) result.Note(note);
    }
    std::wstring note;
    const Disposal done = OverwriteAndDelete(h, m_top.final + rel, m_options.passes, note, m_options.stop);
    error = ::GetLastError();
    if (done == Disposal::Overwritten) ++result.overwritten;
    if (done == Disposal::DeletedOnly) {
        ++result.deletedOnly;
        if (!note.empty()) result.Note(note);
    }
    return done != Disposal::Stayed;
}

// A file that stays is left as it was: read-only again where its erase took that off.
void Walker::Restore(const std::wstring& rel, Opened& file) {
    if (!file.cleared) return;
    if (!file.h) file.h = OpenInside(m_top, rel, kResetAccess, false);
    if (file.h) SetAttributes(file.h.Get(), file.attributes);
}

// One of the files the caller keeps out of the erase. Asked through an attribute handle, which
// a file held open without sharing still grants; the whole ID only where the index matches.
bool Walker::Spared(const std::wstring& rel) const {
    if (m_options.spare.empty()) return false;
    Handle h = OpenInside(m_top, rel, FILE_READ_ATTRIBUTES, false);
    unsigned long long index = 0;
    if (!h || !IndexOf(h.Get(), index) ||
        std::none_of(m_options.spare.begin(), m_options.spare.end(), [&](const FileId& s) { return s.index == index; }))
        return false;
    FileId id;
    return IdOf(h.Get(), id) && std::find(m_options.spare.begin(), m_options.spare.end(), id) != m_options.spare.end();
}

void Walker::RemoveFolder(const std::wstring& rel) {
    Handle h = OpenInside(m_top, rel, DELETE | FILE_READ_ATTRIBUTES, true);
    if (!h) {
        DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) result.Failed(Reason(Shown(rel), error));
        return;
    }
    if (Dispose(h.Get()))
        ++result.erased;
    else
        result.Failed(Reason(Shown(rel), ::GetLastError()));
}
}  // namespace

std::wstring CheckTopFolder(const std::wstring& folder) {
    Top top;
    std::wstring why = OpenTop(folder, top);
    t_checked = {folder, std::move(top), why.empty()};
    return why;
}

Listing ListFolder(const std::wstring& folder, const Options& options, WalkSink* sink, const WalkSettings& settings) {
    Walker w(false, options, sink, settings);
    w.Run(folder, false);
    return {std::move(w.items), std::move(w.result)};
}

namespace {
Result Erase(const std::wstring& folder, const Options& options, WalkSink* sink, const WalkSettings& settings,
             bool removeTop) {
    Walker w(true, options, sink, settings);
    w.Run(folder, removeTop);
    return w.result;
}
}  // namespace

Result EraseInside(const std::wstring& folder, const Options& options, WalkSink* sink, const WalkSettings& settings) {
    return Erase(folder, options, sink, settings, false);
}

Result EraseFolder(const std::wstring& folder, const Options& options) {
    WalkSettings settings;
    settings.keepFolders = false;
    return Erase(folder, options, nullptr, settings, true);
}

Result EraseFilesIn(const std::wstring& folder, const Options& options) {
    WalkSettings settings;
    settings.filesAtTopOnly = true;
    return Erase(folder, options, nullptr, settings, false);
}

Result EraseFile(const std::wstring& path, const Options& options) {
    Result result;
    size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
    if (!IsAbsoluteFolder(path) || !IsPlainName(name)) {
        result.Failed(path + L" is not a full path of a file.");
        return result;
    }
    Top top;
    bool missing = false;
    std::wstring why = OpenTop(path.substr(0, slash), top, &missing, TopCheck::Protected);
    if (!why.empty()) {
        if (!missing) result.Failed(why + L"; nothing was erased.");
        return result;
    }
    WIN32_FIND_DATAW d{};
    if (!FindHandle(::FindFirstFileExW((top.final + name).c_str(), FindExInfoBasic, &d, FindExSearchNameMatch, nullptr, 0)))
        return result;  // not there: nothing to erase
    if (d.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) {
        result.Failed(path + L": a link or a folder; it was left alone.");
        return result;
    }
    Walker w(true, options, nullptr, {});
    w.File(top, name, d);
    return w.result;
}

bool FileIdOf(const std::wstring& path, FileId& id) {
    Handle h(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return h && IdOf(h.Get(), id);
}

bool ListEntries(const std::wstring& folder, std::vector<Entry>& entries, std::wstring* reason) {
    entries.clear();
    Top top;
    bool missing = false;
    std::wstring why = OpenTop(folder, top, &missing);
    if (!why.empty()) {
        if (reason) *reason = why;
        return false;
    }
    Search s(top.final);
    if (!s.Ok()) {
        if (reason) *reason = Reason(folder, s.Error());
        return s.Error() == ERROR_FILE_NOT_FOUND;
    }
    do {
        const WIN32_FIND_DATAW& d = s.Data();
        if (s.IsDots() || !IsPlainName(d.cFileName) || (d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        Entry e{d.cFileName, d.dwFileAttributes, (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, false, SizeOf(d)};
        if (e.folder) {
            Search inner(top.final + d.cFileName + L"\\");
            for (bool more = inner.Ok(); more && !e.holdsContent; more = inner.Next()) {
                DWORD a = inner.Data().dwFileAttributes;
                e.holdsContent = !inner.IsDots() && ((a & FILE_ATTRIBUTE_DIRECTORY) || !(a & FILE_ATTRIBUTE_HIDDEN));
            }
        }
        entries.push_back(std::move(e));
    } while (s.Next());
    return true;
}

}  // namespace engine
