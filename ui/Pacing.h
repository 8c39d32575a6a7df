// The pauses of the program (splash, per folder, per file, before an erase, between two showings
// of a wipe's progress), held in one place.
// They are product defaults; CORVANE_PACING_PERCENT (0-100) or SetScalePercent turns them down,
// which the tests do so that they never wait for seconds. Quick Erase drops the erase pauses.
#pragma once

namespace Pacing {
unsigned SplashMs();       // 2000: the splash window at start-up
unsigned FolderMs();       // 100: before each folder of a walk; 0 with Quick Erase
unsigned FileMs();         // 1000: before each file an erase deletes; 0 with Quick Erase
unsigned BeforeEraseMs();  // 100: before an erase walk starts; 0 with Quick Erase
unsigned WipeShowMs();     // 250: at least between two showings of a wipe's progress
void SetScalePercent(unsigned percent);
// The user's "Quick Erase" setting, given by the application at start-up and by its menu.
void SetQuickErase(bool on);
bool QuickErase();
}  // namespace Pacing
