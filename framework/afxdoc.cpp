#include "afxdoc.h"

#include <algorithm>

#include "afxapp.h"
#include "afxframe.h"
#include "afxview.h"

// ---- CDocument ----

CDocument::~CDocument() {
    if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const CString& title) {
    m_strTitle = title;
    UpdateFrameCounts();
}

void CDocument::SetPathName(const CString& path) {
    wchar_t full[MAX_PATH];
    wchar_t* name = nullptr;
    DWORD n = ::GetFullPathNameW(path.c_str(), MAX_PATH, full, &name);
    m_strPathName = (n > 0 && n < MAX_PATH) ? full : path;
    SetTitle(name ? name : m_strPathName);
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_bModified = FALSE;
    m_strPathName.clear();
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const wchar_t* path) {
    // The documents of this framework hold no data: the file only has to be readable.
    HANDLE h = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        AfxMessageBox(CString(L"Cannot open the file ") + path + L".", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    ::CloseHandle(h);
    DeleteContents();
    m_bModified = FALSE;
    return TRUE;
}

BOOL CDocument::SaveModified() {
    for (CView* v : m_views)
        if (!v->SaveModified()) return FALSE;
    return TRUE;
}

void CDocument::OnCloseDocument() {
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;  // the views going must not close the document a second time
    while (!m_views.empty()) {
        CView* view = m_views.front();
        CFrameWnd* frame = view->GetParentFrame();
        if (frame)
            frame->DestroyWindow();
        else
            view->DestroyWindow();
        if (!m_views.empty() && m_views.front() == view) RemoveView(view);
    }
    DeleteContents();
    m_bAutoDelete = autoDelete;
    if (m_bAutoDelete) delete this;
}

void CDocument::AddView(CView* pView) {
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    auto it = std::find(m_views.begin(), m_views.end(), pView);
    if (it == m_views.end()) return;
    m_views.erase(it);
    pView->m_pDocument = nullptr;
    if (m_views.empty() && m_bAutoDelete) OnCloseDocument();
}

void CDocument::UpdateFrameCounts() {
    for (CView* v : m_views)
        if (CFrameWnd* f = v->GetParentFrame())
            if (f->IsWindow()) f->OnUpdateFrameTitle(TRUE);
}

// ---- CDocTemplate ----

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* docClass,
                           const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : m_nIDResource(nIDResource), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass) {}

CDocTemplate::~CDocTemplate() {
    if (m_hMenuShared) ::DestroyMenu(m_hMenuShared);
}

void CDocTemplate::LoadTemplate() {
    m_strDocStrings = AfxLoadString(m_nIDResource);
    HINSTANCE res = AfxGetResourceHandle();
    if (!m_hMenuShared && ::FindResourceW(res, MAKEINTRESOURCEW(m_nIDResource), RT_MENU))
        m_hMenuShared = ::LoadMenuW(res, MAKEINTRESOURCEW(m_nIDResource));
    if (!m_hAccelTable && ::FindResourceW(res, MAKEINTRESOURCEW(m_nIDResource), RT_ACCELERATOR))
        m_hAccelTable = ::LoadAcceleratorsW(res, MAKEINTRESOURCEW(m_nIDResource));
}

BOOL CDocTemplate::GetDocString(CString& out, DocStringIndex index) const {
    out = AfxExtractSubString(m_strDocStrings, index);
    return !out.empty();
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(const wchar_t* path, CDocument*& rpDocMatch) {
    rpDocMatch = nullptr;
    wchar_t full[MAX_PATH] = L"";
    ::GetFullPathNameW(path, MAX_PATH, full, nullptr);
    for (CDocument* d : m_docList)
        if (lstrcmpiW(d->GetPathName().c_str(), full) == 0) {
            rpDocMatch = d;
            return yesAlreadyOpen;
        }
    CString ext;
    if (GetDocString(ext, filterExt)) {
        const wchar_t* dot = wcsrchr(path, '.');
        if (dot && lstrcmpiW(dot, ext.c_str()) == 0) return yesAttemptNative;
    }
    return yesAttemptForeign;
}

void CDocTemplate::AddDocument(CDocument* doc) {
    m_docList.push_back(doc);
    doc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* doc) {
    auto it = std::find(m_docList.begin(), m_docList.end(), doc);
    if (it != m_docList.end()) m_docList.erase(it);
    doc->m_pDocTemplate = nullptr;
}

void CDocTemplate::CloseAllDocuments() {
    while (!m_docList.empty()) {
        CDocument* d = m_docList.back();
        d->OnCloseDocument();
        if (!m_docList.empty() && m_docList.back() == d) {
            RemoveDocument(d);  // a document that would not close itself
        }
    }
}

CDocument* CDocTemplate::CreateNewDocument() {
    auto* doc = dynamic_cast<CDocument*>(m_pDocClass->CreateObject());
    if (doc) AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc) {
    CCreateContext ctx;
    ctx.m_pNewViewClass = m_pViewClass;
    ctx.m_pCurrentDoc = doc;
    ctx.m_pNewDocTemplate = this;
    auto* frame = dynamic_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (!frame) return nullptr;
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &ctx)) {
        if (!frame->IsWindow()) delete frame;  // a frame whose window exists deletes itself
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL bMakeVisible) {
    frame->InitialUpdateFrame(doc, bMakeVisible);
}

// ---- CMultiDocTemplate ----

CDocument* CMultiDocTemplate::OpenDocumentFile(const wchar_t* path, BOOL bMakeVisible) {
    CDocument* doc = CreateNewDocument();
    if (!doc) {
        AfxMessageBox(L"Failed to create empty document.", MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;  // a failed frame must not take the document with it
    CFrameWnd* frame = CreateNewFrame(doc);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
        AfxMessageBox(L"Failed to create empty document.", MB_OK | MB_ICONEXCLAMATION);
        delete doc;
        return nullptr;
    }
    if (!path) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            frame->DestroyWindow();
            return nullptr;
        }
        ++m_nUntitledCount;
    } else {
        if (!doc->OnOpenDocument(path)) {
            frame->DestroyWindow();
            return nullptr;
        }
        doc->SetPathName(path);
    }
    InitialUpdateFrame(frame, doc, bMakeVisible);
    return doc;
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* doc) {
    CString name;
    if (GetDocString(name, docName))
        name += std::to_wstring(m_nUntitledCount + 1);
    else
        name = AfxLoadString(AFX_IDS_UNTITLED);
    doc->SetTitle(name);
}
