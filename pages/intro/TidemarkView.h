#pragma once
#include "IntroLabels.h"
#include "afxwin.h"

// The introduction page's view: the product and the four kinds of trace it erases, as statics
// built when the window is made. Its frame never shows itself.
class CTidemarkView : public CScrollView {
public:
    int OnCreate(LPCREATESTRUCTW lpcs) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    DECLARE_MESSAGE_MAP()

private:
    CBodyLabel m_band;  // the empty white band at the top
    CTitleLabel m_title;
    CLeadLabel m_lead;
    CLeadLabel m_eraseLead;
    CBodyLabel m_paragraphs[4];
    CBitmapStatic m_pictures[5];
};
