#include "SplashDlg.h"

#include "resource.h"

CSplashDlg::CSplashDlg() : CBitmapDialog(IDD_SPLASH, 270) {}
