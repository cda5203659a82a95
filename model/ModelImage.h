#pragma once
// The binary image of an antenna definition with the ground and reference
// fields of the environment and the comment: the middle part of the far-field
// file and of the optimization log. Written field by field, little-endian,
// in the file's order (which differs from the record's in places).
#include <cstdint>
#include <string>

struct AntDef;
struct EnvRec;
class ByteWriter;
class ByteReader;

// Wire materials: "No loss", Cu, Al and Fe wire and pipe, user wire and pipe.
constexpr int32_t MaxMaterial = 8;

// The environment fields that travel with the antenna in its files.
struct ModelEnvFields {
    int32_t Type = 0;        // GroundType
    double AntHeight = 0;    // m
    int32_t Material = 0;
    double Z0R = 50;         // reference impedance, ohms
    double Z0X = 0;
    int32_t AzEl = 0;        // F/B rear sector
};
ModelEnvFields TakeModelEnvFields(const EnvRec& env);
void ApplyModelEnvFields(const ModelEnvFields& fields, EnvRec& env);

void WriteModelImage(ByteWriter& out, const AntDef& ant, const ModelEnvFields& env, const std::string& comment);

// Reads an image into the given records, meant to be the caller's temporaries:
// on failure they hold a partial read. The comment is replaced only when the
// stored one is not empty. Fails on truncation, on a count, type or angle out
// of its range, on a text field without its end and on a non-finite real.
// The record is then checked and normalised as the antenna text reader's
// (NormalizeReadAntenna): what a save as antenna text would not carry as it
// stands fails too.
bool ReadModelImage(ByteReader& in, AntDef& ant, ModelEnvFields& env, std::string& comment);
