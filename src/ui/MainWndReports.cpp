#include "ui/MainWndReports.h"

MainWndReports& MainWndReportPoints()
{
    static MainWndReports points;
    return points;
}
