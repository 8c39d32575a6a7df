#pragma once
#include "afxwin.h"

// The introduction page's view. Its frame never shows itself.
class CTidemarkView : public CScrollView {
public:
    void OnInitialUpdate() override;
};
