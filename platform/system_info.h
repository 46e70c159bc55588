// The processor, memory and operating-system lines written to the log at
// start-up, so a log sent in by a user tells what machine it came from.
#pragma once

namespace kxsystem {

void LogSystemInfo();

}  // namespace kxsystem
