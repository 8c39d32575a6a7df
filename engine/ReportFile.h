// The report file of sweepmere: written to a new file beside the one named and put in its place
// at the end, so that a link or a second name at that place is replaced, never written through;
// its file IDs let every erase of the run leave it alone.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "Handles.h"
#include "Walk.h"

namespace engine {

struct ReportFile {
    std::wstring target, temp;
    Handle file;
    std::vector<FileId> ids;
};

// Empty when the report can be written, else why not.
std::wstring OpenReport(const std::wstring& named, ReportFile& r);
// Writes the bytes and puts the report in place; false with the error code set when it could not be.
bool WriteReport(ReportFile& r, const std::string& bytes);

}  // namespace engine
