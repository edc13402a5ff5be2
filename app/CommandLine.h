// The process's command line as a switch map (Windows only). Read by the settings at start-up and,
// before anything logs, for the -log=<path> switch.
#pragma once

#include "app/InstallerSettings.h"

namespace Utils {
SwitchMap CommandLineSwitches();
}
