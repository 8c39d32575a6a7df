#include "TestVolume.h"

#include <windows.h>

namespace testkit {

std::wstring TestVolumeProblem() {
    wchar_t label[MAX_PATH + 1] = L"";
    if (!::GetVolumeInformationW(L"T:\\", label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0))
        return L"T: is not there: mount the test volume with tests/support/test-volume.sh";
    if (std::wstring(label) != L"CORVANETEST") return L"T: is not the test volume (label " + std::wstring(label) + L")";
    return {};
}

}  // namespace testkit
