#include <windows.h>
#include <lm.h>
#include <wtsapi32.h>

#include "install/Privileges.h"

namespace Utils {

bool IsConsoleUserAdmin() {
  const DWORD session = WTSGetActiveConsoleSessionId();
  if (session == 0xFFFFFFFF) return false;
  LPWSTR name = nullptr;
  DWORD bytes = 0;
  if (!WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, session, WTSUserName, &name, &bytes) || !name) {
    return false;
  }
  LPBYTE info = nullptr;
  const bool admin = NetUserGetInfo(nullptr, name, 1, &info) == NERR_Success && info != nullptr &&
                     reinterpret_cast<USER_INFO_1*>(info)->usri1_priv == USER_PRIV_ADMIN;
  if (info != nullptr) NetApiBufferFree(info);
  WTSFreeMemory(name);
  return admin;
}

bool IsProcessInAdministrators() {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID admins = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                &admins)) {
    return false;
  }
  BOOL member = FALSE;
  const bool ok = CheckTokenMembership(nullptr, admins, &member) != FALSE;
  FreeSid(admins);
  return ok && member;
}

}  // namespace Utils
