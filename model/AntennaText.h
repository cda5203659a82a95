#pragma once
// The antenna text (*.kva, and the in-memory snapshots of the Edit menu and
// of the optimizer): one record per line, fields separated by commas, numbers
// read through the expression evaluator. Sections are found by position; the
// title lines that begin with "*" are skipped.
#include <string>
#include <string_view>

struct AntDef;
struct EnvRec;

// The text of the antenna with the ground and reference fields of `env` and
// the comment; every line ends with CR LF. Every real is written with the
// digits it needs to read back as the same double (DblToStrExact), so a
// saved antenna reopens as the one computed with.
std::string WriteAntennaText(const AntDef& ant, const EnvRec& env, const std::string& comment);

// Reads a text into the record and the environment's ground and reference
// fields, appending its comment. Never fails: a text that ends early leaves
// the rest as it was, counts are cut to the record's limits and out-of-range
// choices fall back to their first value; the record is normalised as every
// reader's is (NormalizeReadAntenna). Clears Changed, sets Edited and
// resets the view's pan offsets.
void ParseAntennaText(AntDef& ant, EnvRec& env, std::string_view text, std::string& comment);

// False when the text would not read as the antenna it holds: a wire,
// source, load or taper set record that its count announces is missing or
// cut short, the next section's lines would be taken as records, a title
// does not follow the records of a count, a number field does not read, a
// count is beyond the record's limits (stack counts included), or what was
// read is not what a save would write (NormalizeReadAntenna). A file that
// ends after a complete section is whole.
bool IsWholeAntennaText(std::string_view text);

// Why a text is not whole; the refusal puts "Line <n>: " before it, and the
// field's text stands for the "%s".
constexpr const char* FieldNotANumberText = "'%s' is not a number.";
constexpr const char* RecordMissingText = "a record that its count announces is missing.";
constexpr const char* RecordCutShortText = "the record is cut short.";
constexpr const char* TitleExpectedText =
    "a section title is expected here; the count above does not match its records.";
constexpr const char* CountBeyondLimitText = "the count is beyond what an antenna holds.";

// Reads an antenna file's text as Open does, into the given records: first a
// new antenna (ResetToNewAntenna; the environment keeps its ground fields and
// takes a new antenna's reference), then the text, its "R" being the
// wavelength of that new antenna whatever antenna was open before, so that
// the text is checked and read with the same numbers. False when the text
// is no antenna text (a NUL byte, no header) or not whole
// (IsWholeAntennaText); the records then hold a partial read and nothing
// else has changed, and `refusal` says which line is at fault (empty when the
// fault is in what the antenna holds: ReadRefusalReason). On success as
// ParseAntennaText.
bool ReadAntennaFile(std::string_view text, AntDef& ant, EnvRec& env, std::string& comment,
                     std::string* refusal = nullptr);
