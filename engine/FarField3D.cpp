#include "engine/FarField3D.h"

#include "engine/EngineError.h"
#include "engine/EngineMessageLog.h"
#include "engine/FarField.h"
#include "engine/Solve.h"
#include "model/CheckedFormat.h"
#include "model/EnvDef.h"

#include <algorithm>
#include <limits>

namespace {

// Keeps a request from asking for more records than memory could hold.
constexpr long long MaxTableRecords = 50'000'000;

int AtLeastOne(int n) { return n < 1 ? 1 : n; }

}  // namespace

void CalcFarField3D(int azCount, int zenCount, double azStart, double azStep, double zenStart, double zenStep) {
    EngineState& e = Engine;
    if (e.MatrixState != MatrixSolved) FillAndSolve();
    RequireInputPower();
    PrepareGroundImpedances();
    azCount = AtLeastOne(azCount);
    zenCount = AtLeastOne(zenCount);
    if (static_cast<long long>(azCount) * zenCount > MaxTableRecords) throw EngineError("far-field table too large");
    std::vector<FarField3DPoint>& table = e.FarField3D;
    const std::size_t base = table.size();
    const int total = azCount * zenCount;
    table.resize(base + static_cast<std::size_t>(total));
    const FarFieldSources sources;
#pragma omp parallel for schedule(dynamic, 8) num_threads(sources.ThreadsFor(total))
    for (int d = 0; d < total; ++d) {
        const int az = d / zenCount, zen = d % zenCount;
        const float zenith = static_cast<float>(zenStart + zen * zenStep);
        const float azimuth = static_cast<float>(azStart + az * azStep);
        const FarFieldGains g = sources.GainsAt(zenith, azimuth);
        table[base + d] = FarField3DPoint{zenith, azimuth, g.Gv, g.Gh, g.Gtotal};
    }
    for (std::size_t r = base; r < table.size(); ++r)
        e.FarField3DMaxGain = std::max(e.FarField3DMaxGain, static_cast<double>(table[r].Gtotal));
}

bool CalcPattern3DForView(int& elevationStep, int& azimuthStep) {
    EngineState& e = Engine;
    if (elevationStep <= 0) elevationStep = 3;
    if (azimuthStep <= 0) azimuthStep = 6;
    const int el = elevationStep, az = azimuthStep;
    e.FarField3DMaxGain = -999.0;
    std::vector<FarField3DPoint>().swap(e.FarField3D);
    try {
        const int azimuths = 360 / az + 1;
        // Where the last azimuth is 360 it is azimuth 0 again: a copy of the
        // ring's first record closes the ring exactly, whatever rounding the
        // direction 360 would have taken through the currents.
        const bool closes = azimuths > 1 && (azimuths - 1) * az == 360;
        e.FarField3D.reserve(static_cast<std::size_t>(90 / el + 1) * static_cast<std::size_t>(azimuths));
        for (int elev = 0; elev <= 90; elev += el) {
            const std::size_t first = e.FarField3D.size();
            CalcFarField3D(closes ? azimuths - 1 : azimuths, 1, 0.0, az, 90.0 - elev, 0.0);
            if (closes) {
                FarField3DPoint closing = e.FarField3D[first];
                closing.Azimuth = 360.0f;
                e.FarField3D.push_back(closing);
            }
        }
    } catch (...) {
        std::vector<FarField3DPoint>().swap(e.FarField3D);
        e.FarField3DMaxGain = -999.0;
        return false;
    }
    return true;
}

void MakeFarFieldTable(std::vector<std::string>& list) {
    EngineState& e = Engine;
    const FarFieldTableRequest* req = JobDef.FarRequest;
    if (!req) throw EngineError("no angle/gain request");
    const int zenCount = req->ZenithStep == 0.0 ? 1 : AtLeastOne(req->ZenithCount);
    const int azCount = req->AzimuthStep == 0.0 ? 1 : AtLeastOne(req->AzimuthCount);
    std::vector<FarField3DPoint>().swap(e.FarField3D);
    e.FarField3DMaxGain = -999.0;
    CalcFarField3D(azCount, zenCount, req->AzimuthStart, req->AzimuthStep, req->ZenithStart, req->ZenithStep);
    std::string text;
    text.reserve(e.FarField3D.size() * 40);
    for (const FarField3DPoint& p : e.FarField3D)
        text += FormatInCLocale("%.1lf,%.1lf,%.2lf,%.2lf,%.2lf,\r\n", static_cast<double>(p.Zenith),
                        static_cast<double>(p.Azimuth), static_cast<double>(p.Gv), static_cast<double>(p.Gh),
                        static_cast<double>(p.Gtotal));
    list.push_back(std::move(text));
}
