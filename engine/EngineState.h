#pragma once
// The engine's working state: one process-wide object holding the heap arrays
// sized by the maximum pulse count, the fixed tables by wire piece, load,
// source and medium, and the scalars the model preparation derives and every
// later step reads. The engine is a set of free functions over this object;
// it is used from the GUI thread only.
//
// Indexing: pulse, wire-piece, load and source indices are 1-based; entry 0 of
// those arrays is unused. Media are 0-based.
#include "model/AntDef.h"
#include "model/EnvDef.h"

#include <complex>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using ComplexF = std::complex<float>;

constexpr int MaxEngineLoads = MaxLoads + MaxWires;  // user loads + one wire-loss load per wire
constexpr int MaxEngineSources = MaxSources;

// Point-table entries needed for a pulse limit: two extra points per piece.
constexpr std::size_t PointTableSize(int maxPulses) {
    return 2 * static_cast<std::size_t>(MaxExpWires) + static_cast<std::size_t>(maxPulses) + 1;
}

enum EngineMatrixState : int { MatrixNotFilled = 0, MatrixSolved = 2 };

struct Point3F {
    float X, Y, Z;
};

// The wire pieces of the two halves of a pulse; the sign is the direction.
// First == -Second marks a pulse at a ground contact.
struct PulseHalves {
    int First;
    int Second;
};

struct PieceEnds {
    float X1, Y1, Z1;
    float X2, Y2, Z2;
};

// A load entry: Order 0 holds a fixed impedance in A[0] (R) and B[0] (X);
// Order n > 0 holds n Laplace coefficient pairs (numerator A, denominator B).
struct EngineLoad {
    float A[MaxLoadPairs];
    float B[MaxLoadPairs];
    int Pulse;
    int Order;
};

struct EngineSource {
    ComplexF Voltage;
    int Pulse;
};

struct GroundMedium {
    double Dielectric;
    double Conductivity;  // S/m
    double Boundary;      // m: X of a linear boundary or radius of a circular one
    double Height;        // m
};

struct FarField3DPoint {
    float Zenith;   // degrees, 0 = up
    float Azimuth;  // degrees from +X
    float Gv, Gh, Gtotal;  // dBi; -999 for no power
};

// A heap array that is not value-initialised on allocation: the matrix can
// take hundreds of megabytes, which should not all be touched at start-up.
template <class T>
class EngineArray {
public:
    EngineArray() = default;
    EngineArray(const EngineArray&) = delete;
    EngineArray& operator=(const EngineArray&) = delete;
    ~EngineArray() { Release(); }

    // Throws std::bad_alloc when the memory (or the test limit) is exhausted.
    void Allocate(std::size_t count);
    void Release();
    void Detach() { data_ = nullptr; count_ = 0; touched_ = 0; }  // forget without freeing
    // The next job uses the first `used` entries only: the pages past them
    // that an earlier, larger job touched go back to the system (they read
    // as zeros if touched again). Costs nothing while jobs keep their size.
    void KeepPagesFor(std::size_t used);
    void Swap(EngineArray& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(count_, other.count_);
        std::swap(touched_, other.touched_);
    }

    T* Data() { return data_; }
    const T* Data() const { return data_; }
    std::size_t Size() const { return count_; }
    explicit operator bool() const { return data_ != nullptr; }
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }

private:
    T* data_ = nullptr;
    std::size_t count_ = 0;
    std::size_t touched_ = 0;  // entries a job may have touched since the last KeepPagesFor
};

struct EngineState {
    // --- heap arrays, sized for MaxPulses ---
    int MaxPulses = 0;                    // pulse limit the arrays hold; 0 = no arrays
    EngineArray<Point3F> Points;          // PointTableSize(MaxPulses); Z includes the added height
    EngineArray<PulseHalves> Halves;      // 1..N
    EngineArray<ComplexF> Currents;       // right-hand side, then the pulse currents (A), 1..N
    EngineArray<int> PivotRows;           // 1..N-1
    EngineArray<int> PulsePiece;          // wire piece of each pulse, 1..N
    EngineArray<ComplexF> Matrix;         // (MaxPulses + 1)^2, row stride MatrixStride
    EngineArray<PieceEnds> PieceGeometry; // 1..MaxExpWires

    // --- fixed tables by wire piece, 1..MaxExpWires ---
    float PieceRadius[MaxExpWires + 1];
    Point3F PieceDirection[MaxExpWires + 1];   // unit vector end 1 -> end 2
    float PieceSegLength[MaxExpWires + 1];
    int PieceGroundContact[MaxExpWires + 1];   // -1 end 1 on ground, +1 end 2, 0 none
    int PieceEndLink[MaxExpWires + 1][2];      // joined piece at end 1 / end 2; -own number = free
    int PieceFirstPulse[MaxExpWires + 1];      // 0 = none
    int PieceLastPulse[MaxExpWires + 1];       // 0 = none

    // --- loads, sources, ground ---
    EngineLoad Loads[MaxEngineLoads + 1];
    EngineSource Sources[MaxEngineSources + 1];
    GroundMedium Media[MaxMedia];
    ComplexF SurfaceImpedance[MaxMedia];       // normalized, per medium

    // --- scalars of the preparation ---
    AntDef* Model = nullptr;       // the antenna being calculated
    float Frequency = 0;           // MHz
    float Wavelength = 0;          // m
    float NearDisplacement = 0;    // 0.001 lambda
    float MatrixScale = 0;         // M = 4.77783352 lambda
    float ThinWireLimit = 0;       // 1e-4 lambda
    float WaveNumber = 0;          // k = 2 pi / lambda
    float HalfWaveNumberSq = 0;    // k^2 / 2
    float FieldFactor = 29.979221f;
    // m, added to every Z before it is rounded to single precision, so that
    // an end at minus the height rests on the ground whatever the height.
    double AntennaHeight = 0;
    int GroundFlag = 1;            // 1 free space, -1 ground
    int MediaCount = 0;
    int BoundaryKind = 1;          // 1 linear, 2 circular
    int RadialCount = 0;
    float RadialRadius = 0;
    int PulseCount = 0;            // N of the prepared model
    int PieceCount = 0;
    int SourceCount = 0;
    int LoadCount = 0;
    int MatrixStride = 0;          // row stride of Matrix = N of the prepared model
    float InputPower = 0;          // W
    int MatrixState = MatrixNotFilled;
    int LastUnderGroundWire = 0;   // 1-based user wire of the last under-ground warning; 0 none

    // --- far-field loop parameters (degrees) ---
    float AzimuthStart = 0, AzimuthStep = 0;
    int AzimuthCount = 0;
    float ZenithStart = 0, ZenithStep = 0;
    int ZenithCount = 0;

    // --- 3D far-field table ---
    std::vector<FarField3DPoint> FarField3D;
    double FarField3DMaxGain = -999;

    // Entries of Matrix that a model of n pulses uses: up to MatrixAt(n, n).
    static std::size_t MatrixEntriesFor(int n) {
        return n > 0 ? static_cast<std::size_t>(n) * n + static_cast<std::size_t>(n) + 1 : 0;
    }
    // Matrix entry (row, col), 1-based, with the prepared model's row stride.
    ComplexF& MatrixAt(int row, int col) {
        return Matrix[static_cast<std::size_t>(row) * MatrixStride + col];
    }
};

// The one engine state.
extern EngineState Engine;

// Allocates every heap array for maxPulses pulses. When memory runs out it
// frees what it got, lowers the count by 256 and tries again while it is
// above 0. Returns the count obtained, 0 when none (never negative).
int AllocEngineArrays(int maxPulses);
// Frees every heap array and the 3D far-field table.
void FreeEngineArrays();
// Forgets the heap arrays without freeing them.
void ClearEngineArrayPointers();
// Puts the engine state back as the program starts, but for the heap arrays,
// which stay with the pulse limit they hold: no prepared model, no run.
void ResetEngineModel();

// Caps the bytes the heap arrays may take (0 = no cap), so tests can
// simulate a machine with little memory.
void SetEngineAllocationLimit(std::size_t bytes);
// Bytes the heap arrays take for a pulse limit.
std::size_t EngineArrayBytes(int maxPulses);

// The calculation log. The sink is a plain list of lines or a pair of
// callbacks; no sink means the lines are dropped.
void SetEngineLog(std::vector<std::string>* lines);
void SetEngineLog(std::function<void(const std::string&)> add, std::function<void()> clear = {});
// Appends a line; does nothing unless JobDef.Interactive is set.
void AddEngineLog(const std::string& line);
// Empties the log; does nothing unless JobDef.Interactive is set.
void ClearEngineLog();

// Where the engine shows a notice to the user (an information box in the
// program). Without a receiver the notice is dropped.
void SetEngineNotice(std::function<void(const std::string&)> show);
void ShowEngineNotice(const std::string& text);

// Read access for the drawing.
int GetPulseCount();
// Point i of the point table, Z including the added height; zeros when i lies
// outside the table.
void GetPointXYZ(double& x, double& y, double& z, int i);
// The same with the added height taken off Z.
void GetPointXYZUser(double& x, double& y, double& z, int i);
