#include "optimizer/OptLogFile.h"

#include <memory>

#include "model/BinaryStream.h"
#include "model/FarFieldFile.h"
#include "model/HeaderConstants.h"
#include "model/ResultOrigin.h"
#include "model/SafeFile.h"
#include "model/SaveReadBack.h"
#include "optimizer/OptimizerState.h"

namespace {
constexpr int OptLogVersion = 200;
// The header byte that readers of the format ignore.
constexpr std::size_t LogAntennaByte = FileHeaderSize - 1;
}  // namespace

LogAntenna LogAntennaOf(CACal& cal, const AntDef& ant, const EnvRec& env, const UserMaterialRec& material) {
    return cal.LogReadsAsOf(FingerprintOnReading(ant, env, material)) ? LogAntenna::Logged : LogAntenna::Other;
}

std::unique_ptr<CACal> CopyOfLoggedState(const CACal& cal) {
    ByteWriter out;
    cal.WriteTo(out);
    const std::vector<uint8_t> image = out.Data();
    ByteReader in(image.data(), image.size());
    auto copy = std::make_unique<CACal>();
    if (!copy->ReadFrom(in) || !in.AtEnd()) return nullptr;
    return copy;
}

std::vector<uint8_t> BuildOptLogImage(const AntDef& ant, const ModelEnvFields& env, const std::string& comment,
                                      const CACal& cal, LogAntenna which) {
    ByteWriter out;
    WriteFileHeader(out, OptHeader);
    WriteModelImage(out, ant, env, comment);
    cal.WriteTo(out);
    std::vector<uint8_t> bytes = out.Data();
    bytes[LogAntennaByte] = static_cast<uint8_t>(which);
    return bytes;
}

OptLogStatus ParseOptLogImage(const std::vector<uint8_t>& bytes, AntDef& ant, ModelEnvFields& env,
                              std::string& comment, CACal& cal, std::string* refusal, LogAntenna* which) {
    if (bytes.size() < FileHeaderSize || ParseHeaderVersion(bytes.data(), bytes.size(), OptHeader) != OptLogVersion)
        return OptLogStatus::InvalidFormat;
    // Any mark but none is read as another antenna's log: its points are
    // then never taken for this antenna's.
    if (which) *which = bytes[LogAntennaByte] == 0 ? LogAntenna::Logged : LogAntenna::Other;
    ByteReader in(bytes.data() + FileHeaderSize, bytes.size() - FileHeaderSize);
    if (!ReadModelImage(in, ant, env, comment)) return OptLogStatus::InvalidFormat;
    // The state is checked whole before the optimizer takes it.
    ByteReader probe = in;
    auto scratch = std::make_unique<CACal>();
    if (!scratch->ReadFrom(probe, refusal) || !probe.AtEnd()) return OptLogStatus::InvalidFormat;
    cal.ReadFrom(in);
    return OptLogStatus::Ok;
}

OptLogStatus SaveOptLog(const std::string& path, const AntDef& ant, const ModelEnvFields& env,
                        const std::string& comment, const CACal& cal, std::string* error, LogAntenna which) {
    const std::vector<uint8_t> bytes = BuildOptLogImage(ant, env, comment, cal, which);
    // A log its own Open would refuse, or read as another antenna, is not
    // written.
    auto back = std::make_unique<AntDef>();
    ModelEnvFields backEnv;
    std::string backComment, refusal;
    auto backState = std::make_unique<CACal>();
    const std::string fault =
        ParseOptLogImage(bytes, *back, backEnv, backComment, *backState, &refusal) == OptLogStatus::Ok
            ? ModelReadBackFault(ant, env, comment, *back, backEnv, backComment)
            : "It would not open again" + (refusal.empty() ? std::string(".") : ": " + refusal);
    if (!fault.empty()) {
        if (error) *error = KeptFileText(fault);
        return OptLogStatus::CannotSave;
    }
    return WriteFileReplacing(path, bytes.data(), bytes.size(), error) ? OptLogStatus::Ok : OptLogStatus::CannotSave;
}

OptLogStatus OpenOptLog(const std::string& path, AntDef& ant, ModelEnvFields& env, std::string& comment,
                        CACal& cal, std::string* error, std::string* refusal, LogAntenna* which) {
    std::vector<uint8_t> bytes;
    switch (ReadWholeFile(path, bytes, MaxOptLogFileSize, error)) {
    case ReadFileStatus::Ok: break;
    case ReadFileStatus::TooLarge: return OptLogStatus::InvalidFormat;
    case ReadFileStatus::Failed: return OptLogStatus::CannotOpen;
    }
    return ParseOptLogImage(bytes, ant, env, comment, cal, refusal, which);
}
