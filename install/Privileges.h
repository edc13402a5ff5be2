// Privilege probes handed to the setup package and the uninstaller: whether the user at the physical
// console has an administrator account, and whether this process is in the Administrators group.
// Windows only; each answers false when any step fails.
#pragma once

namespace Utils {
bool IsConsoleUserAdmin();
bool IsProcessInAdministrators();
}
