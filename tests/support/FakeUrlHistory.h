// A URL history for the test process. Wine's own history object lists nothing and clears
// nothing, so tests register this one as the class object of the history class: the program's
// CoCreateInstance then reaches it. The registration ends with the object.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include <windows.h>
#include <shlobj.h>
#include <shlguid.h>

namespace testkit {

class FakeUrlHistory {
public:
    struct Options {
        std::vector<std::optional<std::wstring>> urls;  // nullopt: an entry without an address
        HRESULT clearResult = S_OK;
        HRESULT createResult = S_OK;  // a failure makes the creation of the object fail
    };
    explicit FakeUrlHistory(Options options);
    ~FakeUrlHistory();
    FakeUrlHistory(const FakeUrlHistory&) = delete;
    FakeUrlHistory& operator=(const FakeUrlHistory&) = delete;

    int ClearCalls() const;
    // Objects handed out and not yet released (history objects and enumerators).
    long LiveObjects() const;

    struct State;

private:
    State* m_state;
    DWORD m_cookie = 0;
};

}  // namespace testkit
