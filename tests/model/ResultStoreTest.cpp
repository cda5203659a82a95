#include "model/ResultStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "model/AntDef.h"
#include "model/BinaryStream.h"
#include "model/EnvDef.h"

namespace {

class ResultStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnvDef = EnvRec{};
        EnvDef.AzEl = PackAzEl(120, 60);
        EnvDef.Z0R = 50;
        EnvDef.PMAX = 2048;
        JobDef = JobRec{};
    }
    std::unique_ptr<CResult> store = std::make_unique<CResult>();
};

TEST_F(ResultStoreTest, PushRowStartsAFreshRowWithTheReferenceFields) {
    store->PushRow();
    store->Row(0)->R = 73;
    EnvDef.Z0R = 75;
    EnvDef.Z0X = -3;
    EnvDef.AzEl = PackAzEl(90, 10);
    store->PushRow();
    const ResultRow& r = *store->Row(0);
    EXPECT_EQ(r.R, 0.0f);
    EXPECT_EQ(r.Z0R, 75.0f);
    EXPECT_EQ(r.Z0X, -3.0f);
    EXPECT_EQ(r.AzEl, PackAzEl(90, 10));
    EXPECT_EQ(store->Row(1)->R, 73.0f);
    EXPECT_EQ(store->RowCount, 2);
}

TEST_F(ResultStoreTest, RingWrapsAfter128RowsAndCountStops) {
    for (int i = 0; i < 129; ++i) {
        store->PushRow();
        store->Row(0)->F = static_cast<float>(i);
    }
    EXPECT_EQ(store->RowCount, 128);
    EXPECT_EQ(store->Row(0)->F, 128.0f);
    EXPECT_EQ(store->Row(127)->F, 1.0f);  // row 0 (the first push) was overwritten

    store->RingIndex = 1;
    EXPECT_EQ(store->Row(2), &store->Rows[127]);
    EXPECT_EQ(store->Row(0), &store->Rows[1]);
}

TEST_F(ResultStoreTest, PulseCurrentFirstValueWinsAndPiecesWithoutPulsesStoreNothing) {
    auto ant = std::make_unique<AntDef>();
    ant->ExpWireCount = 2;
    ant->ExpWires[0].FirstPulse = 3;
    ant->ExpWires[1].FirstPulse = 0;
    store->StorePulseCurrent(*ant, 0, -0.5, 0.25, 0.6);
    store->StorePulseCurrent(*ant, 0, 1.0, 1.0, 1.4);
    EXPECT_FLOAT_EQ(store->PulseCurrent[2], 0.6f);
    EXPECT_EQ(store->PulseFlags[2], PulseReNegative);
    EXPECT_EQ(store->LastPulseSlot, 2);
    EXPECT_DOUBLE_EQ(store->MaxAbsRe, 0.5);
    EXPECT_DOUBLE_EQ(store->MaxAbsIm, 0.25);

    CResult before = *store;
    store->StorePulseCurrent(*ant, 1, 1, 1, 1);   // no pulses
    store->StorePulseCurrent(*ant, 2, 1, 1, 1);   // beyond the piece count
    store->StorePulseCurrent(*ant, -1, 1, 1, 1);
    EXPECT_EQ(std::memcmp(&before, store.get(), sizeof before), 0);

    store->ClearPulseCurrents();
    EXPECT_EQ(store->PulseCurrent[2], 0.0f);
    EXPECT_EQ(store->PulseFlags[2], 0);
    EXPECT_EQ(store->MaxAbsRe, 0.0);
}

TEST_F(ResultStoreTest, TakeLatestCopiesOnlyAFarField) {
    auto src = std::make_unique<CResult>();
    src->PushRow();
    src->Row(0)->R = 50;
    CopyText(src->Title, "yagi");
    EXPECT_EQ(store->TakeLatest(*src), 0);
    EXPECT_EQ(store->RowCount, 0);

    src->HasFarField = 1;
    src->AngleStep = 1;
    src->AzCut[PolTotal][10] = 7;
    src->PushRow();
    src->Row(0)->R = 36;
    EXPECT_NE(store->TakeLatest(*src), 0);
    EXPECT_STREQ(store->Title, "yagi");
    EXPECT_EQ(store->RowCount, 1);
    EXPECT_EQ(store->RingIndex, 0);
    EXPECT_EQ(store->Rows[0].R, 36.0f);
    EXPECT_EQ(store->AzCut[PolTotal][10], 7.0f);
}

TEST_F(ResultStoreTest, CopyLatestKeepsTitleAndRing) {
    store->PushRow();
    store->PushRow();
    CopyText(store->Title, "mine");
    auto src = std::make_unique<CResult>();
    src->HasFarField = 1;
    src->PushRow();
    src->Row(0)->jX = -12;
    CopyText(src->Title, "other");
    store->CopyLatest(*src);
    EXPECT_STREQ(store->Title, "mine");
    EXPECT_EQ(store->RowCount, 2);
    EXPECT_EQ(store->Row(0)->jX, -12.0f);
    EXPECT_EQ(store->HasFarField, 1);
}

// ---- the results image ----

std::unique_ptr<CResult> FilledStore() {
    auto s = std::make_unique<CResult>();
    s->PushRow();
    s->PushRow();
    ResultRow& r = *s->Row(0);
    r.Ground = GroundReal;
    r.F = 14.15f;
    r.R = 36.5f;
    r.GvMax = 5;
    r.GhMax = -3;
    CopyText(s->Title, "dipole");
    s->HasFarField = 1;
    s->AngleStep = 1;
    s->PassMode = PassAzimuth;
    s->PointIndex = 360;
    for (int i = 0; i < AzCutSize; ++i) s->AzCut[PolTotal][i] = static_cast<float>(i) / 10;
    s->ElevCut[PolV][90] = 2.5f;
    s->PulseCurrent[5] = 0.125f;
    s->Sweep.DotsPerGap = 1;
    s->Sweep.CentreIndex = 2;
    s->Sweep.Points[2].AzGain[2][3] = -512;
    s->CutElevation = 12.5f;
    return s;
}

TEST_F(ResultStoreTest, ImageWithoutFarFieldIsFourZeroBytesAndReadingItChangesNothing) {
    ByteWriter w;
    store->WriteTo(w);
    EXPECT_EQ(w.Data(), std::vector<uint8_t>(4, 0));

    auto s = FilledStore();
    CResult before = *s;
    ByteReader r(w.Data());
    EXPECT_TRUE(s->ReadFrom(r));
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(std::memcmp(&before, s.get(), sizeof before), 0);
}

TEST_F(ResultStoreTest, ImageHasItsFixedSizeAndOffsets) {
    auto s = FilledStore();
    ByteWriter w;
    s->WriteTo(w);
    const auto& d = w.Data();
    ASSERT_EQ(d.size(), 4u + 54148u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&d[4])), "dipole");
    EXPECT_EQ(d[132], GroundReal);                      // the newest row follows the title
    float cutElevation;
    std::memcpy(&cutElevation, &d[d.size() - 4], 4);
    EXPECT_EQ(cutElevation, 12.5f);
    int32_t angleStep;
    std::memcpy(&angleStep, &d[192], 4);
    EXPECT_EQ(angleStep, 1);
}

TEST_F(ResultStoreTest, ImageRoundTripIsByteIdenticalAndResetsTheRing) {
    auto s = FilledStore();
    ByteWriter w1;
    s->WriteTo(w1);
    auto t = std::make_unique<CResult>();
    ByteReader r(w1.Data());
    ASSERT_TRUE(t->ReadFrom(r));
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(t->RowCount, 1);
    EXPECT_EQ(t->RingIndex, 0);
    EXPECT_EQ(t->GvMax, 5.0f);
    EXPECT_EQ(t->GhMax, -3.0f);
    EXPECT_EQ(t->Rows[0].R, 36.5f);
    EXPECT_EQ(t->Sweep.Points[2].AzGain[2][3], -512);
    ByteWriter w2;
    t->WriteTo(w2);
    EXPECT_EQ(w1.Data(), w2.Data());
}

TEST_F(ResultStoreTest, DamagedImagesAreRefusedAndChangeNothing) {
    auto s = FilledStore();
    ByteWriter w;
    s->WriteTo(w);
    auto patch = [&](std::size_t offset, int32_t value) {
        std::vector<uint8_t> d = w.Data();
        std::memcpy(&d[offset], &value, 4);
        return d;
    };
    const std::size_t rowAzEl = 4 + 128 + 36;
    const std::size_t angleStep = 4 + 128 + 60;
    std::vector<std::vector<uint8_t>> damaged = {
        std::vector<uint8_t>(w.Data().begin(), w.Data().end() - 1),   // truncated
        patch(4 + 128, 3),                                           // ground type
        patch(rowAzEl, PackAzEl(360, 0)),                            // rear sector
        patch(rowAzEl, PackAzEl(120, 180)),
        patch(angleStep, 0),                                         // angle step
        patch(angleStep, 3),
        patch(angleStep + 8, 3),                                     // pass mode
        patch(angleStep + 12, 181),                                  // elevation index
        patch(angleStep + 16, -1),                                   // azimuth index
        patch(angleStep + 32, 0x7FC00000),                           // NaN in a cut
    };
    std::vector<uint8_t> noNul = w.Data();
    std::memset(&noNul[4], 'x', 128);
    damaged.push_back(noNul);

    auto target = std::make_unique<CResult>();
    target->PushRow();
    target->Row(0)->R = 99;
    CResult before = *target;
    for (std::size_t k = 0; k < damaged.size(); ++k) {
        ByteReader r(damaged[k]);
        EXPECT_FALSE(target->ReadFrom(r)) << "case " << k;
        EXPECT_EQ(std::memcmp(&before, target.get(), sizeof before), 0) << "case " << k;
    }
}

TEST(RearSector, RangeIsAzimuthBelow360AndElevationBelow180) {
    EXPECT_TRUE(RearSectorInRange(PackAzEl(359, 179)));
    EXPECT_TRUE(RearSectorInRange(0));
    EXPECT_FALSE(RearSectorInRange(PackAzEl(360, 0)));
    EXPECT_FALSE(RearSectorInRange(PackAzEl(0, 180)));
}

}  // namespace
