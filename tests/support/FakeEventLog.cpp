#include "FakeEventLog.h"

namespace testkit {

UseFakeEventLog::UseFakeEventLog(std::shared_ptr<FakeLogState> state) {
    eventlog::SetSourceFactory([state] { return std::make_unique<FakeEventLog>(state); });
}

UseFakeEventLog::~UseFakeEventLog() { eventlog::SetSourceFactory(nullptr); }

}  // namespace testkit
