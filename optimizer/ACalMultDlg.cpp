#include "optimizer/ACalMultDlg.h"
#include "platform/CommandGuard.h"

#include "model/CheckedFormat.h"
#include "model/Messages.h"
#include "model/NumberText.h"
#include "optimizer/BandRules.h"
#include "optimizer/OptimizerState.h"
#include "platform/FormPattern.h"
#include "platform/StringGrid.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

constexpr int Columns = 2 + 3 * BandSources;

QString Q(const std::string& s) { return QString::fromStdString(s); }

// One cell's text into the band by the rules of its column; false when the
// text is refused and the band unchanged.
bool SetBandCell(ACalBandRec& band, int col, const std::string& text) {
    double v = 0;
    if (col == 1) {
        if (!StrToDblExpr(v, text) || !BandFrequencyAccepted(v)) return false;
        band.Freq = v;
        return true;
    }
    SourceRec& s = band.Sources[(col - 2) / 3];
    switch ((col - 2) % 3) {
    case 0: {
        const bool wasEmpty = s.Pos[0] == 0;
        if (!SetBandPosition(s.Pos, text)) return false;
        // A source begun by its position feeds 1 V until its voltage is
        // typed: a band source of no voltage is no source the log takes.
        if (wasEmpty && s.Pos[0] != 0 && !BandVoltageAccepted(s.Voltage)) s.Voltage = 1;
        return true;
    }
    case 1:
        if (!StrToDblExpr(v, text) || !BandPhaseAccepted(v)) return false;
        s.Phase = v;
        return true;
    default:
        if (!StrToDblExpr(v, text) || !BandVoltageAccepted(v)) return false;
        s.Voltage = v;
        return true;
    }
}

}  // namespace

TACalMultDlg::TACalMultDlg(QWidget* owner, const QString& fontName) : QDialog(owner) {
    setObjectName("ACalMultDlg");
    setWindowTitle("Band setting");
    resize(790, 320);
    Grid = new StringGrid(this);
    Grid->setObjectName("Grid");
    Grid->setGeometry(8, 8, 774, 258);
    Grid->SetColCount(Columns);
    Grid->SetRowCount(3);
    Grid->SetNumericKeys(true);
    Grid->CellText = [this](int c, int r) { return GetCellText(c, r); };
    Grid->CanEdit = [](int c, int r) { return c >= 1 && r >= 1; };
    Grid->SetEditText = [this](int c, int r, const QString& t) { GridSetEditText(c, r, t); };

    CheckPriority = new QCheckBox("Give priority to No 1", this);
    CheckPriority->setObjectName("CheckBox1");
    CheckPriority->setGeometry(8, 278, 300, 26);
    DelBtn = new QPushButton("Del", this);
    DelBtn->setObjectName("DelBtn");
    DelBtn->setGeometry(590, 276, 90, 30);
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(690, 276, 90, 30);
    OKBtn->setDefault(true);
    ConnectGuarded(DelBtn, &QPushButton::clicked, this, [this] { DelBtnClick(); });
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    Grid->SetDefaultRowHeight(24);
    Grid->SetColWidth(0, 40);
    Grid->SetColWidth(1, 76);
    for (int k = 0; k < BandSources; ++k) {
        Grid->SetColWidth(2 + 3 * k, 60);
        Grid->SetColWidth(3 + 3 * k, 50);
        Grid->SetColWidth(4 + 3 * k, 50);
    }
    ApplyFormPattern(this, fontName, ScreenScale());
    ChangeLanguage();
}

void TACalMultDlg::ChangeLanguage() {
    const auto lines = FormLanguageLines("ACalMultDlg", 9);
    if (lines.size() < 9) return;
    setWindowTitle(Q(lines[0]));
    OKBtn->setText(Q(lines[1]));
    DelBtn->setText(Q(lines[2]));
    CheckPriority->setText(Q(lines[3]));
    for (std::size_t i = 0; i < heads_.size(); ++i) heads_[i] = lines[4 + i];
}

int TACalMultDlg::Execute(CACal* cal) {
    cal_ = cal;
    if (!cal_) return QDialog::Rejected;
    UpdateRows();
    CheckPriority->setChecked(cal_->PriorityFirst != 0);
    const int result = ShowModal(*this);
    cal_->PriorityFirst = CheckPriority->isChecked() ? 1 : 0;
    return result;
}

void TACalMultDlg::UpdateRows() {
    DelBtn->setEnabled(cal_ && cal_->BandCount >= 2);
    Grid->SetRowCount((cal_ ? cal_->BandCount : 1) + 2);
    Grid->Invalidate();
}

QString TACalMultDlg::GetCellText(int col, int row) const {
    if (col < 0 || col >= Columns) return {};
    if (row == 0) {
        if (col < 2) return Q(heads_[static_cast<std::size_t>(col)]);
        // A translated heading may carry the source number.
        const std::string& head = heads_[static_cast<std::size_t>(2 + (col - 2) % 3)];
        const int source = (col - 2) / 3 + 1;
        return FormatMatchesKinds(head.c_str(), "i") ? Q(FormatInCLocale(head.c_str(), source)) : Q(head);
    }
    if (!cal_) return {};
    if (row == cal_->BandCount + 1 && col == 0) return QString::fromLatin1(EmptyRowText);
    if (row > cal_->BandCount) return {};
    const ACalBandRec& band = cal_->Bands[row - 1];
    if (col == 0) return QString::number(row);
    if (col == 1) return Q(DblToStr(band.Freq));
    const SourceRec& s = band.Sources[(col - 2) / 3];
    const int part = (col - 2) % 3;
    if (part == 0) return QString::fromLatin1(s.Pos);
    if (s.Pos[0] == 0) return {};
    return Q(DblToStr(part == 1 ? s.Phase : s.Voltage));
}

void TACalMultDlg::EnsureBand(int b) {
    if (b >= cal_->BandCount && b < MaxBands) {
        cal_->Bands[cal_->BandCount] = cal_->Bands[cal_->BandCount - 1];
        ++cal_->BandCount;
    }
}

void TACalMultDlg::GridSetEditText(int col, int row, const QString& qtext) {
    if (!cal_ || col < 1 || col >= Columns || row < 1) return;
    const int b = row - 1;
    // Only the bands and the one empty row after them take edits.
    if (b > cal_->BandCount || b >= MaxBands) return;
    // The empty row's band begins as a copy of the band before it.
    const bool added = b == cal_->BandCount;
    ACalBandRec band = cal_->Bands[added ? b - 1 : b];
    if (!SetBandCell(band, col, qtext.toStdString())) return;
    // The band must hold what the optimization log reads back. A band added
    // begins as a copy of the one before, and band 1 may hold the antenna's
    // own frequency and sources, which no other band may.
    if (!NormalizeBand(band, b).empty()) return;
    EnsureBand(b);
    cal_->Bands[b] = band;
    UpdateRows();
}

void TACalMultDlg::DelBtnClick() {
    const int b = Grid->Row() - 1;
    if (!cal_ || b < 0 || b >= cal_->BandCount || cal_->BandCount < 2) return;
    for (int i = b; i < cal_->BandCount - 1; ++i) cal_->Bands[i] = cal_->Bands[i + 1];
    cal_->Bands[cal_->BandCount - 1] = ACalBandRec{};
    --cal_->BandCount;
    UpdateRows();
}
