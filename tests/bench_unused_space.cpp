// How fast a wipe of unused space writes, beside a bare loop of the same unbuffered writes of the
// same generator's data until the volume is full (then a flush and a delete), in the same run on
// the test volume T: (never C:). Each figure is the best of three runs taken in turn. Also how
// long a wipe stopped at half way takes to remove its filler (the promise is 2 s).
//   tests/support/test-volume.sh mount build 256M
//   scripts/wine-run.sh build build/bin/bench_unused_space.exe
//   tests/support/test-volume.sh remove build
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "AlignedBuffer.h"
#include "Random.h"
#include "TestVolume.h"
#include "UnusedSpace.h"
#include "Worker.h"

namespace {
constexpr size_t kBlock = 4 << 20;

// Bytes written per second by the bare loop.
double BareFill() {
    const auto t0 = std::chrono::steady_clock::now();
    engine::AlignedBuffer buffer(kBlock);
    engine::RandomStream random;
    HANDLE h = ::CreateFileW(L"T:\\bare-fill.bin", GENERIC_WRITE | DELETE, 0, nullptr, CREATE_ALWAYS,
                             FILE_FLAG_NO_BUFFERING | FILE_FLAG_WRITE_THROUGH, nullptr);
    unsigned long long written = 0;
    DWORD done = 0;
    for (;;) {
        random.Fill(buffer.data(), kBlock);
        if (!::WriteFile(h, buffer.data(), kBlock, &done, nullptr) || done != kBlock) break;
        written += done;
    }
    written += done;
    ::FlushFileBuffers(h);
    FILE_DISPOSITION_INFO dispose{TRUE};
    ::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose);
    ::CloseHandle(h);
    return written / std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}
}  // namespace

int main() {
    char prefix[1024] = "";
    ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    if (!strstr(prefix, "/test-prefix")) {
        fprintf(stderr, "refusing to run: not in the build folder's test Wine prefix\n");
        return 2;
    }
    const std::wstring problem = testkit::TestVolumeProblem();
    if (!problem.empty()) {
        fprintf(stderr, "%ls\n", problem.c_str());
        return 1;
    }
    double bare = 0, wipe = 0;
    engine::WipeResult r;
    for (int run = 0; run < 3; ++run) {
        bare = std::max(bare, BareFill());
        engine::StopToken stop;
        r = engine::WipeUnusedSpace(L'T', nullptr, stop);
        if (!r.complete) {
            fprintf(stderr, "the wipe did not complete: %ls\n", r.failure.c_str());
            return 1;
        }
        wipe = std::max(wipe, r.bytesWiped / r.seconds);
    }
    // Stopped at half way: from the stop to the wipe's return, when its filler is gone.
    engine::StopToken stop;
    std::chrono::steady_clock::time_point asked{};
    engine::WipeUnusedSpace(L'T', [&](const engine::WipeStatus& st) {
        if (!stop.Requested() && st.written * 2 >= st.freeAtStart) {
            asked = std::chrono::steady_clock::now();
            stop.Request();
        }
    }, stop);
    const double removal = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
    printf("a wipe stopped at half way removed its filler in %.2f s (target 2 s)\n", removal);
    printf("bare unbuffered loop: %.1f MiB/s; wipe of unused space: %.1f MiB/s (%.1f MiB, %u file records, %.2f s): "
           "%.2fx (target 0.9x)\n",
           bare / (1 << 20), wipe / (1 << 20), r.bytesWiped / double(1 << 20), r.fileRecords, r.seconds, wipe / bare);
    return 0;
}
