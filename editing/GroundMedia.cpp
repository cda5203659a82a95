#include "editing/GroundMedia.h"

#include "model/NumberText.h"

#include <algorithm>

namespace {

int MediaCount(const EnvRec& env) { return std::clamp(env.MediaMax, 0, MaxMedia); }

void ClearMedium(EnvRec& env, int i) {
    env.Dieleciric[i] = env.Conductivity[i] = env.Coord[i] = env.Height[i] = 0.0;
}

}  // namespace

std::string MediaCellText(EnvRec& env, int col, int row) {
    env.Height[0] = 0.0;
    const int i = row - 1;
    const int count = MediaCount(env);
    if (i < 0 || i >= MaxMedia) return {};
    if (col == 0) return i >= count ? "next" : std::to_string(i + 1);
    if (i >= count) return {};
    switch (col) {
    case 1: return DblToStr(env.Dieleciric[i]);
    case 2: return DblToStr(env.Conductivity[i] * 1000.0);
    case 3: return DblToStr(env.Coord[i]);
    case 4: return i == 0 ? std::string() : DblToStr(env.Height[i]);
    default: return {};
    }
}

bool SetMediaCell(EnvRec& env, int col, int row, const std::string& text) {
    const int i = row - 1;
    const int count = MediaCount(env);
    // The record holds 15 media: the "next" row after them takes nothing.
    if (col < 1 || col > 4 || i < 0 || i > count || i >= MaxMedia) return false;
    double v = 0.0;
    const MediumValue which[4] = {MediumValue::Dielectric, MediumValue::Conductivity, MediumValue::Coord,
                                  MediumValue::Height};
    const bool parsed = StrToDblExpr(v, text) && MediumValueInRange(which[col - 1], col == 2 ? v * 0.001 : v);
    if (col <= 2) {
        if (!parsed) return false;
        (col == 1 ? env.Dieleciric[i] : env.Conductivity[i]) = col == 1 ? v : v * 0.001;
    } else {
        double& field = col == 3 ? env.Coord[i] : env.Height[i];
        if (!text.empty()) {
            if (!parsed) return false;
            field = v;
        } else if (i >= count - 1) {
            field = 0.0;
        } else {
            return false;
        }
    }
    ExtendMedia(env, i);
    env.Height[0] = 0.0;
    return true;
}

void ExtendMedia(EnvRec& env, int i) {
    env.MediaMax = MediaCount(env);
    if (i < env.MediaMax || env.MediaMax >= MaxMedia) return;
    ++env.MediaMax;
    if (env.MediaMax < MaxMedia) {
        const int next = env.MediaMax;
        env.Coord[next] = 0.0;
        env.Height[next] = 0.0;
        env.Dieleciric[next] = env.Dieleciric[0];
        env.Conductivity[next] = env.Conductivity[0];
    }
}

bool DeleteMedium(EnvRec& env, int row) {
    const int count = MediaCount(env);
    if (row < 1 || row > count) return false;
    for (int i = row - 1; i < count - 1; ++i) {
        env.Dieleciric[i] = env.Dieleciric[i + 1];
        env.Conductivity[i] = env.Conductivity[i + 1];
        env.Coord[i] = env.Coord[i + 1];
        env.Height[i] = env.Height[i + 1];
    }
    ClearMedium(env, count - 1);
    env.MediaMax = count - 1;
    env.Height[0] = 0.0;
    return true;
}

bool InsertMedium(EnvRec& env, int row) {
    const int count = MediaCount(env);
    if (row < 1 || row > count || count >= MaxMedia - 1) return false;
    for (int i = count; i >= row; --i) {
        env.Dieleciric[i] = env.Dieleciric[i - 1];
        env.Conductivity[i] = env.Conductivity[i - 1];
        env.Coord[i] = env.Coord[i - 1];
        env.Height[i] = env.Height[i - 1];
    }
    ClearMedium(env, row - 1);
    env.MediaMax = count + 1;
    env.Height[0] = 0.0;
    return true;
}
