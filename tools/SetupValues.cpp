// The setup page's globals: filled into texts and stored back on OK.
#include "tools/SetupValues.h"

#include "engine/EngineState.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cmath>

SetupValues LoadSetupValues() {
    SetupValues v;
    v.Azimuth = std::to_string(RearAzimuth(EnvDef.AzEl));
    v.Vertical = std::to_string(RearElevation(EnvDef.AzEl));
    v.Z0R = DblToStr(EnvDef.Z0R);
    v.Z0X = DblToStr(EnvDef.Z0X);
    v.CurDir = JobDef.CurDir != 0;
    v.FixFreeAngle = JobDef.FixFreeAngle ? 1 : 0;
    v.MaxPulses = std::to_string(EnvDef.PMAX);
    v.RecentMax = std::to_string(JobDef.RecentMax);
    v.OnlyKva = JobDef.OnlyKVA != 0;
    v.FontSize = std::to_string(EnvDef.FontSize);
    return v;
}

std::string SetupStored::Notice() const {
    if (PulsesGranted == PulsesAsked) return {};
    return "Not enough memory for " + std::to_string(PulsesAsked) +
           " pulses.\r\n\r\nThe maximum pulse count is now " + std::to_string(PulsesGranted) + ".";
}

SetupStored StoreSetupValues(const SetupValues& v) {
    JobDef.CurDir = v.CurDir ? 1 : 0;
    JobDef.FixFreeAngle = v.FixFreeAngle;

    int azimuth = 0, vertical = 0;
    if (!StrToAbsIntExpr(azimuth, v.Azimuth) || azimuth >= 360) azimuth = 0;
    if (!StrToAbsIntExpr(vertical, v.Vertical) || vertical >= 180) vertical = 0;
    EnvDef.AzEl = PackAzEl(azimuth, vertical);

    // An impedance left as the page showed it keeps the digits it did not show.
    const SetupValues shown = LoadSetupValues();
    double value = 0;
    if (v.Z0R != shown.Z0R && StrToDblExpr(value, v.Z0R) && value > 0) EnvDef.Z0R = value;
    if (v.Z0X != shown.Z0X && StrToDblExpr(value, v.Z0X)) EnvDef.Z0X = value;

    int count = 0;
    if (StrToAbsIntExpr(count, v.RecentMax) && count < 11) JobDef.RecentMax = count;
    JobDef.OnlyKVA = v.OnlyKva ? 1 : 0;

    // The form's own font sizes stay usable: the offset keeps to the range
    // the size list offers.
    if (StrToDblExpr(value, v.FontSize)) EnvDef.FontSize = std::clamp(RoundToInt(value), -3, 3);

    int pulses = 0;
    if (StrToAbsIntExpr(pulses, v.MaxPulses) && pulses > 0 && pulses <= MaxPulseLimit && pulses != EnvDef.PMAX) {
        const int granted = AllocEngineArrays(pulses);
        EnvDef.PMAX = granted;
        return {2, pulses, granted};
    }
    return {};
}

std::string HairpinProposal(double r) { return r >= 50 ? DblToStr(2 * r) : "50"; }

std::string HairpinReactance(double r, const std::string& lineText) {
    double line = 0;
    if (!StrToDblExpr(line, lineText)) return {};
    if (line > r) return DblToStr(-r * std::sqrt(line / r - 1));
    if (line == r) return "0";
    return {};
}
