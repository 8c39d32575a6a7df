// The frames of the pages: MDI children with no behaviour of their own, one class per page.
#pragma once
#include "afxwin.h"

class CAAFrm : public CMDIChildWnd {};
class CAdminTempFFrm : public CMDIChildWnd {};
class CApplicationTFrm : public CMDIChildWnd {};
class CClipBoardFrm : public CMDIChildWnd {};
class CCookiesFrm : public CMDIChildWnd {};
class CDrivesFrm : public CMDIChildWnd {};
class CEventLogFrm : public CMDIChildWnd {};
class CHistoryFrm : public CMDIChildWnd {};
class CInternetFrm : public CMDIChildWnd {};
class CMAFrm : public CMDIChildWnd {};
class CMediaPlayerFrm : public CMDIChildWnd {};
class CMEFrm : public CMDIChildWnd {};
class CMFURegFrm : public CMDIChildWnd {};
class CMMConsoleFrm : public CMDIChildWnd {};
class CMPptFrm : public CMDIChildWnd {};
class CMWFrm : public CMDIChildWnd {};
class COFHistoryFrm : public CMDIChildWnd {};
class CPaintFrm : public CMDIChildWnd {};
class CPopupBlockerFrm : public CMDIChildWnd {};
class CRecentDocFrm : public CMDIChildWnd {};
class CRecentNWFolFrm : public CMDIChildWnd {};
class CRecycleFrm : public CMDIChildWnd {};
class CSysTempFFrm : public CMDIChildWnd {};
class CSystemFrm : public CMDIChildWnd {};
class CSystemPFrm : public CMDIChildWnd {};
class CTempNetFileFrm : public CMDIChildWnd {};
class CTypedUrlFrm : public CMDIChildWnd {};
class CUSpaceFrm : public CMDIChildWnd {};
class CWinzipFrm : public CMDIChildWnd {};
class CWipeListFrm : public CMDIChildWnd {};
class CWordPadFrm : public CMDIChildWnd {};
