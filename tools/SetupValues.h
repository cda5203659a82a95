#pragma once
// The global settings of the setup page as texts, filled from and stored into
// the environment and job records. No Qt.
#include <string>

struct SetupValues {
    std::string Azimuth, Vertical;  // F/B rear range, degrees
    std::string Z0R, Z0X;           // reference impedance, ohm
    bool CurDir = false;
    int FixFreeAngle = 0;           // 0 "auto - maximal radiation", 1 "fixed = 0 deg"
    std::string MaxPulses;
    std::string RecentMax;
    bool OnlyKva = false;
    std::string FontSize;           // offset added to 10
};

// What storing did: Code 2 when the maximum pulse count changed, else 1;
// with fewer pulses allocated than asked for, the two counts.
struct SetupStored {
    int Code = 1;
    int PulsesAsked = 0, PulsesGranted = 0;
    // What the user is told of fewer pulses; empty when there is nothing to tell.
    std::string Notice() const;
};

SetupValues LoadSetupValues();
// Stores what parses and lies in range; the rear-range halves that do not
// become 0. A new maximum pulse count re-allocates the engine arrays.
SetupStored StoreSetupValues(const SetupValues& values);

// The reactance field of "Hairpin match" for feed resistance r and the
// line's resistance text: -r sqrt(rl / r - 1) for rl > r, "0" for rl = r,
// empty otherwise.
std::string HairpinReactance(double r, const std::string& lineText);
// The proposed line resistance: 2 r from 50 ohm up, else 50.
std::string HairpinProposal(double r);
