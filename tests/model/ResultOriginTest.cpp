// The fingerprint of what a calculation reads changes with every field a
// calculation reads and with no other. The fields are taken from the records
// themselves by structured bindings, which fail to compile once a record gets
// a field more or less: a new field has to be placed on one of the lists.
#include "model/AntDef.h"
#include "model/EnvDef.h"
#include "model/ResultOrigin.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

struct Calculation {
    AntDef ant{};
    CalculationFields fields{};
    EnvRec env{};
    UserMaterialRec material{};
    uint64_t Fingerprint() const { return CalculationFingerprint(ant, fields, env, material); }
};

// Every field in use: two of each entry, a stack of two by two, real ground
// with every medium and radials, loads switched on.
std::unique_ptr<Calculation> Base() {
    auto c = std::make_unique<Calculation>();
    AntDef& a = c->ant;
    a.WireCount = 2;
    for (int i = 0; i < 2; ++i) a.Wires[i] = WireRec{1.0 + i, 2, 3, 4, 5.0 + i, 6, 0.001, 11, 0, 0, 0};
    a.SourceCount = 2;
    a.LoadCount = 2;
    a.TaperSetCount = 2;
    for (int i = 0; i < 2; ++i) {
        CopyText(a.Sources[i].Pos, i == 0 ? "w1c" : "w2c");
        a.Sources[i].Voltage = 1;
        a.Loads[i].Type = LoadS;
        CopyText(a.Loads[i].Pos, "w1b");
        for (int k = 0; k < MaxLoadPairs; ++k) a.Loads[i].A[k] = a.Loads[i].B[k] = k + 1.0;
        a.TaperSets[i].Key = -1.0 - i;
        for (int k = 0; k < MaxTaperSections; ++k) a.TaperSets[i].Len[k] = a.TaperSets[i].Rad[k] = k + 1.0;
    }
    a.nH = a.nV = 2;
    a.hSpacing = a.vSpacing = 5;
    c->fields = CalculationFields{14.2, 14.3, 800, 80, 1, 2.0, 1, 1, GroundReal, 3, 0};
    EnvRec& e = c->env;
    e.Type = GroundReal;
    e.MediaMax = MaxMedia;
    e.MediaType = 1;
    e.RadialCount = 4;
    e.RadialRadius = 0.001;
    for (int m = 0; m < MaxMedia; ++m) e.Dieleciric[m] = e.Conductivity[m] = e.Coord[m] = e.Height[m] = m + 1.0;
    e.Z0R = 50;
    e.PMAX = 1000;
    c->material = UserMaterialRec{1e-7, 1};
    return c;
}

// A field of one record of the calculation, found by its offset in that
// record; each value of an array is a field of its own.
struct Field {
    std::string name;
    bool read;  // the calculation reads it
    std::function<void(Calculation&)> change;
};

template <class T>
void ChangeValue(T& v) {
    if constexpr (std::is_floating_point_v<T>)
        v += 1.5;
    else if constexpr (std::is_same_v<T, char>)
        v = v == 'x' ? 'y' : 'x';
    else
        v = v > 0 ? v - 1 : v + 1;  // counts stay within their limits, switches turn
}

class Fields {
public:
    // `record` finds the record in a calculation; `sample` is that record in
    // the calculation the bindings were taken of.
    template <class Record>
    Fields(std::vector<Field>& out, std::function<Record&(Calculation&)> record, const Record& sample,
           std::string prefix)
        : out_(out), prefix_(std::move(prefix)), sample_(&sample), locate_([record](Calculation& c) {
              return static_cast<void*>(&record(c));
          }) {}

    template <class T>
    void Read(const T& field, const char* name) { Add(field, name, true); }
    template <class T>
    void NotRead(const T& field, const char* name) { Add(field, name, false); }

private:
    template <class T>
    void Add(const T& field, const char* name, bool read) {
        const std::ptrdiff_t offset =
            reinterpret_cast<const char*>(&field) - reinterpret_cast<const char*>(sample_);
        auto locate = locate_;
        auto at = [locate, offset](Calculation& c) { return static_cast<char*>(locate(c)) + offset; };
        if constexpr (std::is_array_v<T> && std::is_same_v<std::remove_extent_t<T>, char>) {
            out_.push_back({prefix_ + name, read, [at](Calculation& c) { ChangeValue(*at(c)); }});
        } else if constexpr (std::is_array_v<T>) {
            using Element = std::remove_extent_t<T>;
            static_assert(std::is_arithmetic_v<Element>, "records in arrays have lists of their own");
            for (std::size_t i = 0; i < std::extent_v<T>; ++i)
                out_.push_back({prefix_ + name + "[" + std::to_string(i) + "]", read, [at, i](Calculation& c) {
                                    ChangeValue(reinterpret_cast<Element*>(at(c))[i]);
                                }});
        } else {
            out_.push_back({prefix_ + name, read, [at](Calculation& c) { ChangeValue(*reinterpret_cast<T*>(at(c))); }});
        }
    }
    std::vector<Field>& out_;
    std::string prefix_;
    const void* sample_;
    std::function<void*(Calculation&)> locate_;
};

// The records' fields, each on the list of what a calculation reads or of
// what it does not. Entries of arrays are changed in the last one in use.
std::vector<Field> AllFields(const Calculation& s) {
    std::vector<Field> out;
    {
        const auto& [Changed, Edited, Name, Freq, WireCount, Wires, CalcFreq, SourceCount, AutoVoltage, Sources,
                     UseLoads, LoadCount, Loads, TaperSetCount, TaperSets, ExpWireCount, ExpWires, LowestZ, Wavelength,
                     DM1, DM2, EC, SC, StackMode, nH, nV, hSpacing, vSpacing, StackCopies] = s.ant;
        Fields f(out, std::function<AntDef&(Calculation&)>([](Calculation& c) -> AntDef& { return c.ant; }), s.ant,
                 "antenna.");
        // The entries have lists of their own below.
        (void)Wires, (void)Sources, (void)Loads, (void)TaperSets;
        f.NotRead(Changed, "Changed");
        f.NotRead(Edited, "Edited");
        f.NotRead(Name, "Name");
        // The calculation takes these from the edit fields (below).
        for (const auto& [field, name] : {std::pair{&Freq, "Freq"}, {&CalcFreq, "CalcFreq"}, {&SC, "SC"}})
            f.NotRead(*field, name);
        for (const auto& [field, name] : {std::pair{&AutoVoltage, "AutoVoltage"}, {&UseLoads, "UseLoads"},
                                          {&DM1, "DM1"}, {&DM2, "DM2"}, {&EC, "EC"}})
            f.NotRead(*field, name);
        f.Read(WireCount, "WireCount");
        f.Read(SourceCount, "SourceCount");
        f.Read(LoadCount, "LoadCount");
        f.Read(TaperSetCount, "TaperSetCount");
        // What the preparation fills in.
        f.NotRead(ExpWireCount, "ExpWireCount");
        (void)ExpWires;
        f.NotRead(LowestZ, "LowestZ");
        f.NotRead(Wavelength, "Wavelength");
        f.NotRead(StackCopies, "StackCopies");
        f.Read(StackMode, "StackMode");
        f.Read(nH, "nH");
        f.Read(nV, "nV");
        f.Read(hSpacing, "hSpacing");
        f.Read(vSpacing, "vSpacing");
    }
    {
        const WireRec& w = s.ant.Wires[1];
        const auto& [X1, Y1, Z1, X2, Y2, Z2, R, Seg, FirstPulse, PulseCount, Unused] = w;
        Fields f(out, std::function<WireRec&(Calculation&)>([](Calculation& c) -> WireRec& { return c.ant.Wires[1]; }),
                 w, "wire.");
        for (const auto& [field, name] : {std::pair{&X1, "X1"}, {&Y1, "Y1"}, {&Z1, "Z1"}, {&X2, "X2"}, {&Y2, "Y2"},
                                          {&Z2, "Z2"}, {&R, "R"}})
            f.Read(*field, name);
        f.Read(Seg, "Seg");
        f.NotRead(FirstPulse, "FirstPulse");
        f.NotRead(PulseCount, "PulseCount");
        f.NotRead(Unused, "Unused");
    }
    {
        const SourceRec& r = s.ant.Sources[1];
        const auto& [Pos, Pulse, Voltage, Phase] = r;
        Fields f(out,
                 std::function<SourceRec&(Calculation&)>([](Calculation& c) -> SourceRec& { return c.ant.Sources[1]; }),
                 r, "source.");
        f.Read(Pos, "Pos");
        f.NotRead(Pulse, "Pulse");
        f.Read(Voltage, "Voltage");
        f.Read(Phase, "Phase");
    }
    {
        const LoadRec& r = s.ant.Loads[1];
        const auto& [Type, Pos, Pulse, N, A, B] = r;
        Fields f(out, std::function<LoadRec&(Calculation&)>([](Calculation& c) -> LoadRec& { return c.ant.Loads[1]; }),
                 r, "load.");
        f.Read(Type, "Type");
        f.Read(Pos, "Pos");
        f.NotRead(Pulse, "Pulse");
        // Counted from A and B when the fields are taken in.
        f.NotRead(N, "N");
        f.Read(A, "A");
        f.Read(B, "B");
    }
    {
        const TaperSet& r = s.ant.TaperSets[1];
        const auto& [Key, Len, Rad, Type, Unused] = r;
        Fields f(out,
                 std::function<TaperSet&(Calculation&)>([](Calculation& c) -> TaperSet& { return c.ant.TaperSets[1]; }),
                 r, "taper.");
        f.Read(Key, "Key");
        f.Read(Len, "Len");
        f.Read(Rad, "Rad");
        f.Read(Type, "Type");
        f.NotRead(Unused, "Unused");
    }
    {
        const auto& [Type, AntHeight, MediaMax, MediaType, RadialCount, RadialRadius, Dieleciric, Conductivity, Coord,
                     Height, AzEl, Z0R, Z0X, Material, PMAX, FontSize] = s.env;
        Fields f(out, std::function<EnvRec&(Calculation&)>([](Calculation& c) -> EnvRec& { return c.env; }), s.env,
                 "environment.");
        // From the edit fields (below).
        f.NotRead(Type, "Type");
        f.NotRead(AntHeight, "AntHeight");
        f.NotRead(Material, "Material");
        f.Read(MediaMax, "MediaMax");
        f.Read(MediaType, "MediaType");
        f.Read(RadialCount, "RadialCount");
        f.Read(RadialRadius, "RadialRadius");
        f.Read(Dieleciric, "Dieleciric");
        f.Read(Conductivity, "Conductivity");
        f.Read(Coord, "Coord");
        f.Read(Height, "Height");
        f.Read(AzEl, "AzEl");
        f.Read(Z0R, "Z0R");
        f.Read(Z0X, "Z0X");
        f.Read(PMAX, "PMAX");
        f.NotRead(FontSize, "FontSize");
    }
    {
        const auto& [Resistivity, Permeability] = s.material;
        Fields f(out,
                 std::function<UserMaterialRec&(Calculation&)>([](Calculation& c) -> UserMaterialRec& { return c.material; }),
                 s.material, "material.");
        f.Read(Resistivity, "Resistivity");
        f.Read(Permeability, "Permeability");
    }
    {
        const auto& [Freq, CalcFreq, DM1, DM2, EC, SC, AutoVoltage, UseLoads, GroundType, AntHeight, Material] =
            s.fields;
        Fields f(out,
                 std::function<CalculationFields&(Calculation&)>([](Calculation& c) -> CalculationFields& { return c.fields; }),
                 s.fields, "fields.");
        for (const auto& [field, name] : {std::pair{&Freq, "Freq"}, {&CalcFreq, "CalcFreq"}, {&SC, "SC"},
                                          {&AntHeight, "AntHeight"}})
            f.Read(*field, name);
        for (const auto& [field, name] : {std::pair{&DM1, "DM1"}, {&DM2, "DM2"}, {&EC, "EC"},
                                          {&AutoVoltage, "AutoVoltage"}, {&UseLoads, "UseLoads"},
                                          {&GroundType, "GroundType"}, {&Material, "Material"}})
            f.Read(*field, name);
    }
    return out;
}

TEST(CalculationFingerprint, ChangesWithEveryFieldACalculationReadsAndWithNoOther) {
    const auto base = Base();
    const uint64_t before = base->Fingerprint();
    const std::vector<Field> fields = AllFields(*base);
    ASSERT_GT(fields.size(), 100u);
    // Every holder asks with this fingerprint: the newest row, the sweep
    // table, the 3D view's table and the points of the optimization log.
    ResultOrigin origin;
    origin.Prepared(before);
    for (std::size_t h = 0; h < ResultHolderCount; ++h) origin.Computed(static_cast<ResultHolder>(h));
    const std::optional<uint64_t> logged = before;
    for (const Field& field : fields) {
        auto changed = std::make_unique<Calculation>(*base);
        field.change(*changed);
        const uint64_t now = changed->Fingerprint();
        if (field.read)
            EXPECT_NE(now, before) << field.name;
        else
            EXPECT_EQ(now, before) << field.name;
        for (std::size_t h = 0; h < ResultHolderCount; ++h)
            EXPECT_EQ(origin.Belongs(static_cast<ResultHolder>(h), ResultUse::Show, now), !field.read)
                << field.name << " holder " << h;
        EXPECT_EQ(OfState(logged, now), !field.read) << field.name << " logged point";
    }
}

// What a holder's origin allows: results read from a file are shown, never
// combined or computed from; computed ones are, while the engine's model is
// of their state.
TEST(ResultOrigin, AnswersByHolderAndUse) {
    ResultOrigin origin;
    const uint64_t a = 1, b = 2;
    EXPECT_FALSE(origin.Belongs(ResultHolder::Row, ResultUse::Show, a));
    origin.Prepared(a);
    origin.Computed(ResultHolder::Row);
    origin.Read(ResultHolder::Sweep, a);
    for (ResultUse use : {ResultUse::Show, ResultUse::Combine, ResultUse::ComputeFrom})
        EXPECT_TRUE(origin.Belongs(ResultHolder::Row, use, a));
    EXPECT_FALSE(origin.Belongs(ResultHolder::Row, ResultUse::Show, b));
    EXPECT_TRUE(origin.Belongs(ResultHolder::Sweep, ResultUse::Show, a));
    EXPECT_FALSE(origin.Belongs(ResultHolder::Sweep, ResultUse::Combine, a));
    EXPECT_TRUE(origin.ReadFromFile(ResultHolder::Sweep));
    EXPECT_FALSE(origin.Belongs(ResultHolder::View3D, ResultUse::Show, a));
    // The model prepared for another state (a sweep point): what is shown
    // and combined stays, nothing is computed from the model.
    origin.Prepared(b);
    EXPECT_TRUE(origin.Belongs(ResultHolder::Row, ResultUse::Combine, a));
    EXPECT_FALSE(origin.Belongs(ResultHolder::Row, ResultUse::ComputeFrom, a));
    origin.PreparationFailed();
    origin.Computed(ResultHolder::View3D);
    EXPECT_FALSE(origin.Belongs(ResultHolder::View3D, ResultUse::Show, a)) << "computed from no model";
    origin.Forget();
    EXPECT_FALSE(origin.Belongs(ResultHolder::Row, ResultUse::Show, a));
}

}  // namespace
