// Standard ids of the framework: commands, strings, window ids and private messages.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#ifndef ID_FILE_NEW
#define ID_FILE_NEW 57600
#endif
#ifndef ID_FILE_OPEN
#define ID_FILE_OPEN 57601
#endif
#ifndef ID_FILE_SAVE
#define ID_FILE_SAVE 57603
#endif
#ifndef ID_FILE_PRINT_SETUP
#define ID_FILE_PRINT_SETUP 57606
#endif
#ifndef ID_FILE_PRINT
#define ID_FILE_PRINT 57607
#endif
#ifndef ID_FILE_PRINT_DIRECT
#define ID_FILE_PRINT_DIRECT 57608
#endif
#ifndef ID_FILE_PRINT_PREVIEW
#define ID_FILE_PRINT_PREVIEW 57609
#endif
#ifndef ID_EDIT_COPY
#define ID_EDIT_COPY 57634
#endif
#ifndef ID_EDIT_CUT
#define ID_EDIT_CUT 57635
#endif
#ifndef ID_EDIT_PASTE
#define ID_EDIT_PASTE 57637
#endif
#ifndef ID_EDIT_UNDO
#define ID_EDIT_UNDO 57643
#endif
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT 57664
#endif
#ifndef ID_HELP
#define ID_HELP 57670
#endif
#ifndef ID_NEXT_PANE
#define ID_NEXT_PANE 57680
#endif
#ifndef ID_PREV_PANE
#define ID_PREV_PANE 57681
#endif
#ifndef ID_VIEW_TOOLBAR
#define ID_VIEW_TOOLBAR 59392
#endif
#ifndef ID_VIEW_STATUS_BAR
#define ID_VIEW_STATUS_BAR 59393
#endif
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 57344
#endif
#ifndef AFX_IDS_IDLEMESSAGE
#define AFX_IDS_IDLEMESSAGE 57345
#endif
#ifndef AFX_IDS_UNTITLED
#define AFX_IDS_UNTITLED 61440
#endif
#ifndef ID_INDICATOR_CAPS
#define ID_INDICATOR_CAPS 59137
#endif
#ifndef ID_INDICATOR_NUM
#define ID_INDICATOR_NUM 59138
#endif
#ifndef ID_INDICATOR_SCRL
#define ID_INDICATOR_SCRL 59139
#endif
#ifndef AFX_IDW_TOOLBAR
#define AFX_IDW_TOOLBAR 59392
#endif
#ifndef AFX_IDW_STATUS_BAR
#define AFX_IDW_STATUS_BAR 59393
#endif
#ifndef AFX_IDW_PANE_FIRST
#define AFX_IDW_PANE_FIRST 59648
#endif
#ifndef AFX_IDM_FIRST_MDICHILD
#define AFX_IDM_FIRST_MDICHILD 0xFF00
#endif

// Frame styles kept in the low word of the frame window's style.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L

// Private messages of the framework.
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_INITIALUPDATE 0x0364
