#include "PageLook.h"

#include <algorithm>

#include "afxdpi.h"

namespace look {
const FontSpec kTitleFont{L"Arial Rounded MT Bold", 22, 9, 24};
const FontSpec kTextFont{L"Georgia", 16, 7, 24};
const FontSpec kHeadingFont{L"Arial Rounded MT Bold", 20, 7, 24};
const FontSpec kSummaryTextFont{L"Georgia", 14, 7, 20};
const FontSpec kDriveLabelFont{L"Arial Rounded MT Bold", 14, 9, 24};
const FontSpec kDriveHeadingFont{L"Arial Rounded MT Bold", 16, 7, 24};
const FontSpec kSettingsFont{L"Arial", 18, 6, 24};

PageLook ListLook(int titleId, int textId) {
    return {kPageColour,
            {Colour(kPageColour, {titleId}), Font(kTitleFont, {titleId}), Colour(kPageColour, {textId}),
             Font(kTextFont, {textId})}};
}

HBRUSH LookCache::Brush(COLORREF c) {
    auto& b = m_brushes[c];
    if (!b) {
        b = std::make_unique<CBrush>();
        b->CreateSolidBrush(c);
    }
    return *b;
}

HFONT LookCache::Font(const FontSpec& f) {
    auto& font = m_fonts[&f];
    if (!font) {
        font = std::make_unique<CFont>();
        // Sizes are pixels at 100%: scaled like the dialog units the pages are laid out in.
        font->CreateFontW(AfxScaled(f.height), AfxScaled(f.width), 0, 0, f.weight, 0, 0, 0, 0, 0, 0, 0, 0, f.face);
    }
    return *font;
}

HBRUSH ApplyRules(const PageLook& look, LookCache& cache, CDC* pDC, int ctrlId, HBRUSH defaultBrush) {
    HBRUSH result = defaultBrush;
    for (const Rule& r : look.rules) {
        if (std::find(r.ids.begin(), r.ids.end(), ctrlId) == r.ids.end()) continue;
        if (r.font) {
            pDC->SelectObject(cache.Font(*r.font));
        } else {
            result = cache.Brush(r.colour);
            pDC->SetBkColor(r.colour);
            pDC->SetTextColor(RGB(0, 0, 0));
            pDC->SetBkMode(OPAQUE);
        }
    }
    return result;
}

void PaintBackground(CWnd* pWnd, CDC* pDC, COLORREF colour) {
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = pDC->SelectObject(pen);
    CRect r;
    pWnd->GetClientRect(&r);
    for (int y = 0; y <= r.Height(); ++y) {
        pDC->MoveTo(0, y);
        pDC->LineTo(r.Width(), y);
    }
    pDC->SelectObject(old);
}
}  // namespace look

const MsgMap CPageView::messageMap{&CFormView::messageMap, {}};

CPageView::CPageView(UINT nIDTemplate, look::PageLook pageLook, const wchar_t* caption)
    : CFormView(nIDTemplate), m_look(std::move(pageLook)), m_caption(caption) {}

std::optional<std::wstring> CPageView::Caption() const {
    if (!m_caption) return std::nullopt;
    return std::wstring(m_caption);
}

void CPageView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    // Statics select their own font after asking for their colours, so the font rules are also
    // given to the controls themselves; otherwise the page would show in the dialog font.
    for (const look::Rule& r : m_look.rules)
        if (r.font)
            for (int id : r.ids)
                if (HWND h = ::GetDlgItem(m_hWnd, id))
                    ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(m_cache.Font(*r.font)), FALSE);
    FitFrameToForm();
}

void CPageView::FitFrameToForm() {
    CFrameWnd* frame = GetParentFrame();
    if (!frame || !frame->IsWindow() || ::IsZoomed(frame->m_hWnd)) return;
    CSize form = GetTotalSize();
    CRect client, outer;
    frame->GetClientRect(&client);
    frame->GetWindowRect(&outer);
    int width = outer.Width() + form.cx - client.Width();
    int height = outer.Height() + form.cy - client.Height();
    // Never larger than the area the frame lives in, and moved back into it where the cascade
    // placed it so far down or right that its buttons would lie outside.
    UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    CPoint at(outer.left, outer.top);
    if (HWND area = ::GetParent(frame->m_hWnd)) {
        CRect room;
        ::GetClientRect(area, &room);
        // Taller than the room: the page scrolls up and down, and its scroll bar comes beside the
        // form, not over it, so that nothing needs scrolling sideways.
        if (height > room.Height()) width += ::GetSystemMetrics(SM_CXVSCROLL);
        width = std::min(width, room.Width());
        height = std::min(height, room.Height());
        ::ScreenToClient(area, &at);
        const LONG x = std::max(0L, std::min(at.x, room.right - width)), y = std::max(0L, std::min(at.y, room.bottom - height));
        if (x != at.x || y != at.y) flags &= ~SWP_NOMOVE;
        at = CPoint(x, y);
    }
    frame->SetWindowPos(nullptr, at.x, at.y, width, height, flags);
}

void CPageView::OnDraw(CDC*) {
    if (auto caption = Caption())
        if (CDocument* doc = GetDocument()) {
            if (doc->GetTitle() != *caption) doc->SetTitle(*caption);
        }
}

BOOL CPageView::OnEraseBkgnd(CDC* pDC) {
    look::PaintBackground(this, pDC, m_look.background);
    return TRUE;
}

HBRUSH CPageView::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    HBRUSH brush = CFormView::OnCtlColor(pDC, pWnd, nCtlColor);
    return look::ApplyRules(m_look, m_cache, pDC, pWnd ? pWnd->GetDlgCtrlID() : 0, brush);
}
