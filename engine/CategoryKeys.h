// The keys of the fixed categories, each spelt once: code names a category through these, so a
// typo does not compile. The browsers' keys come from their definitions.
#pragma once

namespace engine::keys {
inline constexpr char kCache[] = "internet.cache";
inline constexpr char kCookies[] = "internet.cookies";
inline constexpr char kHistory[] = "internet.history";
inline constexpr char kTypedUrls[] = "internet.typed-urls";
inline constexpr char kRecycleBin[] = "system.recycle-bin";
inline constexpr char kRecentDocuments[] = "system.recent-documents";
inline constexpr char kNetworkPlaces[] = "system.network-places";
inline constexpr char kUserTemp[] = "system.user-temp";
inline constexpr char kWindowsTemp[] = "system.windows-temp";
inline constexpr char kClipboard[] = "system.clipboard";
inline constexpr char kEventLog[] = "system.event-log";
inline constexpr char kRegistryTraces[] = "system.registry-traces";
inline constexpr char kOpenFileHistory[] = "system.open-file-history";
inline constexpr char kMfu[] = "system.mfu";
inline constexpr char kAcrobat[] = "apps.acrobat";
inline constexpr char kAccess[] = "apps.access";
inline constexpr char kExcel[] = "apps.excel";
inline constexpr char kPowerPoint[] = "apps.powerpoint";
inline constexpr char kWord[] = "apps.word";
inline constexpr char kWinzip[] = "apps.winzip";
inline constexpr char kPaint[] = "apps.paint";
inline constexpr char kMediaPlayer[] = "apps.media-player";
inline constexpr char kMmc[] = "apps.mmc";
inline constexpr char kWordPad[] = "apps.wordpad";
}  // namespace engine::keys
