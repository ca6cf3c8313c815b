#pragma once
// Attaches the usage reports to the entry's points: tracker start and stop,
// the transfer-library failure, the crash report, the HTTP client's length
// failures and the main window's report points.
#include "app/Entry.h"

void AttachAnalyticsReports(EntryHooks& hooks);
