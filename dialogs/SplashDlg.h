#pragma once
#include "BitmapDialog.h"

// The caption-less window shown while the program starts.
class CSplashDlg : public CBitmapDialog {
public:
    CSplashDlg();
};
