#pragma once
// The frequency table: impedance, SWR (optionally behind the L network
// matched at one frequency), gain and F/B at evenly spaced frequencies as CSV.
// Frequencies the sweep table holds are reused; new results are entered into
// it. No Qt here.
#include <string>

#include "model/SweepTable.h"
#include "views/SweepHost.h"

// The rows are those of MakeFreqTableRange; a range it refuses writes none.
struct FreqTableRequest {
    double Fmin = 0;       // MHz
    double Fmax = 0;
    double Step = 0;       // MHz
    double MatchFreq = 0;  // MHz; 0 = no match
    bool MatchIntoSweep = false;  // the match record also becomes the sweep's match point
};

// SWR of a point as the table writes it.
double TableSwr(const SweepDot& match, const SweepDot& point);
// The whole CSV text; the model's frequency and the latest results are put
// back afterwards. A frequency that cannot be prepared or calculated ends the
// table there and is given in `failedAt` (0 when the table is complete).
std::string BuildFreqTable(const SweepHost& host, const FreqTableRequest& request, double* failedAt = nullptr);
