#pragma once

// The program's string table: the built-in texts addressed by number. List texts and language
// names are English whatever the language of the pages; only the page bitmaps and the messages
// follow the chosen language.

inline constexpr int kStrTitle = 1;                // the window text of the home page
inline constexpr int kStrNameTooLong = 35;         // second box after an over-long PPP user name
inline constexpr int kStrFirstProtocol = 42;       // 42..46: the ISP page's protocol list
inline constexpr int kStrFirstEncapsulation = 47;  // 47..50: the encapsulation texts
inline constexpr int kStrFirstAuthMode = 51;       // 51..54: the wireless authentication list
inline constexpr int kStrModel = 56;               // the model identifier the LAN test sends
inline constexpr int kStrOtherCountry = 65;
inline constexpr int kStrOtherIsp = 66;
inline constexpr int kStrFirstLanguage = 171;  // 171..175: English .. Spanish

// The text of the entry, or nullptr when the table has no such entry.
const char* LoadResString(int id);
