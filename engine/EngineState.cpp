#include "engine/EngineState.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

EngineState Engine;

namespace {

// Test cap on the bytes held by the heap arrays; 0 = none.
std::size_t allocationLimit = 0;
std::size_t allocatedBytes = 0;

constexpr int AllocationRetryStep = 256;

}  // namespace

template <class T>
void EngineArray<T>::Allocate(std::size_t count) {
    Release();
    const std::size_t bytes = count * sizeof(T);
    if (allocationLimit != 0 && allocatedBytes + bytes > allocationLimit) throw std::bad_alloc();
    // The element types are trivially copyable and need no construction.
    void* p = std::malloc(bytes == 0 ? 1 : bytes);
    if (!p) throw std::bad_alloc();
    data_ = static_cast<T*>(p);
    count_ = count;
    touched_ = count;  // memory the allocator reuses may be resident already
    allocatedBytes += bytes;
}

template <class T>
void EngineArray<T>::KeepPagesFor(std::size_t used) {
    used = std::min(used, count_);
    if (used < touched_) {
        // Whole pages strictly inside the array, so the allocator's own
        // bookkeeping around the block stays as it is.
        static const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        const std::uintptr_t first = (reinterpret_cast<std::uintptr_t>(data_ + used) + page - 1) / page * page;
        const std::uintptr_t last = reinterpret_cast<std::uintptr_t>(data_ + touched_) / page * page;
        if (first < last) madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
    }
    touched_ = used;
}

template <class T>
void EngineArray<T>::Release() {
    if (data_) {
        std::free(data_);
        allocatedBytes -= count_ * sizeof(T);
    }
    data_ = nullptr;
    count_ = 0;
    touched_ = 0;
}

template class EngineArray<Point3F>;
template class EngineArray<PulseHalves>;
template class EngineArray<ComplexF>;
template class EngineArray<int>;
template class EngineArray<PieceEnds>;

std::size_t EngineArrayBytes(int maxPulses) {
    if (maxPulses <= 0) return 0;
    const std::size_t n1 = static_cast<std::size_t>(maxPulses) + 1;
    return PointTableSize(maxPulses) * sizeof(Point3F) + n1 * sizeof(PulseHalves) +
           n1 * sizeof(ComplexF) + 2 * n1 * sizeof(int) + n1 * n1 * sizeof(ComplexF) +
           (static_cast<std::size_t>(MaxExpWires) + 1) * sizeof(PieceEnds);
}

namespace {

void AllocateFor(int maxPulses) {
    const std::size_t n1 = static_cast<std::size_t>(maxPulses) + 1;
    Engine.Points.Allocate(PointTableSize(maxPulses));
    Engine.Halves.Allocate(n1);
    Engine.Currents.Allocate(n1);
    Engine.PivotRows.Allocate(n1);
    Engine.PulsePiece.Allocate(n1);
    Engine.Matrix.Allocate(n1 * n1);
    Engine.PieceGeometry.Allocate(static_cast<std::size_t>(MaxExpWires) + 1);
}

}  // namespace

int AllocEngineArrays(int maxPulses) {
    FreeEngineArrays();
    for (int n = maxPulses; n > 0; n -= AllocationRetryStep) {
        try {
            AllocateFor(n);
            Engine.MaxPulses = n;
            Engine.PulseCount = 0;
            Engine.MatrixState = MatrixNotFilled;
            return n;
        } catch (const std::bad_alloc&) {
            FreeEngineArrays();
        }
    }
    return 0;
}

void FreeEngineArrays() {
    Engine.Points.Release();
    Engine.Halves.Release();
    Engine.Currents.Release();
    Engine.PivotRows.Release();
    Engine.PulsePiece.Release();
    Engine.Matrix.Release();
    Engine.PieceGeometry.Release();
    std::vector<FarField3DPoint>().swap(Engine.FarField3D);
    Engine.FarField3DMaxGain = -999;
    ClearEngineArrayPointers();
}

namespace {

void SwapEngineArrays(EngineState& a, EngineState& b) {
    a.Points.Swap(b.Points);
    a.Halves.Swap(b.Halves);
    a.Currents.Swap(b.Currents);
    a.PivotRows.Swap(b.PivotRows);
    a.PulsePiece.Swap(b.PulsePiece);
    a.Matrix.Swap(b.Matrix);
    a.PieceGeometry.Swap(b.PieceGeometry);
    std::swap(a.MaxPulses, b.MaxPulses);
}

}  // namespace

void ResetEngineModel() {
    // The state is made afresh in its place, so that every field takes the
    // value it is declared with; the arrays wait in a holder meanwhile.
    auto holder = std::make_unique<EngineState>();
    SwapEngineArrays(Engine, *holder);
    Engine.~EngineState();
    new (&Engine) EngineState();
    SwapEngineArrays(Engine, *holder);
}

void ClearEngineArrayPointers() {
    Engine.Points.Detach();
    Engine.Halves.Detach();
    Engine.Currents.Detach();
    Engine.PivotRows.Detach();
    Engine.PulsePiece.Detach();
    Engine.Matrix.Detach();
    Engine.PieceGeometry.Detach();
    Engine.MaxPulses = 0;
    Engine.PulseCount = 0;
    Engine.MatrixState = MatrixNotFilled;
}

void SetEngineAllocationLimit(std::size_t bytes) { allocationLimit = bytes; }

int GetPulseCount() { return Engine.PulseCount; }

void GetPointXYZ(double& x, double& y, double& z, int i) {
    if (i < 0 || static_cast<std::size_t>(i) >= Engine.Points.Size()) {
        x = y = z = 0;
        return;
    }
    const Point3F& p = Engine.Points[static_cast<std::size_t>(i)];
    x = p.X;
    y = p.Y;
    z = p.Z;
}

void GetPointXYZUser(double& x, double& y, double& z, int i) {
    GetPointXYZ(x, y, z, i);
    if (i >= 0 && static_cast<std::size_t>(i) < Engine.Points.Size()) z -= Engine.AntennaHeight;
}
