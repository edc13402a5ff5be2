#include <windows.h>
#include <objbase.h>

#include "env/SystemIdentification.h"

WindowsVersion GetWindowsVersion() {
  WindowsVersion v{L"Windows", L""};
  HMODULE ntdll = LoadLibraryW(L"ntdll.dll");
  if (ntdll == nullptr) {
    v.label = L"XP-";
    return v;
  }
  // The kernel's own numbers: unlike GetVersionEx they ignore compatibility modes and the manifest.
  using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
  DWORD major = 0, minor = 0, build = 0;
  auto fn = reinterpret_cast<RtlGetNtVersionNumbersFn>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetNtVersionNumbers")));
  if (fn != nullptr) {
    fn(&major, &minor, &build);
    build &= 0xFFFF;
  }
  FreeLibrary(ntdll);
  v.label = WindowsVersionLabel(major, minor, build, GetSystemMetrics(SM_SERVERR2) != 0);
  return v;
}

bool Is64BitWindows() {
#ifdef _WIN64
  return true;  // a 64-bit program runs only on 64-bit Windows, where IsWow64Process answers false
#else
  BOOL result = FALSE;
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto fn = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "IsWow64Process")));
  if (fn != nullptr && !fn(GetCurrentProcess(), &result)) {
    SYSTEM_INFO info;
    GetNativeSystemInfo(&info);
    result = info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
             info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
  }
  return result != FALSE;
#endif
}

std::wstring NewIdText() {
  GUID guid{};
  CoCreateGuid(&guid);
  return FormatIdText(guid.Data1, guid.Data2, guid.Data3, guid.Data4);
}
