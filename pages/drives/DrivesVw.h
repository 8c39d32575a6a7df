#pragma once
#include "PageLook.h"

// One drive of the machine: the one whose drive text the category tree chose last.
class CDrivesVw : public CPageView {
public:
    CDrivesVw();
    void DoDataExchange(CDataExchange* pDX) override;

    // The statics the fill makes: the four headings, then the drive's label, file system,
    // unused and total space.
    CStatic m_cells[8];

protected:
    std::optional<std::wstring> Caption() const override;

private:
    void Fill();
    void MakeCell(int index, const std::wstring& text);
};
