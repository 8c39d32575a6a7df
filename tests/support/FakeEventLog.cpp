#include "FakeEventLog.h"

namespace testkit {

UseFakeEventLog::UseFakeEventLog(std::shared_ptr<FakeLogState> state) {
    engine::events::SetSourceFactory([state] { return std::make_unique<FakeEventLog>(state); });
}

UseFakeEventLog::~UseFakeEventLog() { engine::events::SetSourceFactory(nullptr); }

}  // namespace testkit
