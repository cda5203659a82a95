#pragma once
// The multiband impedance list: the feed impedance only (no currents, no
// far field) at evenly spaced frequencies of chosen bands, as the lines of a
// *.nwl text. Points the sweep table holds of this antenna are listed
// without a run. The
// caller's pump runs once after each engine run; clearing `Running` there
// stops the list at the next test. Afterwards the results store and the
// prepared model are as before the list. No Qt here.
#include <functional>
#include <string>
#include <vector>

#include "model/FreqTableRange.h"
#include "model/SweepTable.h"
#include "views/SweepHost.h"

class ResultsKeeper;

struct BandItem {
    std::string Text;   // "start - end", MHz
    bool Checked = false;
};

// Start before the first blank, end after the last one; both positive and
// start <= end.
bool ParseBandText(const std::string& text, double& start, double& end);

// The frequencies a band lists with `points` points, under the frequency
// table's rules (model/FreqTableRange); a text that does not read is Invalid.
FreqRangeStatus ReadBandRange(const std::string& text, int points, FreqTableRange& range);

class MultibandList {
public:
    MultibandList(SweepHost host, std::function<void()> pump) : host_(std::move(host)), pump_(std::move(pump)) {}

    bool Running = false;
    std::function<void()> OnLine;   // a line was added (may be empty)

    // Every checked band with `points` points each (or, with none checked,
    // the calculation frequency alone); the list lines go to `lines`. A band
    // that ReadBandRange refuses gets its head line and no points.
    void ComputeBands(const std::vector<BandItem>& bands, int points, std::vector<std::string>& lines);

private:
    bool ComputePoint(ResultsKeeper& keeper, SweepDot& point);
    bool sweepBelongs_ = false;  // the sweep table's points are of the antenna listed
    void ComputeEachBand(ResultsKeeper& keeper, const std::vector<BandItem>& bands, int points,
                         std::vector<std::string>& lines);
    void SweepBand(ResultsKeeper& keeper, const std::vector<double>& frequencies, std::vector<std::string>& lines);
    void Add(std::vector<std::string>& lines, std::string line);
    SweepHost host_;
    std::function<void()> pump_;
};
