#pragma once
// The project's own addresses and copyright line, shown and opened by the About window.

namespace krelmix {

inline constexpr wchar_t kHomePageAddress[] = L"https://krelmix.example.org/";
inline constexpr wchar_t kSupportMailAddress[] = L"support@krelmix.example.org";
inline constexpr wchar_t kCopyrightLine[] = L"© 2001-2007 Krelmix project";
inline constexpr wchar_t kVersionText[] = L"Версия 0.08";
inline constexpr wchar_t kReleaseText[] = L"Релиз 30 декабря 2007 г.";

}  // namespace krelmix
