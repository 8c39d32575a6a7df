#include "Pages.h"

#include <algorithm>

#include "PageFrames.h"
#include "TidemarkDoc.h"
#include "Categories.h"
#include "applications/ApplicationTVw.h"
#include "browsers/BrowsersVw.h"
#include "applications/RecentFileListPages.h"
#include "drives/DrivesVw.h"
#include "drives/USpaceVw.h"
#include "drives/WipeListVw.h"
#include "internet/Cookies.h"
#include "internet/HistroryVw.h"
#include "internet/InternetVw.h"
#include "internet/TempNetFileVw.h"
#include "internet/TypedUrlVw.h"
#include "system/ClipBoardVw.h"
#include "system/EventLogVw.h"
#include "system/RecentPages.h"
#include "system/RecycleVw.h"
#include "system/RegistryListPages.h"
#include "system/SystemPVw.h"
#include "system/SystemVw.h"
#include "system/TempFilesPages.h"
#include "traces/TraceListVw.h"
#include "TraceCategories.h"

namespace pages {

namespace {
std::vector<PageRow> MakeRows() {
    std::vector<PageRow> rows{
        {"system.recycle-bin", 155, RUNTIME_CLASS(CRecycleDocument), RUNTIME_CLASS(CRecycleFrm), RUNTIME_CLASS(CRecycleVw)},
        {"system.registry-traces", 157, RUNTIME_CLASS(CSystemDocument), RUNTIME_CLASS(CSystemFrm), RUNTIME_CLASS(CSystemVw)},
        {"apps.mmc", 211, RUNTIME_CLASS(CMMConsoleDocument), RUNTIME_CLASS(CMMConsoleFrm), RUNTIME_CLASS(CMMConsoleVw)},
        {"apps.media-player", 163, RUNTIME_CLASS(CMediaPlayerDoc), RUNTIME_CLASS(CMediaPlayerFrm), RUNTIME_CLASS(CMediaPlayerVw)},
        {"apps.paint", 159, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CPaintFrm), RUNTIME_CLASS(CPaintVw)},
        {"system.recent-documents", 177, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CRecentDocFrm), RUNTIME_CLASS(CRecentDocu)},
        {"internet.typed-urls", 158, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CTypedUrlFrm), RUNTIME_CLASS(CTypedUrlVw)},
        {"internet.cookies", 165, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CCookiesFrm), RUNTIME_CLASS(CCookies)},
        {"internet.history", 162, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CHistoryFrm), RUNTIME_CLASS(CHistroryVw)},
        {"system.clipboard", 167, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CClipBoardFrm), RUNTIME_CLASS(CClipBoardVw)},
        {"system.event-log", 180, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CEventLogFrm), RUNTIME_CLASS(CEventLogVw)},
        {kUnusedSpace, 181, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CUSpaceFrm), RUNTIME_CLASS(CUSpaceVw), L"Unused Space", 25, true},
        {kDrives, 145, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CDrivesFrm), RUNTIME_CLASS(CDrivesVw)},
        {"apps.wordpad", 175, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CWordPadFrm), RUNTIME_CLASS(CWordPadVw)},
        {"internet.cache", 310, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CTempNetFileFrm), RUNTIME_CLASS(CTempNetFileVw)},
        {"system.open-file-history", 179, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(COFHistoryFrm), RUNTIME_CLASS(COFHistoryVw)},
        {"system.mfu", 263, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CMFURegFrm), RUNTIME_CLASS(CMFURegVw)},
        {kInternet, 182, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CInternetFrm), RUNTIME_CLASS(CInternetVw), L"Internet", 26, true},
        {kSystem, 183, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CSystemPFrm), RUNTIME_CLASS(CSystemPVw), L"System", 27, true},
        {"system.user-temp", 204, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CAdminTempFFrm), RUNTIME_CLASS(CAdminTempFVw)},
        {"system.windows-temp", 202, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CSysTempFFrm), RUNTIME_CLASS(CSysTempFile)},
        {"system.network-places", 203, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CRecentNWFolFrm), RUNTIME_CLASS(CRecentNWFVw)},
        {kApplications, 184, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CApplicationTFrm), RUNTIME_CLASS(CApplicationTVw), L"Application Traces", 28, true},
        {"apps.acrobat", 168, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CAAFrm), RUNTIME_CLASS(CAAVw)},
        {"apps.access", 178, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CMAFrm), RUNTIME_CLASS(CMAVw)},
        {"apps.excel", 169, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CMEFrm), RUNTIME_CLASS(CMEVw)},
        {"apps.powerpoint", 171, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CMPptFrm), RUNTIME_CLASS(CMPptVw)},
        {"apps.word", 172, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CMWFrm), RUNTIME_CLASS(CMWVw)},
        {"apps.winzip", 170, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CWinzipFrm), RUNTIME_CLASS(CWinzipVw)},
        {kWipeList, 259, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CWipeListFrm), RUNTIME_CLASS(CWipeListVw), L"Wipe List", 33, false},
        {kBrowsers, 182, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CBrowsersFrm), RUNTIME_CLASS(CBrowsersVw), L"Web Browsers", 26, true},
    };
    // Every other category a definition describes opens the one page for them.
    for (const engine::TraceDef& def : engine::TraceDefinitions()) {
        auto shown = [&](const PageRow& r) { return def.key == r.key; };
        if (std::none_of(rows.begin(), rows.end(), shown))
            rows.push_back({def.key.c_str(), def.group == "apps" ? 184u : 183u, RUNTIME_CLASS(CTidemarkDoc),
                            RUNTIME_CLASS(CTraceListFrm), RUNTIME_CLASS(CTraceListVw)});
    }
    return rows;
}
}  // namespace

const std::vector<PageRow>& Rows() {
    static const std::vector<PageRow> rows = MakeRows();
    return rows;
}

const PageRow* Find(const std::string& key) {
    for (const PageRow& r : Rows())
        if (key == r.key) return &r;
    return nullptr;
}

std::wstring TextOf(const PageRow& row) {
    if (row.text) return row.text;
    const engine::Category* c = engine::FindCategory(row.key);
    return c ? c->name : std::wstring();
}

int ImageOf(const PageRow& row) {
    if (row.text) return row.image;
    const engine::Category* c = engine::FindCategory(row.key);
    return c ? c->icon : -1;
}

const PageRow* FindByText(const std::wstring& text) {
    for (const PageRow& r : Rows())
        if (!TextOf(r).empty() && TextOf(r) == text) return &r;
    return nullptr;
}

}  // namespace pages
