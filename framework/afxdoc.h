// Documents and document templates.
#pragma once
#include "afxwnd.h"

class CDocTemplate;
class CView;
class CFrameWnd;

// What a frame needs to make its view for a document.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    class CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
};

class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const CString& title);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(const CString& path);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const wchar_t* path);
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    // Asked before the document closes: each view may settle unsaved work; FALSE keeps it open.
    virtual BOOL SaveModified();
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_views; }
    // Frames show the document's title: tell them it changed.
    void UpdateFrameCounts();

    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bAutoDelete = TRUE;

private:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_views;
};

class CDocTemplate : public CCmdTarget {
public:
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
    enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative, yesAlreadyOpen };

    CDocTemplate(UINT nIDResource, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                 const CRuntimeClass* viewClass);
    ~CDocTemplate() override;

    // Loads the document strings, the shared menu and the accelerators of the resource id.
    virtual void LoadTemplate();
    BOOL GetDocString(CString& out, DocStringIndex index) const;
    virtual CDocument* OpenDocumentFile(const wchar_t* path, BOOL bMakeVisible = TRUE) = 0;
    virtual Confidence MatchDocType(const wchar_t* path, CDocument*& rpDocMatch);
    virtual void AddDocument(CDocument* doc);
    virtual void RemoveDocument(CDocument* doc);
    const std::vector<CDocument*>& GetDocuments() const { return m_docList; }
    void CloseAllDocuments();

    CDocument* CreateNewDocument();
    CFrameWnd* CreateNewFrame(CDocument* doc);
    void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL bMakeVisible = TRUE);

    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    HMENU m_hMenuShared = nullptr;
    HACCEL m_hAccelTable = nullptr;
    CString m_strDocStrings;

protected:
    std::vector<CDocument*> m_docList;
};

class CMultiDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;
    CDocument* OpenDocumentFile(const wchar_t* path, BOOL bMakeVisible = TRUE) override;
    // Untitled documents are named by the document name and a number, or "Untitled".
    virtual void SetDefaultTitle(CDocument* doc);
    UINT m_nUntitledCount = 0;
};
