// How fast files are overwritten and deleted on the test volume T:, beside a bare loop doing the
// same writes of the same generator's data, a flush and a delete through the handle: 1,000 files
// of 16 KiB and one of 64 MiB. The two are timed in turn, each figure the best of its rounds (the
// machine is shared: the least disturbed round is the one to compare). The volume needs room:
//   tests/support/test-volume.sh mount build 256M ntfs
//   scripts/wine-run.sh build build/bin/bench_overwrite.exe
//   tests/support/test-volume.sh remove build
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "AlignedBuffer.h"
#include "Overwrite.h"
#include "Random.h"
#include "TestVolume.h"

namespace {
constexpr size_t kChunk = 1 << 20;
const std::wstring kFolder = L"T:\\bench-overwrite";

std::wstring Name(int i) { return kFolder + L"\\f" + std::to_wstring(i) + L".bin"; }

HANDLE Open(const std::wstring& path) {
    return ::CreateFileW(path.c_str(), engine::kOverwriteAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Makes the files, then times fn over them: until the last close returns (at[0]) and until the
// volume has their clusters back (at[1]), which the driver frees after the close returns, later
// for a delete than for a truncation.
void Timed(int count, size_t bytes, const std::function<void(HANDLE, const std::wstring&)>& fn, double at[2]) {
    for (int i = 0; i < count; ++i) testkit::WriteTextFile(Name(i), "x", bytes);
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i) {
        HANDLE h = Open(Name(i));
        fn(h, Name(i));
        ::CloseHandle(h);
    }
    at[0] = std::min(at[0], std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    ULARGE_INTEGER free;
    ::GetDiskFreeSpaceExW(L"T:\\", &free, nullptr, nullptr);  // answered once the driver is done
    at[1] = std::min(at[1], std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
}

void Compare(int count, size_t bytes, int rounds, double target) {
    engine::AlignedBuffer buffer(std::min(bytes, kChunk));
    engine::RandomStream random;
    auto bare = [&](HANDLE h, const std::wstring&) {
        DWORD done;
        for (size_t at = 0; at < bytes; at += buffer.size()) {
            random.Fill(buffer.data(), buffer.size());
            ::WriteFile(h, buffer.data(), static_cast<DWORD>(buffer.size()), &done, nullptr);
        }
        ::FlushFileBuffers(h);
        FILE_DISPOSITION_INFO dispose{TRUE};
        ::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose);
    };
    int overwritten = 0;
    auto ours = [&](HANDLE h, const std::wstring& path) {
        std::wstring note;
        overwritten += engine::OverwriteAndDelete(h, path, 1, note) == engine::Disposal::Overwritten;
    };
    double best[2][2] = {{1e9, 1e9}, {1e9, 1e9}};
    for (int run = 0; run < 2 * rounds; ++run) {
        const int which = (run + run / 2) % 2;  // bare, ours, ours, bare, ...: neither always goes first
        Timed(count, bytes, which ? std::function<void(HANDLE, const std::wstring&)>(ours) : bare, best[which]);
    }
    const double mib = double(count) * bytes / (1 << 20);
    for (int at = 0; at < 2; ++at)
        printf("%5d x %6zu KiB, %-15s bare loop %6.3f s (%6.1f MiB/s), overwrite %6.3f s (%6.1f MiB/s): %.2fx (target %.1fx)\n",
               count, bytes >> 10, at ? "to space back:" : "to last close:", best[0][at], mib / best[0][at], best[1][at],
               mib / best[1][at], best[0][at] / best[1][at], target);
    printf("%d of %d files overwritten\n", overwritten, count * rounds);
    fflush(stdout);
}
}  // namespace

int main() {
    if (!testkit::MayWriteOnTestVolume()) return 2;
    ::CreateDirectoryW(kFolder.c_str(), nullptr);
    Compare(1000, 16 << 10, 3, 0.5);
    Compare(1, 64 << 20, 12, 0.9);
    ::RemoveDirectoryW(kFolder.c_str());
    return 0;
}
