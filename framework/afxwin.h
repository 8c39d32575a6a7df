// The application framework, all of it.
#pragma once
#include "afxres.h"
#include "afxbase.h"
#include "afxmsg.h"
#include "afxwnd.h"
#include "afxctrls.h"
#include "afxdlg.h"
#include "afxdoc.h"
#include "afxframe.h"
#include "afxbars.h"
#include "afxview.h"
#include "afxapp.h"
