// Package URL composition: an address may hold the placeholder "${ROUTE}", replaced by the package
// route for this system. The settings pass every download address through it.
#pragma once

#include <functional>
#include <string>

// The route for a system with this version label; the bitness is asked for only when it matters.
std::wstring ChooseDownloadRoute(const std::wstring& versionLabel, const std::function<bool()>& is64BitWindows);

// Portable core: the system facts are asked for only when the placeholder is present.
std::wstring ComposeDownloadUrl(const std::wstring& address, const std::function<std::wstring()>& versionLabel,
                                const std::function<bool()>& is64BitWindows);

// Windows only: with this system's facts.
std::wstring ComposeDownloadUrl(const std::wstring& address);
