#pragma once
// Texts that a language file may translate. Every table has read-only English
// defaults and a runtime buffer that the program reads by index; the buffers
// are empty until ApplyDefaultMessages() or a language fills them, and an
// unfilled entry shows as an empty text.
#include <cstddef>

#include "model/AntDef.h"

constexpr int MainMessageCount = 10;
constexpr int PolarNameCount = 2;
constexpr int OptWireMessageCount = 10;
constexpr int ResultColumnHeadCount = 12;
constexpr int GroundNameCount = 3;
constexpr int ResultColumnHintCount = 5;
constexpr int PlotTextCount = 15;
constexpr int EngineMessageCount = 18;
// The engine messages a language file's MININEC section carries; the later
// ones keep their English text.
constexpr int EngineLanguageMessageCount = 17;
constexpr int CsvHeaderCount = 5;
constexpr int ViewLabelCount = 9;

// Buffer widths, the terminating zero included.
constexpr std::size_t MessageWidth = 128;
constexpr std::size_t ShortTextWidth = 10;
constexpr std::size_t HintWidth = 256;
constexpr std::size_t PlotTextWidth = 64;
constexpr std::size_t CsvHeaderWidth = 256;
constexpr std::size_t ViewLabelWidth = 32;
constexpr std::size_t OptButtonWidth = 16;
constexpr std::size_t CommentCaptionWidth = 64;
constexpr std::size_t ElevationPromptWidth = 128;
constexpr std::size_t NotDefinedWidth = 64;
constexpr std::size_t EmptyRowWidth = 28;

// Indices of the texts that code refers to by meaning.
enum MainMessageIndex {
    MsgUnderGround = 0, MsgCanNotLoad, MsgInvalidFormat, MsgFileModified, MsgSaveOptLog,
    MsgAllCoordsChange, MsgCutDigits, MsgRestoreTemp, MsgRestoreOptimized, MsgChangeRadius
};
enum OptWireMessageIndex {
    OptMsgTooManyWires = 0, OptMsgNoVariable, OptMsgNoVariable2, OptMsgCannotChange, OptMsgCannotModifyLoad,
    OptMsgHeightInFreeSpace, OptMsgCannotFind, OptMsgEqualLines, OptMsgAssociation, OptMsgNoTaperSet
};
enum EngineMessageIndex {
    EngFactorMatrix = 0, EngSourceHeader, EngFillMatrix, EngCurrentData, EngWaveLength, EngZeroLengthWire,
    EngPulseDimension, EngNoPulses, EngTotalPulse, EngSourcePulseRange, EngSourceDimension,
    EngLoadPulseRange, EngFarField, EngNoFatalError, EngFatalError, EngWireUnderGround, EngGroundConnect,
    EngNegativeInputPower
};
enum CsvHeaderIndex { CsvCurrents = 0, CsvNearMagnetic, CsvNearElectric, CsvAngleGain, CsvSaveCurrentsTitle };
enum ViewLabelIndex {
    LabelWire = 0, LabelTaper, LabelInsulator, LabelLength, LabelAzim, LabelZenith, LabelDeg, LabelSource,
    LabelLoad
};

// English defaults.
extern const char* const DefaultMainMessages[MainMessageCount];
extern const char* const DefaultPolarNames[PolarNameCount];
extern const char* const DefaultOptWireMessages[OptWireMessageCount];
extern const char* const DefaultResultColumnHeads[ResultColumnHeadCount];
extern const char* const DefaultGroundNames[GroundNameCount];
extern const char* const DefaultResultColumnHints[ResultColumnHintCount];
extern const char* const DefaultPlotTexts[PlotTextCount];
extern const char* const DefaultEngineMessages[EngineMessageCount];
extern const char* const DefaultCsvHeaders[CsvHeaderCount];
extern const char* const DefaultViewLabels[ViewLabelCount];
extern const char* const DefaultOptButtonCaptions[2];
extern const char* const DefaultCommentCaption;
extern const char* const DefaultElevationPrompt;
extern const char* const DefaultNotDefinedText;
extern const char* const DefaultEmptyRowText;

// Runtime buffers, read by index as C strings.
extern char MainMessages[MainMessageCount][MessageWidth];
extern char PolarNames[PolarNameCount][ShortTextWidth];
extern char OptWireMessages[OptWireMessageCount][MessageWidth];
extern char ResultColumnHeads[ResultColumnHeadCount][ShortTextWidth];
extern char GroundNames[GroundNameCount][ShortTextWidth];
extern char ResultColumnHints[ResultColumnHintCount][HintWidth];
extern char PlotTexts[PlotTextCount][PlotTextWidth];
extern char EngineMessages[EngineMessageCount][MessageWidth];
extern char CsvHeaders[CsvHeaderCount][CsvHeaderWidth];
extern char ViewLabels[ViewLabelCount][ViewLabelWidth];
extern char OptButtonCaptions[2][OptButtonWidth];  // idle, running
extern char CommentCaption[CommentCaptionWidth];
extern char ElevationPrompt[ElevationPromptWidth];
extern char NotDefinedText[NotDefinedWidth];
extern char EmptyRowText[EmptyRowWidth];

// Start-up state: every runtime buffer empty.
void InitMessageTables();
// The no-language path: every runtime buffer takes its English default, cut
// to the buffer's width.
void ApplyDefaultMessages();

// Copies a table of texts into a runtime buffer, cutting each entry to fit;
// rows without a text become empty.
template <std::size_t Rows, std::size_t Width>
void FillMessageBuffer(char (&buffer)[Rows][Width], const char* const* texts, std::size_t count) {
    for (std::size_t i = 0; i < Rows; ++i) CopyText(buffer[i], Width, i < count ? texts[i] : "");
}
