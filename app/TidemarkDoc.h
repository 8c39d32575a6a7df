// The documents of the pages. They hold no data: every page reads its traces straight from the
// system. The four page-specific classes exist only to be distinct types.
#pragma once
#include "afxwin.h"

class CTidemarkDoc : public CDocument {};
class CRecycleDocument : public CDocument {};
class CSystemDocument : public CDocument {};
class CMMConsoleDocument : public CDocument {};
class CMediaPlayerDoc : public CDocument {};
