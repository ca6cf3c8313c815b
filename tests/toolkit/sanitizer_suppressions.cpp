// Font and text libraries, and the desktop bus the display library opens,
// keep process-wide caches that the leak checker reports at exit, and Pango
// prepares fontconfig on a thread of its own with locks the race detector
// cannot see (the libraries are not instrumented).
// Neither is ours; our own code stays fully checked.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libpango-1.0.so\nleak:libpangoft2-1.0.so\nleak:libcairo.so\n"
           "leak:libharfbuzz.so\nleak:libglib-2.0.so\nleak:libgobject-2.0.so\nleak:libdbus-1.so\n";
}

extern "C" const char* __tsan_default_suppressions()
{
    return "race:libfontconfig.so\nrace:libglib-2.0.so\nrace:libpango-1.0.so\nrace:libpangoft2-1.0.so\n"
           "race:libcairo.so\nrace:libharfbuzz.so\nrace:libgobject-2.0.so\n"
           // The desktop bus library takes its connection and pending-call locks
           // in either order on a connection that only one thread ever uses.
           "deadlock:libdbus-1.so\n";
}
