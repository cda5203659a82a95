#pragma once
// The far-field file (*.kvb): a 16-byte header, the model image and the
// results image. The core here builds and parses the whole file in memory and
// never touches the program's records: the caller commits what a successful
// read returns. Messages are the caller's; it is told what went wrong.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/ModelImage.h"

struct AntDef;
class CResult;
class ByteWriter;

constexpr std::size_t FileHeaderSize = 16;
constexpr int FarFieldVersion = 200;
// No far-field file comes near this; a larger one is not ours.
constexpr std::size_t MaxFarFieldFileSize = 16u << 20;

// The magic (its text and Ctrl-Z), a NUL and one zero byte.
void WriteFileHeader(ByteWriter& out, std::string_view magic);
// -1 when the first 9 characters differ from the expected text, else the
// number "%d" scans from the characters at offsets 9, 11 and 12 ("2.00"
// gives 200), or 0 when they do not scan.
int ParseHeaderVersion(const uint8_t* header, std::size_t size, std::string_view expected);

std::vector<uint8_t> BuildFarFieldImage(const AntDef& ant, const ModelEnvFields& env, const std::string& comment,
                                        const CResult& results);

// What a far-field file holds. Before a read the caller fills it with the
// records to read into: the antenna the file's fields overwrite (a new
// antenna), the current comment and the current results, since a file
// without a far field leaves the results as they are.
struct FarFieldContents {
    std::unique_ptr<AntDef> Ant;
    ModelEnvFields Env;
    std::string Comment;
    std::unique_ptr<CResult> Results;
};

enum class FarFieldStatus { Ok, CannotOpen, InvalidFormat, CannotSave };

// Parses a whole file image into `contents`. InvalidFormat on a wrong header
// or version, a damaged or truncated image, or bytes after its end; the
// contents are then not meaningful.
FarFieldStatus ParseFarFieldImage(const std::vector<uint8_t>& bytes, FarFieldContents& contents);

FarFieldStatus SaveFarFieldFile(const std::string& path, const AntDef& ant, const ModelEnvFields& env,
                                const std::string& comment, const CResult& results, std::string* error = nullptr);
FarFieldStatus OpenFarFieldFile(const std::string& path, FarFieldContents& contents, std::string* error = nullptr);
