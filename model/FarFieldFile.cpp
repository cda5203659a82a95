#include "model/FarFieldFile.h"

#include <algorithm>
#include <cstring>

#include "model/AntDef.h"
#include "model/BinaryStream.h"
#include "model/HeaderConstants.h"
#include "model/ResultStore.h"
#include "model/SafeFile.h"
#include "model/SaveReadBack.h"

void WriteFileHeader(ByteWriter& out, std::string_view magic) {
    uint8_t header[FileHeaderSize] = {};
    std::memcpy(header, magic.data(), std::min(magic.size(), FileHeaderSize - 2));
    out.Bytes(header, sizeof header);
}

int ParseHeaderVersion(const uint8_t* header, std::size_t size, std::string_view expected) {
    constexpr std::size_t nameLength = 9;   // "KORVA Res"
    if (size < 13 || expected.size() < nameLength || std::memcmp(header, expected.data(), nameLength) != 0)
        return -1;
    const uint8_t digits[3] = {header[9], header[11], header[12]};
    // "%d" of the three characters: an optional sign, then the leading digits.
    std::size_t i = 0;
    bool negative = false;
    if (digits[0] == '-' || digits[0] == '+') {
        negative = digits[0] == '-';
        i = 1;
    }
    if (i >= 3 || digits[i] < '0' || digits[i] > '9') return 0;
    int v = 0;
    for (; i < 3 && digits[i] >= '0' && digits[i] <= '9'; ++i) v = v * 10 + (digits[i] - '0');
    return negative ? -v : v;
}

std::vector<uint8_t> BuildFarFieldImage(const AntDef& ant, const ModelEnvFields& env, const std::string& comment,
                                        const CResult& results) {
    ByteWriter out;
    WriteFileHeader(out, ResHeader);
    WriteModelImage(out, ant, env, comment);
    results.WriteTo(out);
    return out.Data();
}

FarFieldStatus ParseFarFieldImage(const std::vector<uint8_t>& bytes, FarFieldContents& c) {
    if (bytes.size() < FileHeaderSize ||
        ParseHeaderVersion(bytes.data(), bytes.size(), ResHeader) != FarFieldVersion)
        return FarFieldStatus::InvalidFormat;
    if (!c.Ant) c.Ant = std::make_unique<AntDef>();
    if (!c.Results) c.Results = std::make_unique<CResult>();
    ByteReader in(bytes.data() + FileHeaderSize, bytes.size() - FileHeaderSize);
    if (!ReadModelImage(in, *c.Ant, c.Env, c.Comment)) return FarFieldStatus::InvalidFormat;
    if (!c.Results->ReadFrom(in) || !in.AtEnd()) return FarFieldStatus::InvalidFormat;
    return FarFieldStatus::Ok;
}

FarFieldStatus SaveFarFieldFile(const std::string& path, const AntDef& ant, const ModelEnvFields& env,
                                const std::string& comment, const CResult& results, std::string* error) {
    std::vector<uint8_t> bytes = BuildFarFieldImage(ant, env, comment, results);
    // A file its own Open would refuse, or read as another antenna, is not
    // written.
    FarFieldContents back;
    const std::string fault = ParseFarFieldImage(bytes, back) == FarFieldStatus::Ok
                                  ? ModelReadBackFault(ant, env, comment, *back.Ant, back.Env, back.Comment)
                                  : std::string("It would not open again.");
    if (!fault.empty()) {
        if (error) *error = KeptFileText(fault);
        return FarFieldStatus::CannotSave;
    }
    if (!WriteFileReplacing(path, bytes.data(), bytes.size(), error)) return FarFieldStatus::CannotSave;
    return FarFieldStatus::Ok;
}

FarFieldStatus OpenFarFieldFile(const std::string& path, FarFieldContents& contents, std::string* error) {
    std::vector<uint8_t> bytes;
    switch (ReadWholeFile(path, bytes, MaxFarFieldFileSize, error)) {
    case ReadFileStatus::Ok:
        break;
    case ReadFileStatus::TooLarge:   // opened, but no far-field file is that large
        return FarFieldStatus::InvalidFormat;
    case ReadFileStatus::Failed:
        return FarFieldStatus::CannotOpen;
    }
    return ParseFarFieldImage(bytes, contents);
}
