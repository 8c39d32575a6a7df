#include "ConsoleRun.h"

#include "EraseKit.h"
#include "Handles.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace testkit {

namespace {
std::string ReadAll(HANDLE pipe, std::chrono::steady_clock::time_point* first = nullptr) {
    std::string text;
    char buf[4096];
    DWORD n;
    while (::ReadFile(pipe, buf, sizeof buf, &n, nullptr) && n) {
        if (first && text.empty()) *first = std::chrono::steady_clock::now();
        text.append(buf, n);
    }
    ::CloseHandle(pipe);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}
}  // namespace

ConsoleRun RunConsole(std::wstring commandLine) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, errRead, errWrite;
    for (auto [read, write] : {std::pair{&outRead, &outWrite}, std::pair{&errRead, &errWrite}}) {
        ::CreatePipe(read, write, &inherit, 0);
        ::SetHandleInformation(*read, HANDLE_FLAG_INHERIT, 0);  // only the child's ends are inherited
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    PROCESS_INFORMATION pi{};
    ConsoleRun run;
    // In the test program's folder: the Linux folder Wine was started in has no drive letter here.
    const std::wstring folder = ProgramFolder();
    auto start = std::chrono::steady_clock::now(), first = start;
    ::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, folder.c_str(), &si, &pi);
    engine::Handle process(pi.hProcess), thread(pi.hThread);  // none when it did not start
    ::CloseHandle(outWrite);
    ::CloseHandle(errWrite);
    std::thread errors([&] { run.err = ReadAll(errRead); });
    run.out = ReadAll(outRead, &first);
    errors.join();
    auto end = std::chrono::steady_clock::now();
    if (run.out.empty()) first = end;
    run.firstOutputMs = std::chrono::duration<double, std::milli>(first - start).count();
    run.totalMs = std::chrono::duration<double, std::milli>(end - start).count();
    if (process && ::WaitForSingleObject(process.Get(), 60000) == WAIT_OBJECT_0) ::GetExitCodeProcess(process.Get(), &run.code);
    return run;
}

}  // namespace testkit
