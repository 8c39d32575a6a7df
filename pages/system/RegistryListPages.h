#pragma once
#include "PageLook.h"
#include "TraceCategories.h"

// A page that shows what its category's definition finds as rows of text, one per entry.
class CRegistryListView : public CPageView {
public:
    CRegistryListView(UINT dialog, int titleId, int textId, int listId, const wchar_t* caption, const char* category);
    void DoDataExchange(CDataExchange* pDX) override;

    CListCtrl m_list;

protected:
    void Fill();
    std::vector<engine::TraceEntry> m_entries;

private:
    int m_listId;
    const char* m_category;
};

// Files and folders recently used through the common Open and Save dialogs. The page has no
// Erase button: its erase runs from the System summary.
class COFHistoryVw : public CRegistryListView {
public:
    COFHistoryVw();
};

// The programs the shell counts the uses of. It sets no caption of its own.
class CMFURegVw : public CRegistryListView {
public:
    CMFURegVw();
    static const wchar_t kNotErased[];

    DECLARE_MESSAGE_MAP()

private:
    void OnErase();
};
