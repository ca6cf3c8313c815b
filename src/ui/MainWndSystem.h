#pragma once

#include "ui/CMainWnd.h"

// Fills every part of the environment the caller left empty with the real
// system service.
void FillSystemDefaults(MainWndEnvironment& environment);
