// The look every page shares: the background drawn in lines of the page's colour, and the
// colour and font rules of its statics, given per page as data and applied by one routine.
#pragma once
#include <map>
#include <memory>
#include <optional>

#include "afxwin.h"

namespace look {
constexpr COLORREF kPageColour = RGB(208, 231, 247);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kWipeListGrey = RGB(192, 192, 192);
constexpr COLORREF kDriveRowGrey = RGB(211, 211, 211);

struct FontSpec {
    const wchar_t* face;
    int height, width, weight;
};
// The weights are raw numbers, far below FW_NORMAL: the font mapper takes the face's regular weight.
extern const FontSpec kTitleFont, kTextFont, kHeadingFont, kSummaryTextFont, kDriveLabelFont,
    kDriveHeadingFont, kSettingsFont;

struct Rule {
    const FontSpec* font;  // null: a colour rule
    COLORREF colour;
    std::vector<int> ids;
};
inline Rule Colour(COLORREF c, std::vector<int> ids) { return {nullptr, c, std::move(ids)}; }
inline Rule Font(const FontSpec& f, std::vector<int> ids) { return {&f, 0, std::move(ids)}; }

struct PageLook {
    COLORREF background;
    std::vector<Rule> rules;  // applied in order; a later rule overrides an earlier one
};

// The list pages: title static on the page colour in the title font, text static on the page
// colour in the text font.
PageLook ListLook(int titleId, int textId);

// The brushes and fonts a page's rules make, created once and released with the page.
class LookCache {
public:
    HBRUSH Brush(COLORREF c);
    HFONT Font(const FontSpec& f);

private:
    std::map<COLORREF, std::unique_ptr<CBrush>> m_brushes;
    std::map<const FontSpec*, std::unique_ptr<CFont>> m_fonts;
};

// Applies the rules that name the control; the default brush stays when none does.
HBRUSH ApplyRules(const PageLook& look, LookCache& cache, CDC* pDC, int ctrlId, HBRUSH defaultBrush);
// Fills the client area with horizontal lines of the colour, rows 0 to the height inclusive.
void PaintBackground(CWnd* pWnd, CDC* pDC, COLORREF colour);
}  // namespace look

// The form view of a page: its look and its caption. The caption is set each time the view
// draws; a page without one keeps the framework's untitled name.
class CPageView : public CFormView {
public:
    CPageView(UINT nIDTemplate, look::PageLook pageLook, const wchar_t* caption);
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    BOOL OnEraseBkgnd(CDC* pDC) override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    const look::PageLook& Look() const { return m_look; }

protected:
    virtual std::optional<std::wstring> Caption() const;
    // Sizes the page's frame so that the whole form shows, as far as the main window allows.
    void FitFrameToForm();
    look::PageLook m_look;
    look::LookCache m_cache;
    const wchar_t* m_caption;

    DECLARE_MESSAGE_MAP()
};
