#include "ui/InstallProgress.h"

#include <algorithm>
#include <cmath>

#include "toolkit/int_format.h"

namespace {

// Events come from another program; a share outside 0..1 (or not a number)
// must not push the bar past its ends.
double Share(double value)
{
    if (!std::isfinite(value)) return 0.0;
    return std::clamp(value, 0.0, 1.0);
}

int Percent(double fraction) { return static_cast<int>(std::clamp(fraction * 100.0, 0.0, 100.0)); }

}  // namespace

int InstallProgress::OnDownload(double value) const { return Percent(Share(value) * downloadScale); }

int InstallProgress::OnInstall(double value)
{
    // An estimate already past 95% (the installer said so) is not pulled back.
    installEstimate = std::max(installEstimate, std::min(installEstimate + 0.15, 0.95));
    const double p = std::max(installEstimate, Share(value));
    installEstimate = p;
    return Percent((1.0 - downloadScale) * p + downloadScale);
}

std::wstring ProgressText(const std::wstring& pattern, double secondsSinceDownloadStart, int percent)
{
    const wchar_t* wording =
        secondsSinceDownloadStart > 60.0 ? L"正在安装中:%d%%，请耐心等待..." : L"正在安装中:%d%%，请稍候...";
    if (!pattern.empty()) {
        // The layout's pattern is formatted safely; one that is not a single
        // integer pattern falls back to the built-in wording.
        if (auto text = toolkit::FormatInteger(pattern, percent, 249)) return *text;
    }
    return *toolkit::FormatInteger(wording, percent, 249);
}

uint32_t EventValueToUint32(double value)
{
    if (!std::isfinite(value)) return 0;
    if (value >= 4294967295.0) return 0xFFFFFFFFu;
    if (value <= -2147483648.0) return 0x80000000u;
    return static_cast<uint32_t>(static_cast<int64_t>(value));
}

int32_t EventValueToInt32(double value)
{
    if (!std::isfinite(value)) return 0;
    return static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}
