#pragma once
// The check every save of an antenna (its text, the far-field file, the
// optimization log) makes before it replaces a file: what it is about to
// write is read back in memory, as Open would read it, and compared with the
// antenna it was written from in the normal form every reader gives
// (NormalizeReadAntenna). Whatever a field comes to hold, a
// file that would open as another antenna, or not at all, is never written.
#include <string>
#include <string_view>

#include "model/ModelImage.h"

struct AntDef;
struct EnvRec;
struct SourceRec;

// The same source as a save writes it: position, phase and voltage.
bool SameSource(const SourceRec& a, const SourceRec& b);

// The first part in which two antennas in normal form differ, as the user
// knows it ("the name", "wire 3", "source 2", "load 1", "the segmentation",
// "the stacking", "taper set 1"); empty when they hold the same antenna.
// The fields an antenna text does not carry (the calculation frequency, the
// edit flags, what a calculation fills in) are not compared.
std::string AntennaDifference(const AntDef& a, const AntDef& b);

// Empty when `text` reads back as `ant` with the ground and reference fields
// of `env` and `comment`; else why not, for the box that refuses the save.
std::string ReadBackFault(std::string_view text, const AntDef& ant, const EnvRec& env, const std::string& comment);

// The same for a model image (far-field file, optimization log) read back
// into `back`, `backEnv` and `backComment`.
std::string ModelReadBackFault(const AntDef& ant, const ModelEnvFields& env, const std::string& comment,
                               const AntDef& back, const ModelEnvFields& backEnv, const std::string& backComment);

// How a save refused by the check says so.
std::string KeptFileText(const std::string& fault);

// Writes an antenna text to `path` only when it reads back (ReadBackFault);
// the file is replaced as WriteFileReplacing does. False, with the file as it
// was and `error` saying why, when it would not read back or cannot be written.
bool WriteCheckedAntennaText(const std::string& path, std::string_view text, const AntDef& ant, const EnvRec& env,
                             const std::string& comment, std::string* error = nullptr);
