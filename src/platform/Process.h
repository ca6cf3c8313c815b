#pragma once
// Child processes with redirected standard streams, started with posix_spawn
// (never through a shell). Descriptors we create are close-on-exec; the child
// sees only its three standard streams and a sanitised environment.
#include <cstdint>
#include <string>
#include <vector>

namespace Platform {

using Handle = int;
inline constexpr Handle kNullHandle = -1;
inline constexpr uint32_t kStillActive = 259;

// Both ends close-on-exec; false on failure.
bool CreatePipe(Handle& readEnd, Handle& writeEnd);
void CloseHandle(Handle& handle);  // sets it to kNullHandle
// Blocks until data arrives; false at end of stream (every writer closed) or on error.
bool ReadFile(Handle handle, void* buffer, size_t size, size_t& bytesRead);
bool WriteFile(Handle handle, const void* buffer, size_t size);
// Waits at most timeoutMs for data or end of stream; true when a read will not block.
bool WaitReadable(Handle handle, int timeoutMs);

struct ChildProcess {
    int processId = 0;
    bool reaped = false;
    uint32_t exitCode = 0;
};

// The environment a child gets: ours without the variables that inject code
// into it (LD_PRELOAD, LD_LIBRARY_PATH, LD_AUDIT, ...).
std::vector<std::string> SanitisedEnvironment();

// Starts `arguments[0]` (searched on PATH when it has no "/"). stdinRead,
// stdoutWrite and stderrWrite become the child's 0, 1 and 2 (kNullHandle: /dev/null).
// An empty workingFolder keeps ours. Returns 0 or the errno of the failure.
int Spawn(const std::vector<std::string>& arguments, Handle stdinRead, Handle stdoutWrite, Handle stderrWrite,
          const std::string& workingFolder, ChildProcess& child);
// Spawns without redirection and forgets the child (it is reaped when it ends).
int SpawnDetached(const std::vector<std::string>& arguments, const std::string& workingFolder);
// kStillActive while the child runs; a child killed by a signal gives 128 + signal.
uint32_t GetExitCode(ChildProcess& child);
void WaitForExit(ChildProcess& child);
// Asks a child that is still running to end (SIGTERM); the caller still waits for it.
void Terminate(const ChildProcess& child);

}  // namespace Platform
