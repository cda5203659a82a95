#pragma once
// Global state beside the antenna definition: the environment record (ground,
// media, reference impedance, F/B rear sector, material, pulse limit, font
// offset), the job record (view state, run flags, options, table requests),
// the user wire material and the user program slots.
#include <cstdint>
#include <string>

constexpr int MaxMedia = 15;
constexpr int MaxPulseLimit = 8192;

enum GroundType : int32_t { GroundFree = 0, GroundPerfect = 1, GroundReal = 2 };

struct EnvRec {
    int32_t Type;             // GroundType
    double AntHeight;         // m, added to every Z over ground
    int32_t MediaMax;         // media in use, 1..15
    int32_t MediaType;        // 0 linear X boundaries, 1 radial boundaries with radials
    int32_t RadialCount;
    double RadialRadius;      // m
    double Dieleciric[MaxMedia];
    double Conductivity[MaxMedia];  // S/m
    double Coord[MaxMedia];         // outer boundary, m; 0 = none
    double Height[MaxMedia];        // m
    int32_t AzEl;             // F/B rear sector: azimuth width low 16 bits, elevation high 16 bits
    double Z0R;               // reference impedance, ohms
    double Z0X;
    int32_t Material;         // index of the material selector
    int32_t PMAX;             // maximum pulse count, 1..8192
    int32_t FontSize;         // offset added to 10 for every form
};

// The values of a ground medium that the media dialog, the settings file and
// the engine take: a dielectric constant of 1 to 1e6, a conductivity of 0 to
// 1e8 S/m, a boundary and a surface height within 1000 km. Medium 1 lies at
// height 0.
enum class MediumValue { Dielectric, Conductivity, Coord, Height };
bool MediumValueInRange(MediumValue which, double value);

inline int RearAzimuth(int32_t azEl) { return static_cast<int>(static_cast<uint32_t>(azEl) & 0xFFFFu); }
inline int RearElevation(int32_t azEl) { return static_cast<int>((static_cast<uint32_t>(azEl) >> 16) & 0xFFFFu); }
inline int32_t PackAzEl(int azimuth, int elevation) {
    return static_cast<int32_t>((static_cast<uint32_t>(elevation & 0xFFFF) << 16) | static_cast<uint32_t>(azimuth & 0xFFFF));
}

struct PulseCurrentRec;
struct NearFieldRequest;
struct FarFieldTableRequest;

struct JobRec {
    double PanX;
    double PanY;
    int32_t OptLog;
    int32_t StopRequest;
    int32_t Busy;
    int32_t Interactive;      // the engine writes its log only while set
    int32_t InWavelengths;
    double Wavelength;        // m; the token "R" of numeric input
    int32_t IntPos;
    int32_t WaveSel;          // 0 vertical, 1 horizontal, 2 total, 3 vertical and horizontal
    int32_t MatchMode;
    int32_t Ant3D;
    int32_t CurDir;
    int32_t FixFreeAngle;
    int32_t RecentMax;
    int32_t OnlyKVA;
    int32_t WindowState;      // 0 normal, 1 minimized, 2 maximized
    int32_t EleWidthAll;
    PulseCurrentRec* CurrentTable;       // owned while it exists
    NearFieldRequest* NearRequest;
    FarFieldTableRequest* FarRequest;
};

extern EnvRec EnvDef;
extern JobRec JobDef;

// User wire material: resistivity (ohm m) and relative permeability.
struct UserMaterialRec {
    double Resistivity;
    double Permeability;
};
extern UserMaterialRec UserMaterialDef;

struct UserProgramSlot {
    std::string Path;
    bool PassAntenna = false;
};
constexpr int UserProgramCount = 3;
extern UserProgramSlot UserProgramSlots[UserProgramCount];
