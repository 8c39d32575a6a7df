// How long a wipe of unused space takes, beside a bare loop of unbuffered writes of the same
// generator's data until the volume is full (then a flush and a delete), in the same run on the
// test volume T: (never C:); the promise is 2x the bare fill + 2 s. Each figure is the best of
// three runs taken in turn. Also how long a wipe stopped at half way takes to remove its filler
// (the promise is 2 s).
//   tests/support/test-volume.sh mount build 256M ntfs
//   scripts/wine-run.sh build build/bin/bench_unused_space.exe
//   tests/support/test-volume.sh remove build
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "AlignedBuffer.h"
#include "Random.h"
#include "TestVolume.h"
#include "UnusedSpace.h"
#include "Worker.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr size_t kBlock = 4 << 20;

double Since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// Seconds the bare loop takes.
double BareFill() {
    const auto t0 = Clock::now();
    engine::AlignedBuffer buffer(kBlock);
    engine::RandomStream random;
    HANDLE h = ::CreateFileW(L"T:\\bare-fill.bin", GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS,
                             FILE_FLAG_NO_BUFFERING | FILE_FLAG_WRITE_THROUGH, nullptr);
    DWORD done = kBlock;
    while (done == kBlock) {
        random.Fill(buffer.data(), kBlock);
        if (!::WriteFile(h, buffer.data(), kBlock, &done, nullptr)) break;
    }
    ::FlushFileBuffers(h);
    FILE_DISPOSITION_INFO dispose{TRUE};
    ::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose);
    ::CloseHandle(h);
    return Since(t0);
}
}  // namespace

int main() {
    if (!testkit::MayWriteOnTestVolume()) return 2;
    double bare = 1e9, wipe = 1e9;
    engine::WipeResult r;
    for (int run = 0; run < 3; ++run) {
        bare = std::min(bare, BareFill());
        engine::StopToken stop;
        r = engine::WipeUnusedSpace(L'T', nullptr, stop);
        if (!r.complete) {
            fprintf(stderr, "the wipe did not complete: %ls\n", r.failure.c_str());
            return 1;
        }
        wipe = std::min(wipe, r.seconds);
    }
    // Stopped at half way: from the stop to the wipe's return, when its filler is gone.
    engine::StopToken stop;
    Clock::time_point asked{};
    engine::WipeUnusedSpace(L'T', [&](const engine::WipeStatus& st) {
        if (!stop.Requested() && st.written * 2 >= st.freeAtStart) {
            asked = Clock::now();
            stop.Request();
        }
    }, stop);
    printf("a wipe stopped at half way removed its filler in %.2f s (target 2 s)\n", Since(asked));
    printf("bare unbuffered fill: %.2f s; wipe of unused space: %.2f s (%.1f MiB, %u file records): %.2fx "
           "(target: at most 2x + 2 s, %.2f s)\n",
           bare, wipe, r.bytesWiped / double(1 << 20), r.fileRecords, wipe / bare, 2 * bare + 2);
    return 0;
}
