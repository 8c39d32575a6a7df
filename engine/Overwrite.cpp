#include "Overwrite.h"

// Placeholder until the overwriting engine lands: the file is deleted, and the report says so.
namespace engine {

Disposal OverwriteAndDelete(HANDLE h, const std::wstring&, unsigned, std::wstring& note) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (!::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose)) return Disposal::Stayed;
    note = L"Overwriting is not available in this build: files were deleted only.";
    return Disposal::DeletedOnly;
}

bool DeleteAtRestart(const std::wstring&) { return false; }
std::wstring SolidStateNote(const std::wstring&) { return {}; }

}  // namespace engine
