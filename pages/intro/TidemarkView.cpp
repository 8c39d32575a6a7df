#include "TidemarkView.h"

void CTidemarkView::OnInitialUpdate() {
    CScrollView::OnInitialUpdate();
    SetScrollSizes(MM_TEXT, CSize(715, 715));
}
