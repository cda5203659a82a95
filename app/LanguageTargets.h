#pragma once
// Which control of the main window takes which line of its two language
// sections. Entry k names the control whose caption or text (hint, in the
// hint section) line k becomes; nullptr marks a line that goes elsewhere (a
// message buffer, list items, or a caption set only under a condition).
constexpr int MainWndTextTargetCount = 146;
constexpr int HintTargetCount = 27;
extern const char* const MainWndTextTargets[MainWndTextTargetCount];
extern const char* const HintTargets[HintTargetCount];

// Lines of section "MainWnd" with their own rules.
constexpr int MaterialItemsLine = 40;   // nine items of the material list
constexpr int MaterialItemCount = 9;
constexpr int UserMenuLine = 125;        // three user-program items, only while their slot is empty
constexpr int CalcSelItemsLine = 131;    // three items of the ground choice
constexpr int RoundDigitsLine = 105;     // the round-value items' text, after their number
