#pragma once
// Lookup and normalisation of the antenna's tapered wire sets.
#include "model/AntDef.h"

// Length that stands for "the rest of the wire" in the last section of a set.
constexpr double TaperRestLength = 99999.9;
// Radius a first section of radius 0 takes.
constexpr double TaperDefaultRadius = 0.0008;

// The first set in use whose key equals the radius exactly; nullptr for none.
const TaperSet* FindTaperSet(const AntDef& ant, double radius);

// What a file whose keys and radii a save would not tell apart is refused with.
constexpr const char* TaperKeyLimitText =
    "Two taper set keys, or a key and a wire radius, differ only in digits that a file does not keep.";

// What a typed wire radius that TaperRadiusReadsBack refuses is refused with;
// each field adds the value it did not take.
constexpr const char* TaperRadiusLimitText =
    "A wire radius must not differ from a taper set key only in digits that a file does not keep.";

// Whether the antenna text keeps which set a key stands for: what a save
// writes for the key reads back as no other set's key (unless equal to it)
// and as no wire's radius that differs from it, so that no wire changes its
// set over a save. `set` is the index of the key's own set, skipped among
// the others.
bool TaperKeyReadsBack(const AntDef& ant, int set, double key);

// The same for a wire's radius: it reads back as no key that differs from it.
bool TaperRadiusReadsBack(const AntDef& ant, double radius);

// Every set's key, and so every wire's radius, reads back as the same set.
bool TaperKeysReadBack(const AntDef& ant);

// Ends the list at the first set with key 0; gives every used set a last
// section of TaperRestLength and every used section a non-zero radius.
void NormalizeTaperSets(AntDef& ant);
