// The pauses of the program (splash, per folder, per file, before an erase), held in one place.
// They are product defaults; CORVANE_PACING_PERCENT (0-100) or SetScalePercent turns them down,
// which the tests do so that they never wait for seconds.
#pragma once

namespace Pacing {
unsigned SplashMs();       // 2000: the splash window at start-up
unsigned FolderMs();       // 100: before each folder of a walk
unsigned FileMs();         // 1000: before each file an erase deletes
unsigned BeforeEraseMs();  // 100: before an erase walk starts
void SetScalePercent(unsigned percent);
}  // namespace Pacing
