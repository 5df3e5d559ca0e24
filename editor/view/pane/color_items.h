// Indices of the colour items the pane draws with, in a type's colour array (their settings keys,
// kColorItemKeys in shared_settings.h, stand beside them).
#pragma once

inline constexpr int kColorText = 0;        // "TXT"
inline constexpr int kColorRuler = 1;       // "RUL"
inline constexpr int kColorUnderline = 2;   // "UND"
inline constexpr int kColorLineNumber = 3;  // "LNO"
inline constexpr int kColorModified = 4;    // "MOD"
inline constexpr int kColorTab = 5;         // "TAB"
inline constexpr int kColorSpace = 6;       // "SPC"
inline constexpr int kColorWideSpace = 7;   // "ZEN"
inline constexpr int kColorLineEnd = 9;     // "EOL"
inline constexpr int kColorWrap = 10;       // "RAP"
inline constexpr int kColorGuide = 11;      // "VER"
inline constexpr int kColorEof = 12;        // "EOF"
inline constexpr int kColorFound = 14;      // "FND"
inline constexpr int kColorComment = 25;    // "CMT"
inline constexpr int kColorDiffAdded = 39;  // "DFA"
inline constexpr int kColorBracket = 42;    // "BRC"
inline constexpr int kColorBookmark = 43;   // "MRK"
