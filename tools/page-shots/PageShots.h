#pragma once

#include <QString>
#include <array>

// The languages in the order of the session's language index; each has its folder of pictures.
inline constexpr std::array<const char*, 5> kShotLanguages{"English", "French", "German", "Italian",
                                                           "Spanish"};

// Each saves its pages in the session's current language as folder/<name>.png and returns how
// many pictures it could not make (a walk that did not finish counts as one).

// Home, the three instruction pages, the found-modem page and the final page.
int ShootWalk(const QString& folder);
// The ISP, PPP and WAN address pages with their optional fields shown, and the wireless page in
// each security mode.
int ShootFormPages(const QString& folder);
// The three progress pages mid-progress against simulated modems, and every message box they
// show (message_<flow>_<n>.png).
int ShootProgressPages(const QString& folder);
