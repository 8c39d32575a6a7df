#include "DrivesVw.h"

#include "DriveSpace.h"
#include "DriveText.h"
#include "LastChosenText.h"
#include "resource.h"

namespace {
look::PageLook DrivesLook() {
    using namespace look;
    return {kWhite,
            {Colour(kPageColour, {1063, 1067, 1069, 1072, 1073, 1074, 1232, 111, 222, 333, 444}),
             Colour(kDriveRowGrey, {555, 666, 777, 888}),
             Font(kDriveLabelFont, {1073}),
             Font(kTextFont, {1063, 1072}),
             Font(kTitleFont, {1074}),
             Font(kDriveHeadingFont, {1067, 1069})}};
}

struct Cell {
    int id;
    const wchar_t* heading;  // null for the drive's values
    RECT rect;
};
// In the order of CDrivesVw::m_cells.
const Cell kCells[8] = {
    {IDC_DRIVES_HEAD_LABEL, L"Label", {15, 130, 115, 165}},
    {IDC_DRIVES_HEAD_FILESYSTEM, L"File System", {117, 130, 217, 165}},
    {IDC_DRIVES_HEAD_UNUSED, L"Unused Space", {219, 130, 319, 165}},
    {IDC_DRIVES_HEAD_TOTAL, L"Total Space", {321, 130, 421, 165}},
    {IDC_DRIVES_VALUE_LABEL, nullptr, {15, 168, 115, 200}},
    {IDC_DRIVES_VALUE_FILESYSTEM, nullptr, {117, 168, 217, 200}},
    {IDC_DRIVES_VALUE_UNUSED, nullptr, {219, 168, 319, 200}},
    {IDC_DRIVES_VALUE_TOTAL, nullptr, {321, 168, 421, 200}},
};
enum { kLabel = 4, kFileSystem, kUnused, kTotal };
}  // namespace

CDrivesVw::CDrivesVw() : CPageView(IDD_DRIVES, DrivesLook(), nullptr) {}

// The caption follows the tree's last choice, read anew at every drawing.
std::optional<std::wstring> CDrivesVw::Caption() const { return LastChosenText(); }

void CDrivesVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) Fill();
}

void CDrivesVw::MakeCell(int index, const std::wstring& text) {
    const Cell& c = kCells[index];
    m_cells[index].Create(text.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, c.rect, this, c.id);
}

void CDrivesVw::Fill() {
    for (int i = 0; i < kLabel; ++i) MakeCell(i, kCells[i].heading);
    const std::wstring& chosen = LastChosenText();
    for (wchar_t letter : drives::PresentDrives()) {
        std::wstring fileSystem;
        std::wstring text = DriveText(letter, &fileSystem);
        if (text != chosen) continue;
        SetDlgItemText(IDC_DRIVES_DRIVE, text);
        MakeCell(kLabel, text);
        MakeCell(kFileSystem, fileSystem);
        if (drives::FreeSpaceCall call = drives::FindFreeSpaceCall()) {
            auto space = drives::QuerySpace(call, drives::RootOf(letter));
            MakeCell(kUnused, space ? drives::MegabytesText(space->freeBytes) : L"");
            MakeCell(kTotal, space ? drives::MegabytesText(space->totalBytes) : L"");
        }
        return;
    }
}
