// The built event log (FakeLog.h) for the pages' reader.
#pragma once
#include "FakeLog.h"
#include "system/EventLogReader.h"

namespace testkit {

using FakeEventLog = FakeLogSource<eventlog::EventLogSource>;

// Makes every reader of the pages get a FakeEventLog over state, until the guard goes.
class UseFakeEventLog {
public:
    explicit UseFakeEventLog(std::shared_ptr<FakeLogState> state);
    ~UseFakeEventLog();
};

}  // namespace testkit
