#pragma once
// The one percentage shown for a whole installation: the download fills the
// first `downloadScale` of the bar, the package installer the rest.
#include <cstdint>
#include <string>

struct InstallProgress {
    double downloadScale = 0.7;
    // Displayed share of the installation phase; only grows.
    double installEstimate = 0.0;

    int OnDownload(double value) const;
    // Each installer report moves the display on by at least 15% of the
    // installation phase (up to 95%), so a silent installer still shows life.
    int OnInstall(double value);
};

// The progress text: the layout's own pattern when it has one, else the
// wording for a short or (after 60 s) a long wait.
std::wstring ProgressText(const std::wstring& pattern, double secondsSinceDownloadStart, int percent);

// The value of an event taken as an unsigned 32-bit number, the way a
// negative count wraps; junk (not a number) gives 0.
uint32_t EventValueToUint32(double value);
// The integer part of an event value; junk gives 0.
int32_t EventValueToInt32(double value);
