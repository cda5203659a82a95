#pragma once
// The optimization log file (*.kvo): a 16-byte header, the model image and
// the optimizer state with its ring of evaluated points. Built and parsed in
// memory; a read changes the optimizer and fills the caller's antenna
// temporaries only when the whole file is good.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/ModelImage.h"

struct AntDef;
struct EnvRec;
struct UserMaterialRec;
class CACal;

constexpr std::size_t MaxOptLogFileSize = 4u << 20;

enum class OptLogStatus { Ok, CannotOpen, InvalidFormat, CannotSave };

// Whether the antenna written with a log is one of the points the log was
// computed from, or another (the antenna edited since the run): the last
// header byte, which older writers left 0, marks a log of another antenna.
enum class LogAntenna : uint8_t { Logged = 0, Other = 1 };

// What a log file written with `ant` says of it. The reader takes the points
// at the antenna's row values as its own, in the state it reads the antenna
// in (at the design frequency, whatever the calculation frequency was): the
// file names the antenna one of its points only where those points were
// computed from that state. `cal` is attached to `ant`; `env` and `material`
// are the writing window's.
LogAntenna LogAntennaOf(CACal& cal, const AntDef& ant, const EnvRec& env, const UserMaterialRec& material);

// A copy of `cal` as a log file keeps it (its image read back), for a writer
// that places what the file keeps without changing the optimizer; null when
// the image does not read back, which the save then refuses.
std::unique_ptr<CACal> CopyOfLoggedState(const CACal& cal);

std::vector<uint8_t> BuildOptLogImage(const AntDef& ant, const ModelEnvFields& env, const std::string& comment,
                                      const CACal& cal, LogAntenna which = LogAntenna::Logged);
// `ant`, `env` and `comment` are the caller's temporaries (a new antenna, the
// current comment); `cal` is changed only on Ok. `refusal` says why the
// optimizer's part of an otherwise sound file was refused; `which` receives
// what the file says of its antenna.
OptLogStatus ParseOptLogImage(const std::vector<uint8_t>& bytes, AntDef& ant, ModelEnvFields& env,
                              std::string& comment, CACal& cal, std::string* refusal = nullptr,
                              LogAntenna* which = nullptr);

OptLogStatus SaveOptLog(const std::string& path, const AntDef& ant, const ModelEnvFields& env,
                        const std::string& comment, const CACal& cal, std::string* error = nullptr,
                        LogAntenna which = LogAntenna::Logged);
OptLogStatus OpenOptLog(const std::string& path, AntDef& ant, ModelEnvFields& env, std::string& comment,
                        CACal& cal, std::string* error = nullptr, std::string* refusal = nullptr,
                        LogAntenna* which = nullptr);
