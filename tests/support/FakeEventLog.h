// The built event log (FakeLog.h) for every reader of the log: the engine's, which the pages use.
#pragma once
#include "EventLog.h"
#include "FakeLog.h"

namespace testkit {

using FakeEventLog = FakeLogSource<engine::events::EventLogSource>;

// Makes every reader get a FakeEventLog over state, until the guard goes.
class UseFakeEventLog {
public:
    explicit UseFakeEventLog(std::shared_ptr<FakeLogState> state);
    ~UseFakeEventLog();
};

}  // namespace testkit
