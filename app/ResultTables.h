#pragma once
// The CSV result tables of the File menu without their dialogs: the buffers
// that the commands own through JobDef while they run, and one run of the
// engine's table routine on the prepared model written to a file. No Qt, so
// that a request dialog only has to fill the request.
//
// The engine writes no log lines for a table: each run clears
// JobDef.Interactive, as Start and the after-edit routine set it again.
#include <string>

struct NearFieldRequest;
struct FarFieldTableRequest;

enum class TableStatus { Written, EngineFailed, CannotWrite };

struct TableOutcome {
    TableStatus Status = TableStatus::Written;
    std::string Path;   // the file written or refused
    std::string Error;  // why, when not written
};

// Frees the table buffers that remain (the currents table, the near-field
// and the angle/gain request) and clears their JobDef pointers.
void FreeTableRequests();

// The near-field request for the length of one command, with its defaults
// (electric field, 50 W, 5 points 3 m apart from 0 on each axis) and the
// given output path; freed and its pointer cleared on every way out.
class NearFieldRequestScope {
public:
    explicit NearFieldRequestScope(const std::string& path);
    ~NearFieldRequestScope();
    NearFieldRequestScope(const NearFieldRequestScope&) = delete;
    NearFieldRequestScope& operator=(const NearFieldRequestScope&) = delete;
    NearFieldRequest& Request();
};

// The angle/gain request likewise: zenith 0, 10 points 10 degrees apart;
// azimuth 0, 36 points 10 degrees apart.
class AngleGainRequestScope {
public:
    explicit AngleGainRequestScope(const std::string& path);
    ~AngleGainRequestScope();
    AngleGainRequestScope(const AngleGainRequestScope&) = delete;
    AngleGainRequestScope& operator=(const AngleGainRequestScope&) = delete;
    FarFieldTableRequest& Request();
};

// Runs the current pass into a fresh currents table of EnvDef.PMAX rows
// (the results store keeps its currents) and writes the header and one line
// per pulse to `path`. The table is freed afterwards, also on failure.
TableOutcome WriteCurrentsTable(const std::string& path);

// Computes the table of JobDef's near-field request and writes it, under the
// header of the requested field, to the request's path.
TableOutcome WriteNearFieldTable();

// Computes the table of JobDef's angle/gain request and writes it to the
// request's path.
TableOutcome WriteAngleGainTable();
