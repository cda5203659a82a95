#pragma once
// "Optimization log": the points of the last run kept in the log ring,
// sorted by a chosen key, the horizontal and vertical total-gain patterns of
// the selected point, and, when the user confirms, that point's variable
// values put into the antenna.
#include <QDialog>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "optimizer/OptimizerState.h"

class CAlignGrid;
class CAlignList;
class Canvas;
class QComboBox;
class QLabel;
class QPushButton;
class StringGrid;

enum LogSortKey { SortScore = 0, SortJX, SortSWR, SortGain, SortFB, SortElev };
// Shell sort that keeps equal keys in their order.
void SortLogEntries(std::vector<ACalLogEntry>& entries, int key);

class TACalResDlg : public QDialog {
    Q_OBJECT
public:
    explicit TACalResDlg(QWidget* owner, const QString& fontName = {});
    ~TACalResDlg() override;

    // True when the user confirmed a point; its values are then in the
    // antenna. `state` is the antenna's as the next Start would compute it,
    // none when it cannot tell.
    bool Execute(CACal* cal, std::optional<uint64_t> state = std::nullopt);
    void SortSelChange();
    void SelectRow(int line);
    void OKBtnClick();
    // The first entry, in the current order, computed from the antenna's
    // state; -1 while the antenna is none of the logged points (edited
    // since, or a log of another antenna), which then selects none.
    int FindCurrentRow() const;
    // The grid line of the selected point, 0 for none.
    int SelectedLine() const;
    void ShowRow(int index);
    QString GetCellText(int col, int row) const;
    void DrawDN(Canvas& c) const;
    const std::vector<ACalLogEntry>& Entries() const { return entries_; }

    QLabel *CalCond = nullptr, *LabelOrder = nullptr;
    QComboBox* SortSel = nullptr;
    QWidget* PBox = nullptr;
    StringGrid* Grid = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;

    // The texts of its language sections that no control holds (the question
    // and the column heads), in no particular order.
    std::vector<std::string> HeldLanguageTexts() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    void ChangeLanguage();

    CACal* cal_ = nullptr;
    std::optional<uint64_t> state_;
    std::vector<ACalLogEntry> entries_;
    bool patternShown_ = false;  // the patterns of a point are drawn
    float az_[LogAzSamples] = {};
    float el_[LogElSamples] = {};
    double reference_ = 0;
    std::string question_ = "Apply the values of this point to the antenna?";
    std::vector<std::string> heads_{"No.", "Z (Ohm)", "SWR", "Ga(dBi)", "F/B(dB)", "Elev.", "Evaluation"};
    std::unique_ptr<CAlignList> align_;
    std::unique_ptr<CAlignGrid> alignGrid_;
};
