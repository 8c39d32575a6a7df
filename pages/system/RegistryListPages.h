#pragma once
#include "PageLook.h"
#include "Traces.h"

// A page that shows a registry list as rows of text, one per entry.
class CRegistryListView : public CPageView {
public:
    CRegistryListView(UINT dialog, int titleId, int textId, int listId, const wchar_t* caption);
    void DoDataExchange(CDataExchange* pDX) override;

    CListCtrl m_list;
    const std::vector<engine::RegistryEntry>& Entries() const { return m_entries; }

protected:
    virtual std::vector<engine::RegistryEntry> ReadEntries() const = 0;
    void Fill();
    std::vector<engine::RegistryEntry> m_entries;

private:
    int m_listId;
};

// Files and folders recently used through the common Open and Save dialogs. The page has no
// Erase button: its erase runs from the System summary.
class COFHistoryVw : public CRegistryListView {
public:
    COFHistoryVw();

protected:
    std::vector<engine::RegistryEntry> ReadEntries() const override { return engine::ReadOpenFileHistory(); }
};

// The programs the shell counts the uses of. It sets no caption of its own.
class CMFURegVw : public CRegistryListView {
public:
    CMFURegVw();
    static const wchar_t kNotErased[];

    DECLARE_MESSAGE_MAP()

protected:
    std::vector<engine::RegistryEntry> ReadEntries() const override { return engine::ReadProgramUse(); }

private:
    void OnErase();
};
