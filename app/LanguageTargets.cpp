#include "app/LanguageTargets.h"

const char* const MainWndTextTargets[MainWndTextTargetCount] = {
    nullptr,  // 0: the section's header
    // 1-34
    "TabSheet1", "Label1", "WireCnt", "CurCnt", "LoadCnt", "Label5", "Label6", "Label2", "AutoVol", "EnbLoad",
    "ChkWith", "ChkRmd", "DocBtn", "TabSheet2", "Label8", "Label13", "SelLB", "DspCur", "DspPlus", "LnThickCB",
    "SavImBtn", "Label7", "CenterRb", "FullWRb", "WireCenterRB", "TabSheet3", "Label9", "Label10", "AntName3",
    "Label11", "Label12", "Label15", "CalTrgBtn", "GndSetBtn",
    // 35: also the idle caption of the optimization button; 36: its caption during a run
    "ACalBtn", nullptr,
    // 37-39
    "EleEditBtn", "ACalResBtn", "BwBtn",
    // 40-48: the material list
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    // 49-54
    "WireCadBtn", "TabSheet4", "EleBtn", "Btn3D", "PrintBtn", "WaveSel",
    // 55-74: popup menus
    "K7", "K9", "K35", "KR1", "KM1", "KT1", "K46", "K47", "O1", "K29", "K41", "K40", "K42", "K43", "K44", "KS5",
    "KM2", "KT3", "KC3", "K48",
    // 75-91: File
    "K1", "K2", "K3", "Reopen", "K4", "K5", "K34", "K12", "K11", "K19", "K20", "KC2", "K31", "K32", "K49",
    "NWLDat", "K6",
    // 92-113: Edit
    "KE1", "K13", "K14", "K27", "K28", "KT2", "KXY", "KXY1", "KXZ1", "KYZ1", "K33", "KS4", "K22", "K23", "K37",
    "K45", "K38", "K39", "K36", "K30", "KCAD", "K18",
    // 114-124: Service and Tools
    "KV1", "KC1", "K8", "K15", "K21", "Tabposition1", "ToolBV", "LanguageMenu", "T0", "K17", "UserMen",
    // 125-127: the user-program items
    nullptr, nullptr, nullptr,
    // 128-130
    "EditUsProg", "KH1", "CalcSel",
    // 131-133: the ground choice's items; 134-145: message buffers
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr,
};

const char* const HintTargets[HintTargetCount] = {
    nullptr,  // 0: the section's header
    "Label5", "Label6", "Label3", "Label4", "Label14", "Label16", "Freq", "EditDM1", "EditDM2", "EditEC", "EditSC",
    "ChkWith", "Label9", "Label10", "Label11", "DoFreq", "AntHeight", "ToolButton2", "ToolButton4", "ToolButton6",
    "ToolButton10", "ToolButton9", "ToolButton8", "ToolButton12", "ToolButton14", "Btn3D",
};
