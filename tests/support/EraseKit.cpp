#include "EraseKit.h"

#include "TestKit.h"
#include "Traces.h"
#include "Walk.h"

namespace testkit {

std::wstring UseLibraryStub(const std::wstring& scratchName) {
    std::wstring log = ScratchFolder(scratchName) + L"\\calls.txt";
    ::SetEnvironmentVariableW(L"CORVANE_KESTRIX_LOG", log.c_str());
    std::wstring dir = ProgramFolder();
    ::CopyFileW((dir + L"kestrix\\Kestrix.dll").c_str(), (dir + L"Kestrix.dll").c_str(), FALSE);
    return log;
}

std::wstring ProgramFolder() {
    wchar_t exe[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    const std::wstring path = exe;
    return path.substr(0, path.rfind(L'\\') + 1);
}

std::wstring ReadText(const std::wstring& path) {
    std::string bytes = ReadWholeFile(path);  // the test library writes ASCII
    return std::wstring(bytes.begin(), bytes.end());
}

std::vector<std::wstring> ListedNames(const std::wstring& folder, bool withFolders) {
    struct Names : engine::WalkSink {
        bool folders;
        std::vector<std::wstring> names;
        void Met(const std::wstring& rel, bool folder, unsigned long long) override {
            std::wstring name = rel.substr(rel.find_last_of(L'\\') + 1);
            if (folder ? folders : engine::IsListedCacheName(name)) names.push_back(name);
        }
    } sink;
    sink.folders = withFolders;
    engine::ListFolder(folder, {}, &sink);
    return sink.names;
}
}  // namespace testkit
