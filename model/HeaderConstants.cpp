#include "model/HeaderConstants.h"

#include <cmath>

const double Cos30 = std::cos(30.0 * DegToRad);
const double Tan15 = std::tan(15.0 * DegToRad);
const double Sin15 = std::sin(15.0 * DegToRad);
const double Cos15 = std::cos(15.0 * DegToRad);
const double Tan22_5 = std::tan(22.5 * DegToRad);
const double Sin22_5 = std::sin(22.5 * DegToRad);
const double Cos22_5 = std::cos(22.5 * DegToRad);
