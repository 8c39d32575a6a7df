// The page of every category that a definition in engine/traces/ describes and no page of its
// own shows: its title, text and entries come from the definition, with the list family's
// Select All, Clear All and Erase. Its template knows the category.
#pragma once
#include "afxwin.h"
#include "applications/RecentFileListPages.h"

class CTraceListFrm : public CMDIChildWnd {};

class CTraceTemplate : public CMultiDocTemplate {
public:
    CTraceTemplate(const char* key, UINT id, const CRuntimeClass* doc, const CRuntimeClass* frame,
                   const CRuntimeClass* view)
        : CMultiDocTemplate(id, doc, frame, view), m_key(key) {}
    const std::string& Key() const { return m_key; }

private:
    std::string m_key;
};

class CTraceListVw : public CRecentFileListView {
public:
    CTraceListVw();
    void OnInitialUpdate() override;
    std::string Category() const override;

protected:
    std::optional<std::wstring> Caption() const override;
};
