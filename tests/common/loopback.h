#pragma once
// Ports on 127.0.0.1 for the servers tests start themselves.

namespace lexivar::test {

// A port that was free a moment ago; 0 when none could be found. Another
// process may still take it before the caller binds, so callers retry.
int FreeLoopbackPort();
// Whether something accepts connections on the port now.
bool AcceptsConnections(int port);

}  // namespace lexivar::test
