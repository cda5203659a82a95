#include "model/Messages.h"

#include <cstring>

const char* const DefaultMainMessages[MainMessageCount] = {
    "Antenna or part of antenna is under ground. Increase height?",
    "Can not load %s",
    "Invalid format of file %s.",
    "File modifyed. Save changes?",
    "Save optimization log as *.kvo file?",
    "All X-,Y- and Z- coordinates will be change.\r\n\r\nMake it?",
    "All additional digits after point will be cut. Make it?",
    "restoremes Restore data?",
    "Restore data from temporery?",
    "Cahge radius of wires?",
};

const char* const DefaultPolarNames[PolarNameCount] = {"Vert.", "Hori."};

const char* const DefaultOptWireMessages[OptWireMessageCount] = {
    "Too mauch wires!",
    "Line.(%d): Variable is not exist!",
    "Line.(%d): Variable is not exist!",
    "Line.(%d): Cannot change this parameter!",
    "Load (%d): You can not modify this load!",
    "Line(%d): Can not change height in the free space!",
    "Line.(%d): Cannot find variable!",
    "Line (%d): Line (%d) equal lines",
    "Line(%d): different value in association (%d)\r\n\r\nSet correct value of association?",
    "No description for this R(Taper wire set)",
};

const char* const DefaultResultColumnHeads[ResultColumnHeadCount] = {
    "No.", "F (MHz)", "R (Ohm)", "jX (Ohm)", "SWR", "Gh dBd", "Ga dBi", "F/B dB", "Elev.", "Ground", "Add H.", "Polar.",
};

const char* const DefaultGroundNames[GroundNameCount] = {"Free", "Perfect", "Real"};

const char* const DefaultResultColumnHints[ResultColumnHintCount] = {
    "Current frequency",
    "Winn vs 1/2LW Dipol in the free spasce",
    "Elevation angle of max GA (deg).",
    "This value add automaticaly to all Z-coordinate",
    "Type of the polarization",
};

const char* const DefaultPlotTexts[PlotTextCount] = {
    "Free space",
    "Perfect GND",
    "Real GND",
    "Vertical polarization",
    "Horizontal polarization",
    "%d dg.",
    "Azim. %u dg,  Elev. %u dg",
    "F/B: %.2f dB; Rear:",
    "Freq: %.3f MHz",
    "Z: %.3f %c j%.3f Ohm",
    "%.1f (600 Ohm)",
    "SWR: %.1f (%s Ohm),",
    "with %.2f m added height",
    "Elev: %.1f dg (%s",
    "(For elev.angle %.1f dg Peak:%.1f dBi)",
};

const char* const DefaultEngineMessages[EngineMessageCount] = {
    "FACTOR MATRIX...",
    "PULSE   ;  U (V) ;;  I (mA);; Z (Ohm);;SWR",
    "FILL MATRIX...",
    "CURRENT DATA...",
    "WAVE LENGTH = %.3f(m)",
    "ZERO LENGTH WIRE. (No.%d)",
    "PULSE NUMBER EXCEEDS DIMENSION (MAX=%d)",
    "NUMBER OF PULSES IS ZERO...",
    "TOTAL PULSE = %d",
    "PULSE NUMBER EXCEEDS NUMBER OF PULSES...",
    "NO. OF SOURCES EXCEEDS DIMENSION ...",
    "PULSE NUMBER EXCEEDS NUMBER OF PULSES...",
    "FAR FIELD ...",
    "No FATAL ERROR(S)",
    "FATAL ERROR!!! TEST ANTENNA DEFINITION!",
    "WIRE %d IS UNDER GROUND. HIGHT = %.2f M",
    "CONNECT WITH GND: ON",
    "NEGATIVE INPUT POWER: THIS LAYOUT IS BEYOND THE METHOD (SEGMENTS TOO UNEVEN OR WIRES TOO CLOSE)",
};

const char* const DefaultCsvHeaders[CsvHeaderCount] = {
    "WIRE,PULSE,X(m),Y(m),Z(m),REAL(A),IMAGINARY(A),MAGNITUDE(A),PHASE(DEG)",
    "X(m),Y(m),Z(m),VECTOR,REAL(AT/m),IMAGINARY(AT/m),MAGNITUDE(AT/m),PHASE(DEG)",
    "X(m),Y(m),Z(m),VECTOR,REAL(V/m),IMAGINARY(V/m),MAGNITUDE(V/m),PHASE(DEG)",
    "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)",
    "Save table of currents",
};

const char* const DefaultViewLabels[ViewLabelCount] = {
    "Wire", "taper", "insulator", "Length", "Azim.", "Zenith", "deg", "Source", "Load",
};

const char* const DefaultOptButtonCaptions[2] = {"Optimization", "Abort"};
const char* const DefaultCommentCaption = "Edit Comments";
const char* const DefaultElevationPrompt = "Azimut far field for elevation angle";
const char* const DefaultNotDefinedText = "Not defined";
const char* const DefaultEmptyRowText = "";

char MainMessages[MainMessageCount][MessageWidth];
char PolarNames[PolarNameCount][ShortTextWidth];
char OptWireMessages[OptWireMessageCount][MessageWidth];
char ResultColumnHeads[ResultColumnHeadCount][ShortTextWidth];
char GroundNames[GroundNameCount][ShortTextWidth];
char ResultColumnHints[ResultColumnHintCount][HintWidth];
char PlotTexts[PlotTextCount][PlotTextWidth];
char EngineMessages[EngineMessageCount][MessageWidth];
char CsvHeaders[CsvHeaderCount][CsvHeaderWidth];
char ViewLabels[ViewLabelCount][ViewLabelWidth];
char OptButtonCaptions[2][OptButtonWidth];
char CommentCaption[CommentCaptionWidth];
char ElevationPrompt[ElevationPromptWidth];
char NotDefinedText[NotDefinedWidth];
char EmptyRowText[EmptyRowWidth];

void InitMessageTables() {
    std::memset(MainMessages, 0, sizeof MainMessages);
    std::memset(PolarNames, 0, sizeof PolarNames);
    std::memset(OptWireMessages, 0, sizeof OptWireMessages);
    std::memset(ResultColumnHeads, 0, sizeof ResultColumnHeads);
    std::memset(GroundNames, 0, sizeof GroundNames);
    std::memset(ResultColumnHints, 0, sizeof ResultColumnHints);
    std::memset(PlotTexts, 0, sizeof PlotTexts);
    std::memset(EngineMessages, 0, sizeof EngineMessages);
    std::memset(CsvHeaders, 0, sizeof CsvHeaders);
    std::memset(ViewLabels, 0, sizeof ViewLabels);
    std::memset(OptButtonCaptions, 0, sizeof OptButtonCaptions);
    std::memset(CommentCaption, 0, sizeof CommentCaption);
    std::memset(ElevationPrompt, 0, sizeof ElevationPrompt);
    std::memset(NotDefinedText, 0, sizeof NotDefinedText);
    std::memset(EmptyRowText, 0, sizeof EmptyRowText);
}

void ApplyDefaultMessages() {
    FillMessageBuffer(MainMessages, DefaultMainMessages, MainMessageCount);
    FillMessageBuffer(PolarNames, DefaultPolarNames, PolarNameCount);
    FillMessageBuffer(OptWireMessages, DefaultOptWireMessages, OptWireMessageCount);
    FillMessageBuffer(ResultColumnHeads, DefaultResultColumnHeads, ResultColumnHeadCount);
    FillMessageBuffer(GroundNames, DefaultGroundNames, GroundNameCount);
    FillMessageBuffer(ResultColumnHints, DefaultResultColumnHints, ResultColumnHintCount);
    FillMessageBuffer(PlotTexts, DefaultPlotTexts, PlotTextCount);
    FillMessageBuffer(EngineMessages, DefaultEngineMessages, EngineMessageCount);
    FillMessageBuffer(CsvHeaders, DefaultCsvHeaders, CsvHeaderCount);
    FillMessageBuffer(ViewLabels, DefaultViewLabels, ViewLabelCount);
    FillMessageBuffer(OptButtonCaptions, DefaultOptButtonCaptions, 2);
    CopyText(CommentCaption, DefaultCommentCaption);
    CopyText(ElevationPrompt, DefaultElevationPrompt);
    CopyText(NotDefinedText, DefaultNotDefinedText);
    CopyText(EmptyRowText, DefaultEmptyRowText);
}
