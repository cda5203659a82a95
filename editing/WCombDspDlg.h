#pragma once
// "Table of real length/R for tapering wire": the pieces into which one
// tapered wire is cut by its set, with their ends, radii and lengths.
#include "model/AntDef.h"

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class StringGrid;

class TWCombDspDlg : public QDialog {
    Q_OBJECT
public:
    explicit TWCombDspDlg(QWidget* owner, const QString& fontName = {});
    // Shows the pieces of `wire` (numbered `wireNumber` for the user). Changes nothing.
    void Execute(const AntDef& ant, const TaperSet& set, const WireRec& wire, int wireNumber);

    int PieceCount() const { return static_cast<int>(pieces_.size()); }
    QString CellText(int col, int row) const;

    StringGrid* Grid = nullptr;
    QLabel* LStat = nullptr;
    QPushButton* OKBtn = nullptr;

private:
    std::vector<WireRec> pieces_;
};
