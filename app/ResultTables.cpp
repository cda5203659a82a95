#include "app/ResultTables.h"

#include "engine/Currents.h"
#include "engine/FarField3D.h"
#include "engine/NearField.h"
#include "model/CsvTable.h"
#include "model/EnvDef.h"
#include "model/Messages.h"

#include <exception>
#include <functional>
#include <new>
#include <vector>

namespace {

// The header, the engine's lines after it, and the file; an engine failure
// writes nothing, so an old file of the same name stays as it was.
TableOutcome ComputeAndSave(const std::string& path, const char* header,
                            const std::function<void(std::vector<std::string>&)>& compute) {
    TableOutcome outcome;
    outcome.Path = path;
    std::vector<std::string> list{header};
    JobDef.Interactive = 0;
    try {
        compute(list);
    } catch (const std::exception& e) {
        outcome.Status = TableStatus::EngineFailed;
        outcome.Error = e.what();
        return outcome;
    }
    if (!SaveCsvTable(path, list, &outcome.Error)) outcome.Status = TableStatus::CannotWrite;
    return outcome;
}

TableOutcome Missing(const char* what) {
    TableOutcome outcome;
    outcome.Status = TableStatus::EngineFailed;
    outcome.Error = what;
    return outcome;
}

// Frees the currents table on every way out of its run.
struct CurrentsTableScope {
    CurrentsTableScope() {
        delete[] JobDef.CurrentTable;
        JobDef.CurrentTable = nullptr;
        JobDef.CurrentTable = new PulseCurrentRec[static_cast<std::size_t>(EnvDef.PMAX > 0 ? EnvDef.PMAX : 1)]();
    }
    ~CurrentsTableScope() {
        delete[] JobDef.CurrentTable;
        JobDef.CurrentTable = nullptr;
    }
};

}  // namespace

void FreeTableRequests() {
    delete[] JobDef.CurrentTable;
    JobDef.CurrentTable = nullptr;
    delete JobDef.NearRequest;
    JobDef.NearRequest = nullptr;
    delete JobDef.FarRequest;
    JobDef.FarRequest = nullptr;
}

NearFieldRequestScope::NearFieldRequestScope(const std::string& path) {
    delete JobDef.NearRequest;
    JobDef.NearRequest = nullptr;
    auto* r = new NearFieldRequest{};
    r->Field = 0;
    r->Power = 50.0;
    r->XStart = r->YStart = r->ZStart = 0.0;
    r->XStep = r->YStep = r->ZStep = 3.0;
    r->XCount = r->YCount = r->ZCount = 5;
    r->Path = path;
    JobDef.NearRequest = r;
}

NearFieldRequestScope::~NearFieldRequestScope() {
    delete JobDef.NearRequest;
    JobDef.NearRequest = nullptr;
}

NearFieldRequest& NearFieldRequestScope::Request() { return *JobDef.NearRequest; }

AngleGainRequestScope::AngleGainRequestScope(const std::string& path) {
    delete JobDef.FarRequest;
    JobDef.FarRequest = nullptr;
    auto* r = new FarFieldTableRequest{};
    r->ZenithStart = 0.0;
    r->ZenithStep = 10.0;
    r->ZenithCount = 10;
    r->AzimuthStart = 0.0;
    r->AzimuthStep = 10.0;
    r->AzimuthCount = 36;
    r->Path = path;
    JobDef.FarRequest = r;
}

AngleGainRequestScope::~AngleGainRequestScope() {
    delete JobDef.FarRequest;
    JobDef.FarRequest = nullptr;
}

FarFieldTableRequest& AngleGainRequestScope::Request() { return *JobDef.FarRequest; }

TableOutcome WriteCurrentsTable(const std::string& path) {
    try {
        CurrentsTableScope table;
        return ComputeAndSave(path, CsvHeaders[CsvCurrents], [](std::vector<std::string>& list) {
            CalcCurrentsOnly();
            AddCurrentsTableLines(JobDef.CurrentTable, EnvDef.PMAX, list);
        });
    } catch (const std::bad_alloc&) {
        return Missing("not enough memory for the table of currents");
    }
}

TableOutcome WriteNearFieldTable() {
    const NearFieldRequest* request = JobDef.NearRequest;
    if (!request) return Missing("no near-field request");
    const char* header = CsvHeaders[request->Field == 1 ? CsvNearMagnetic : CsvNearElectric];
    return ComputeAndSave(request->Path, header, [](std::vector<std::string>& list) { CalcNearFieldTable(list); });
}

TableOutcome WriteAngleGainTable() {
    const FarFieldTableRequest* request = JobDef.FarRequest;
    if (!request) return Missing("no angle/gain request");
    return ComputeAndSave(request->Path, CsvHeaders[CsvAngleGain],
                          [](std::vector<std::string>& list) { MakeFarFieldTable(list); });
}
