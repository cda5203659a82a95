#pragma once
// A heap antenna with the default segmentation settings at a 20 m
// wavelength, the English messages, and a captured log and notice list.
#include "engine/EngineState.h"
#include "engine/WireExpansion.h"
#include "model/Messages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

class Expansion : public ::testing::Test {
protected:
    void SetUp() override {
        ApplyDefaultMessages();
        ant = std::make_unique<AntDef>();
        ant->Wavelength = 20.0;
        SetDefaultSegmentation(*ant);
        SetEngineLog(&log);
        SetEngineNotice([this](const std::string& s) { notices.push_back(s); });
        JobDef.Interactive = 1;
        EnvDef.AntHeight = 0;
    }
    void TearDown() override {
        JobDef.Interactive = 0;
        SetEngineLog(nullptr);
        SetEngineNotice(nullptr);
        EnvDef.AntHeight = 0;
    }

    // Appends a wire and returns its index.
    int AddWire(Point3D a, Point3D b, double r, int seg) {
        WireRec& w = ant->Wires[ant->WireCount];
        w = WireRec{a.X, a.Y, a.Z, b.X, b.Y, b.Z, r, seg, 0, 0, 0};
        return ant->WireCount++;
    }
    int AddWireAlongX(double length, int seg, double r = 0.001) { return AddWire({0, 0, 0}, {length, 0, 0}, r, seg); }

    std::vector<int> PieceSegs() const {
        std::vector<int> segs;
        for (int i = 0; i < ant->ExpWireCount; ++i) segs.push_back(ant->ExpWires[i].Segs);
        return segs;
    }

    // The pieces of one wire run end to end without a gap (exactly equal
    // joints), start at end 1, end exactly at end 2 and add up to its length.
    void ExpectCoversWire(int wireIndex) const {
        const WireRec& w = ant->Wires[wireIndex];
        double sum = 0;
        const ExpWireRec* prev = nullptr;
        for (int i = 0; i < ant->ExpWireCount; ++i) {
            const ExpWireRec& p = ant->ExpWires[i];
            if (p.UserWire != wireIndex) continue;
            if (!prev) {
                EXPECT_EQ(p.X1, w.X1);
                EXPECT_EQ(p.Y1, w.Y1);
                EXPECT_EQ(p.Z1, w.Z1);
            } else {
                EXPECT_EQ(p.X1, prev->X2) << "gap before piece " << i;
                EXPECT_EQ(p.Y1, prev->Y2);
                EXPECT_EQ(p.Z1, prev->Z2);
            }
            EXPECT_GE(p.Segs, 1);
            sum += std::sqrt((p.X2 - p.X1) * (p.X2 - p.X1) + (p.Y2 - p.Y1) * (p.Y2 - p.Y1) +
                             (p.Z2 - p.Z1) * (p.Z2 - p.Z1));
            prev = &p;
        }
        ASSERT_NE(prev, nullptr);
        EXPECT_EQ(prev->X2, w.X2);
        EXPECT_EQ(prev->Y2, w.Y2);
        EXPECT_EQ(prev->Z2, w.Z2);
        EXPECT_NEAR(sum, WireLength(w), 1e-9 * WireLength(w));
    }

    std::unique_ptr<AntDef> ant;
    std::vector<std::string> log;
    std::vector<std::string> notices;
};
