#pragma once
// The "Compare" dialog: up to ten results (the latest calculation and
// far-field files) with their azimuth and elevation patterns over each other
// against one 0 dB level, and their key figures in a grid, one row each.
// Nothing loaded outlives the dialog; the colours are the caller's palette.
#include "draw/PanelPart.h"
#include "views/ComparisonCells.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CResult;
class CAlignList;
class CAlignGrid;
class QPushButton;
class RadioGroup;
class StringGrid;

class ComparisonPlot;

class TResCmpDlg : public QDialog {
    Q_OBJECT
public:
    explicit TResCmpDlg(QWidget* owner, const QString& fontName = {});
    ~TResCmpDlg() override;

    // True when the dialog closes with "Return". The latest calculation
    // takes the first slot only when `withLatest` says its results belong to
    // the antenna shown.
    bool Execute(uint32_t* palette, bool withLatest);
    bool LoadResultFile(const std::string& fileName);
    void LoadBtnClick();
    void DelBtnClick();
    void ColBtnClick();
    void EnableButtons();
    void UpdateScale();

    int Count() const { return count_; }
    const CResult& Slot(int i) const { return *slots_[static_cast<std::size_t>(i)]; }
    const std::string& SlotFileName(int i) const { return fileNames_[static_cast<std::size_t>(i)]; }
    double ReferenceGain() const { return referenceGain_; }
    const ComparisonWords& Words() const { return words_; }
    // The text of a grid cell as it is drawn.
    QString CellText(int col, int row) const;
    // The plots as they are painted, for a picture or a test.
    void PaintPlots(class Canvas& c) const;
    // Where the last painting put the two plots with their letters.
    const std::vector<PanelPart>& PlotParts() const { return plotParts_; }

    QString ResultFolder;  // initial folder of the open dialog; follows loads

    ComparisonPlot* PBox = nullptr;
    StringGrid* Grid = nullptr;
    QPushButton *OKBtn = nullptr, *LoadBtn = nullptr, *DelBtn = nullptr, *ColBtn = nullptr;
    RadioGroup* WaveSel = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    void SetupLayout();
    void ChangeLanguage();
    void Repaint();

    std::array<std::unique_ptr<CResult>, ComparisonSlots> slots_;
    std::array<std::string, ComparisonSlots> fileNames_;
    int count_ = 0;
    uint32_t* palette_ = nullptr;
    double referenceGain_ = 0.0;
    ComparisonWords words_ = DefaultComparisonWords();
    std::unique_ptr<CAlignList> align_;
    std::unique_ptr<CAlignGrid> alignGrid_;
    mutable std::vector<PanelPart> plotParts_;
};

// The paint box of the plots.
class ComparisonPlot : public QWidget {
    Q_OBJECT
public:
    explicit ComparisonPlot(TResCmpDlg* owner);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TResCmpDlg* owner_;
};
