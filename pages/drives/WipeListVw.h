#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PageLook.h"
#include "WipeList.h"
#include "Inbox.h"
#include "Worker.h"

// The user's wipe lists: the saved lists to choose from, the entries of the chosen one with a
// check box each, and their preview and erase. The engine checks, previews and erases; the page
// shows and asks, and runs the long steps on a worker.
class CWipeListVw : public CPageView {
public:
    CWipeListVw();
    ~CWipeListVw() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnInitialUpdate() override;
    void OnDestroy() override;
    // Closing the page asks, as choosing another list does, before unsaved changes are lost.
    BOOL SaveModified() override { return SettleChanges(); }

    // Tests only: what the file and folder dialogs would answer, given instead of showing them
    // while set. False: the user cancelled.
    static std::function<bool(std::vector<std::wstring>&)>& ChooseFilesForTests();
    static std::function<bool(std::wstring&)>& ChooseFolderForTests();

    const engine::WipeList& List() const { return m_list; }
    bool Busy() const { return m_busy; }

    CComboBox m_lists;
    CListCtrl m_entries;

    DECLARE_MESSAGE_MAP()

private:
    void OnChooseList();
    void OnNew();
    void OnSave();
    void OnDeleteList();
    void OnAddFiles();
    void OnAddFolder();
    void OnAddKey();
    void OnRemove();
    void OnPreview();
    void OnErase();

    bool HaveList() const { return !m_list.name.empty(); }
    // Asks whether entries added or removed since the last load or save are saved first; false
    // when the user cancels (or the save failed).
    bool SettleChanges();
    void FillNames(const std::wstring& select);
    void Load(const std::wstring& name);
    void ShowEntries();
    void Add(engine::WipeKind kind, const std::wstring& target);
    std::vector<bool> Checked() const;
    bool Start(engine::Worker::Job job);
    void SetBusy(bool busy);

    engine::WipeList m_list;
    bool m_busy = false;
    bool m_changed = false;  // entries added or removed since the list was loaded or saved
    engine::Worker m_worker;
    std::shared_ptr<ui::Inbox> m_inbox;
};
