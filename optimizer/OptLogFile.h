#pragma once
// The optimization log file (*.kvo): a 16-byte header, the model image and
// the optimizer state with its ring of evaluated points. Built and parsed in
// memory; a read changes the optimizer and fills the caller's antenna
// temporaries only when the whole file is good.
#include <cstdint>
#include <string>
#include <vector>

#include "model/ModelImage.h"

struct AntDef;
class CACal;

constexpr std::size_t MaxOptLogFileSize = 4u << 20;

enum class OptLogStatus { Ok, CannotOpen, InvalidFormat, CannotSave };

std::vector<uint8_t> BuildOptLogImage(const AntDef& ant, const ModelEnvFields& env, const std::string& comment,
                                      const CACal& cal);
// `ant`, `env` and `comment` are the caller's temporaries (a new antenna, the
// current comment); `cal` is changed only on Ok. `refusal` says why the
// optimizer's part of an otherwise sound file was refused.
OptLogStatus ParseOptLogImage(const std::vector<uint8_t>& bytes, AntDef& ant, ModelEnvFields& env,
                              std::string& comment, CACal& cal, std::string* refusal = nullptr);

OptLogStatus SaveOptLog(const std::string& path, const AntDef& ant, const ModelEnvFields& env,
                        const std::string& comment, const CACal& cal, std::string* error = nullptr);
OptLogStatus OpenOptLog(const std::string& path, AntDef& ant, ModelEnvFields& env, std::string& comment,
                        CACal& cal, std::string* error = nullptr, std::string* refusal = nullptr);
