#pragma once
// Attaches the usage reports to the entry's points: tracker start and stop,
// the transfer-library failure, the crash report and the HTTP client's
// length failures.
#include "app/Entry.h"

void AttachAnalyticsReports(EntryHooks& hooks);
