#include "TestVolume.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace testkit {

std::wstring TestVolumeProblem() {
    wchar_t label[MAX_PATH + 1] = L"";
    if (!::GetVolumeInformationW(L"T:\\", label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0))
        return L"T: is not there: mount the test volume with tests/support/test-volume.sh";
    if (std::wstring(label) != L"CORVANETEST") return L"T: is not the test volume (label " + std::wstring(label) + L")";
    return {};
}

bool MayWriteOnTestVolume() {
    char prefix[1024] = "";
    ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    const std::wstring problem = TestVolumeProblem();
    if (strstr(prefix, "/test-prefix") && problem.empty()) return true;
    fprintf(stderr, "refusing to run: not on the test volume of the build folder's test prefix (%ls)\n", problem.c_str());
    return false;
}

}  // namespace testkit
