#include "model/AntennaSnapshot.h"

#include "model/AntDef.h"
#include "model/AntennaText.h"

#include <memory>
#include <utility>

void RestoreAntennaText(AntDef& ant, EnvRec& env, std::string& comment, std::string_view text) {
    // The record is large: the fresh one lives on the heap.
    auto fresh = std::make_unique<AntDef>();  // value-initialized: all zero
    fresh->nH = 1;
    fresh->nV = 1;
    std::string freshComment;
    ParseAntennaText(*fresh, env, text, freshComment);
    ant = *fresh;
    comment = std::move(freshComment);
}
