#pragma once
// What a tool that runs the engine at frequencies of its own (the sweep
// plots, the frequency table, the multiband list, the optimizer) leaves as
// it found it: the model's calculation frequency, the model prepared at that
// frequency, and the results store of the last calculation with its rows,
// far-field flag and pattern. The tool prepares the model through the
// keeper, which notes that the prepared model changed; Restore prepares the
// model at its own frequency again and only then puts the results back,
// since a preparation clears the far-field flag. No Qt here.
#include <memory>

#include "views/SweepHost.h"

class CResult;

// What a tool's runs add to the results of before.
enum class RunsLeave {
    Nothing,             // the store as it was
    SweepPoints,         // the points entered into the sweep table
    SweepPointsAndRows,  // those, and the rows the runs pushed into the ring;
                         // the newest row of before becomes the newest again
};

class ResultsKeeper {
public:
    ResultsKeeper(SweepHost host, RunsLeave leaves);
    ~ResultsKeeper();
    ResultsKeeper(const ResultsKeeper&) = delete;
    ResultsKeeper& operator=(const ResultsKeeper&) = delete;

    // The model prepared at f for one of the tool's runs.
    bool PrepareAt(double f);
    // True once the tool has prepared the model at a frequency of its own.
    bool Touched() const { return touched_; }
    double SavedFreq() const { return savedFreq_; }
    // Puts everything back; nothing was changed when the tool never
    // prepared the model.
    void Restore();

private:
    SweepHost host_;
    RunsLeave leaves_;
    std::unique_ptr<CResult> saved_;
    double savedFreq_ = 0;
    bool touched_ = false;
};
