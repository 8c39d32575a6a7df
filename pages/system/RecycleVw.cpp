#include "RecycleVw.h"

#include "CategoryKeys.h"
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
    if (pDX->m_bSaveAndValidate) return;
    m_work.Attach(m_hWnd);
    Fill();
}

void CRecycleVw::Fill() {
    CSpecialFolderEnum reader;
    if (const std::list<ShellItem>* items = reader.EnumRecycleBin()) m_contents.Fill(m_tree, L"Recycle Bin", *items);
}

void CRecycleVw::OnClean() {
    if (m_cleaning) return;  // Clean pressed again while the bin is being emptied
    m_cleaning = true;
    m_work.Erase(engine::keys::kRecycleBin, {}, [this](const engine::Result& result) {
        m_cleaning = false;
        Fill();  // shows what is left
        if (!result.Complete()) ShowPageMessage(kNotEmptied);
    });
}

void CRecycleVw::OnDestroy() {
    m_work.Stop();
    CPageView::OnDestroy();
}
