// How fast files are overwritten and deleted, beside a bare loop doing the same writes of the same
// generator's data, flushes and deletes with WriteFile in the same run: 1,000 files of 16 KiB and
// one of 64 MiB, on the test volume T: and in the build folder (Y:). Also the generator's own
// speed beside a memset of the same bytes. Each figure is the best of three runs taken in turn.
// The test volume needs room for the large file:
//   tests/support/test-volume.sh mount build 256M
//   scripts/wine-run.sh build build/bin/bench_overwrite.exe
//   tests/support/test-volume.sh remove build
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "AlignedBuffer.h"
#include "Overwrite.h"
#include "Random.h"
#include "TestVolume.h"

using Clock = std::chrono::steady_clock;

namespace {
constexpr size_t kChunk = 1 << 20;

double Seconds(const std::function<void()>& fn) {
    auto t0 = Clock::now();
    fn();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

std::wstring Name(const std::wstring& folder, int i) { return folder + L"\\f" + std::to_wstring(i) + L".bin"; }

HANDLE Open(const std::wstring& path) {
    return ::CreateFileW(path.c_str(), engine::kOverwriteAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

void MakeFiles(const std::wstring& folder, int count, size_t bytes) {
    ::CreateDirectoryW(folder.c_str(), nullptr);
    engine::AlignedBuffer data(std::min(bytes, kChunk));
    std::memset(data.data(), 'x', data.size());
    for (int i = 0; i < count; ++i) {
        HANDLE h = ::CreateFileW(Name(folder, i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD done;
        for (size_t at = 0; at < bytes; at += data.size()) ::WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &done, nullptr);
        ::FlushFileBuffers(h);
        ::CloseHandle(h);
    }
}

// The bare loop: the same writes of fresh generator data, a flush, a delete through the handle.
int BareLoop(const std::wstring& folder, int count, size_t bytes) {
    engine::AlignedBuffer buffer(std::min(bytes, kChunk));
    engine::RandomStream random;
    int deleted = 0;
    for (int i = 0; i < count; ++i) {
        HANDLE h = Open(Name(folder, i));
        DWORD done;
        for (size_t at = 0; at < bytes; at += buffer.size()) {
            random.Fill(buffer.data(), buffer.size());
            ::WriteFile(h, buffer.data(), static_cast<DWORD>(buffer.size()), &done, nullptr);
        }
        ::FlushFileBuffers(h);
        FILE_DISPOSITION_INFO dispose{TRUE};
        deleted += ::SetFileInformationByHandle(h, FileDispositionInfo, &dispose, sizeof dispose) != FALSE;
        ::CloseHandle(h);
    }
    return deleted;
}

int Overwrite(const std::wstring& folder, int count) {
    int overwritten = 0;
    std::wstring note;
    for (int i = 0; i < count; ++i) {
        const std::wstring path = Name(folder, i);
        HANDLE h = Open(path);
        overwritten += engine::OverwriteAndDelete(h, path, 1, note) == engine::Disposal::Overwritten;
        ::CloseHandle(h);
    }
    return overwritten;
}

void Compare(const wchar_t* where, const std::wstring& folder, int count, size_t bytes, double target) {
    double bare = 1e9, ours = 1e9;
    int deleted = 0, overwritten = 0;
    for (int run = 0; run < 3; ++run) {
        MakeFiles(folder, count, bytes);
        bare = std::min(bare, Seconds([&] { deleted = BareLoop(folder, count, bytes); }));
        MakeFiles(folder, count, bytes);
        ours = std::min(ours, Seconds([&] { overwritten = Overwrite(folder, count); }));
    }
    ::RemoveDirectoryW(folder.c_str());
    const double mb = double(count) * bytes / (1 << 20);
    printf("%-12ls %5d x %6zu KiB: bare loop %7.3f s (%6.1f MiB/s, %d deleted), overwrite %7.3f s (%6.1f MiB/s, %d "
           "overwritten): %.2fx (target %.1fx)\n",
           where, count, bytes >> 10, bare, mb / bare, deleted, ours, mb / ours, overwritten, bare / ours, target);
    fflush(stdout);
}

void Generator() {
    engine::AlignedBuffer buffer(kChunk);
    engine::RandomStream random;
    const int rounds = 512;
    double fill = 1e9, set = 1e9;
    for (int run = 0; run < 3; ++run) {
        fill = std::min(fill, Seconds([&] {
            for (int i = 0; i < rounds; ++i) random.Fill(buffer.data(), buffer.size());
        }));
        set = std::min(set, Seconds([&] {
            for (int i = 0; i < rounds; ++i) {
                std::memset(buffer.data(), i, buffer.size());
                asm volatile("" : : "r"(buffer.data()) : "memory");
            }
        }));
    }
    printf("generator: %.2f GB/s; memset of the same bytes: %.2f GB/s (%d MiB each, one core)\n",
           rounds * double(kChunk) / fill / 1e9, rounds * double(kChunk) / set / 1e9, rounds);
    fflush(stdout);
}

void OnFolder(const wchar_t* where, const std::wstring& folder) {
    Compare(where, folder, 1000, 16 << 10, 0.8);
    Compare(where, folder, 1, 64 << 20, 0.9);
}
}  // namespace

int main() {
    char prefix[1024] = "";
    ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    if (!strstr(prefix, "/test-prefix")) {
        fprintf(stderr, "refusing to run: not in the build folder's test Wine prefix\n");
        return 2;
    }
    Generator();
    const std::wstring problem = testkit::TestVolumeProblem();
    if (problem.empty()) OnFolder(L"test volume", L"T:\\bench-overwrite");
    else printf("%ls: the test volume's figures are left out\n", problem.c_str());
    OnFolder(L"build folder", L"Y:\\bench-overwrite");
    return problem.empty() ? 0 : 1;
}
