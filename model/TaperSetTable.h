#pragma once
// Lookup and normalisation of the antenna's tapered wire sets.
#include "model/AntDef.h"

// Length that stands for "the rest of the wire" in the last section of a set.
constexpr double TaperRestLength = 99999.9;
// Radius a first section of radius 0 takes.
constexpr double TaperDefaultRadius = 0.0008;

// The first set in use whose key equals the radius exactly; nullptr for none.
const TaperSet* FindTaperSet(const AntDef& ant, double radius);

// Ends the list at the first set with key 0; gives every used set a last
// section of TaperRestLength and every used section a non-zero radius.
void NormalizeTaperSets(AntDef& ant);
