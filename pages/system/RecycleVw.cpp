#include "RecycleVw.h"

#include <shlobj.h>

#include "PageMessage.h"
#include "resource.h"

const wchar_t CRecycleVw::kNotEmptied[] = L"The Recycle Bin could not be emptied.";

const MsgMap CRecycleVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_RECYCLE_ERASE, &CRecycleVw::OnClean),
}};

CRecycleVw::CRecycleVw() : CPageView(IDD_RECYCLE, look::ListLook(IDC_RECYCLE_TITLE, IDC_RECYCLE_TEXT), L"Recycle Bin") {}

void CRecycleVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RECYCLE_TREE, m_tree);
    if (!pDX->m_bSaveAndValidate) Fill();
}

void CRecycleVw::Fill() {
    CSpecialFolderEnum reader;
    if (const std::list<ShellItem>* items = reader.EnumRecycleBin()) m_contents.Fill(m_tree, L"Recycle Bin", *items);
}

namespace {
bool QueryBin(SHQUERYRBINFO& info) {
    info = SHQUERYRBINFO{};
    info.cbSize = sizeof info;
    return SUCCEEDED(::SHQueryRecycleBinW(nullptr, &info));
}
}  // namespace

EraseResult CRecycleVw::EraseWithoutWindow() {
    SHQUERYRBINFO before, after;
    bool counted = QueryBin(before);
    HRESULT hr = ::SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    EraseResult result;
    // What is left decides, not the call's result: emptying an empty bin reports a failure on
    // some Windows versions.
    if (counted && QueryBin(after)) {
        result.erased = static_cast<unsigned>(before.i64NumItems > after.i64NumItems ? before.i64NumItems - after.i64NumItems : 0);
        result.bytes = static_cast<unsigned long long>(before.i64Size > after.i64Size ? before.i64Size - after.i64Size : 0);
        for (long long i = 0; i < after.i64NumItems; ++i) result.Failed(kNotEmptied);
    } else if (FAILED(hr)) {
        result.Failed(kNotEmptied);
    }
    return result;
}

void CRecycleVw::OnClean() {
    EraseResult result = EraseWithoutWindow();
    Fill();  // shows what is left
    if (!result.Complete()) ShowPageMessage(kNotEmptied);
}
