#include "optimizer/ACalResDlg.h"
#include "platform/CommandGuard.h"

#include "draw/PolarPlot.h"
#include "model/EnvDef.h"
#include "model/ResultOrigin.h"
#include "model/NumberText.h"
#include "model/ScopedValue.h"
#include "platform/Canvas.h"
#include "platform/FormLayout.h"
#include "platform/FormPattern.h"
#include "platform/KeyFilter.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"
#include "platform/WindowBox.h"

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <cfloat>
#include <cmath>

namespace {

constexpr int DesignWidth = 640;
constexpr int DesignHeight = 500;
const char* const SettingsSection = "ResDld";

QString Q(const std::string& s) { return QString::fromStdString(s); }

double KeyOf(const ACalLogEntry& e, int key) {
    switch (key) {
    case SortJX: return std::fabs(e.JX);
    case SortSWR: return e.SWR;
    case SortGain: return e.Ga;
    case SortFB: return e.FB;
    case SortElev: return e.Elev;
    default: return e.Score;
    }
}

bool Descending(int key) { return key == SortScore || key == SortGain || key == SortFB; }

class PatternBox : public QWidget {
public:
    explicit PatternBox(TACalResDlg* owner) : QWidget(owner), owner_(owner) { setObjectName("PBox"); }

protected:
    void paintEvent(QPaintEvent*) override {
        Canvas c(this);
        owner_->DrawDN(c);
    }

private:
    TACalResDlg* owner_;
};

}  // namespace

void SortLogEntries(std::vector<ACalLogEntry>& e, int key) {
    const int n = static_cast<int>(e.size());
    const bool down = Descending(key);
    for (int gap = n / 2; gap > 0; gap /= 2)
        for (int i = gap; i < n; ++i)
            for (int j = i - gap; j >= 0; j -= gap) {
                const double a = KeyOf(e[j], key), b = KeyOf(e[j + gap], key);
                if (down ? !(a < b) : !(a > b)) break;
                std::swap(e[j], e[j + gap]);
            }
}

TACalResDlg::TACalResDlg(QWidget* owner, const QString& fontName) : QDialog(owner) {
    setObjectName("ACalResDlg");
    setWindowTitle("Optimization log");
    resize(DesignWidth, DesignHeight);
    CalCond = new QLabel(this);
    CalCond->setObjectName("CalCond");
    CalCond->setGeometry(8, 4, 624, 22);
    LabelOrder = new QLabel("Order", this);
    LabelOrder->setObjectName("Order");
    LabelOrder->setGeometry(8, 32, 70, 24);
    SortSel = new QComboBox(this);
    SortSel->setObjectName("SortSel");
    SortSel->addItems({"Evalution val.", "jX", "SWR", "Gain", "F/B", "Elev."});
    SortSel->setGeometry(80, 30, 170, 26);
    // The order is chosen from the list only.
    InstallTypedKeyDiscard(SortSel);
    ConnectGuarded(SortSel, &QComboBox::activated, this, [this] { SortSelChange(); });
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(440, 28, 90, 30);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(542, 28, 90, 30);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    PBox = new PatternBox(this);
    PBox->setGeometry(8, 64, 624, 240);
    Grid = new StringGrid(this);
    Grid->setObjectName("Grid");
    Grid->setGeometry(8, 310, 624, 182);
    Grid->SetColCount(7);
    Grid->SetRowCount(1);
    const int widths[7] = {40, 130, 60, 70, 70, 60, 90};
    for (int i = 0; i < 7; ++i) Grid->SetColWidth(i, widths[i]);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->CellText = [this](int c, int r) { return GetCellText(c, r); };
    Grid->CanEdit = [](int, int) { return false; };
    // The patterns follow the selected point; a current cell the grid takes
    // with the focus selects none.
    ConnectGuarded(Grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        SelectRow(SelectedLine());
        PBox->update();
    });

    ApplyFormPattern(this, fontName, 1.0);
    align_ = std::make_unique<CAlignList>();
    const QRect design(0, 0, DesignWidth, DesignHeight);
    for (QWidget* w : std::initializer_list<QWidget*>{CalCond, LabelOrder, SortSel, OKBtn, CancelBtn, PBox, Grid})
        align_->AddRect(w, design, true);
    alignGrid_ = std::make_unique<CAlignGrid>();
    alignGrid_->Save(Grid);
    ChangeLanguage();
    const double scale = ScreenScale();
    // A saved box larger than the screen is fitted to it and centred.
    RestoreWindowBox(*this, SettingsSection,
                     QRect(0, 0, static_cast<int>(DesignWidth * scale), static_cast<int>(DesignHeight * scale)));
}

TACalResDlg::~TACalResDlg() = default;

std::vector<std::string> TACalResDlg::HeldLanguageTexts() const {
    std::vector<std::string> texts{question_};
    texts.insert(texts.end(), heads_.begin(), heads_.end());
    return texts;
}

void TACalResDlg::ChangeLanguage() {
    const auto lines = FormLanguageLines("ACalResDlg", 10);
    if (lines.size() >= 10) {
        setWindowTitle(Q(lines[0]));
        LabelOrder->setText(Q(lines[1]));
        OKBtn->setText(Q(lines[2]));
        CancelBtn->setText(Q(lines[3]));
        for (int i = 0; i < 6; ++i) SortSel->setItemText(i, Q(lines[static_cast<std::size_t>(4 + i)]));
    }
    const auto texts = FormLanguageLines("ACalRes_Dlg", 10);
    if (texts.size() >= 8) {
        question_ = texts[0];
        for (std::size_t i = 0; i < heads_.size(); ++i) heads_[i] = texts[1 + i];
    }
}

bool TACalResDlg::Execute(CACal* cal, std::optional<uint64_t> state) {
    cal_ = cal;
    state_ = state;
    if (!cal_) return false;
    entries_.clear();
    for (int n = 0; n < cal_->LogCount; ++n) {
        ACalLogEntry e;
        cal_->GetLogEntry(e, n);
        entries_.push_back(e);
    }
    Grid->SetRowCount(static_cast<int>(entries_.size()) + 1);
    CalCond->setText(Q(cal_->GoalText()));
    // A simple sweep shows each variable's value instead of the score.
    Grid->SetColCount(!cal_->GoalsOn && cal_->RowCount() >= 2 ? 6 + cal_->RowCount() : 7);
    SortLogEntries(entries_, SortScore);
    const int current = FindCurrentRow();
    ShowRow(current);
    SelectRow(current + 1);
    if (ShowModal(*this) != QDialog::Accepted) return false;
    const int line = SelectedLine();
    if (line < 1 || line > static_cast<int>(entries_.size())) return false;
    const ACalLogEntry& chosen = entries_[static_cast<std::size_t>(line - 1)];
    for (int i = 0; i < cal_->RowCount(); ++i) cal_->SetValue(i, chosen.Values[i]);
    cal_->Groups().WriteBack();
    return true;
}

QString TACalResDlg::GetCellText(int col, int row) const {
    if (row == 0) {
        // A simple sweep heads each variable's column: V1, V2, ...
        if (col >= 6 && cal_ && !cal_->GoalsOn) return QString("V%1").arg(col - 5);
        return col < 7 ? Q(heads_[static_cast<std::size_t>(col)]) : QString();
    }
    if (row < 1 || row > static_cast<int>(entries_.size()) || !cal_) return {};
    const ACalLogEntry& e = entries_[static_cast<std::size_t>(row - 1)];
    switch (col) {
    case 0: return QString::number(row);
    case 1: return Q(DblToStr1(e.R)) + (e.JX < 0 ? " - j" : " + j") + Q(DblToStr2(std::fabs(e.JX)));
    case 2: return Q(DblToStr2(e.SWR));
    case 3: return Q(DblToStr2(e.Ga));
    case 4: return Q(DblToStr2(e.FB));
    case 5: return Q(DblToStr1(e.Elev));
    default:
        if (cal_->GoalsOn) return col == 6 && cal_->BestScore != 0 ? Q(DblToStr(e.Score / cal_->BestScore)) : QString();
        if (col - 6 < cal_->RowCount()) return Q(DblToStr(e.Values[col - 6]));
        return {};
    }
}

int TACalResDlg::FindCurrentRow() const {
    if (!state_) return -1;
    for (std::size_t n = 0; n < entries_.size(); ++n)
        if (OfState(entries_[n].Origin, *state_)) return static_cast<int>(n);
    return -1;
}

int TACalResDlg::SelectedLine() const {
    const QModelIndexList rows = Grid->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void TACalResDlg::ShowRow(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    Grid->SetRow(index + 1);
    Grid->scrollTo(Grid->model()->index(index + 1, 0), QAbstractItemView::PositionAtCenter);
}

void TACalResDlg::SelectRow(int line) {
    patternShown_ = line >= 1 && line <= static_cast<int>(entries_.size());
    if (!patternShown_) return;
    const ACalLogEntry& e = entries_[static_cast<std::size_t>(line - 1)];
    reference_ = e.Ga;
    for (int k = 0; k < LogAzSamples; ++k) az_[k] = static_cast<float>(e.AzPattern[k] / 256.0);
    for (int k = 0; k < LogElSamples; ++k) el_[k] = static_cast<float>(e.ElPattern[k] / 256.0);
}

void TACalResDlg::SortSelChange() {
    SortLogEntries(entries_, std::max(0, SortSel->currentIndex()));
    SelectRow(SelectedLine());
    ShowRow(FindCurrentRow());
    Grid->Invalidate();
    PBox->update();
}

void TACalResDlg::OKBtnClick() {
    const int line = SelectedLine();
    if (line < 1 || line > static_cast<int>(entries_.size())) return;
    if (YesNoBox("%s", question_.c_str()) == BoxYes) accept();
}

void TACalResDlg::DrawDN(Canvas& c) const {
    const int W = c.Width(), H = c.Height();
    const int R = FittedPlotRadius(c, std::min(W / 4, H / 2) - 20, W / 4, H / 2);
    c.FillRect(0, 0, W, H, ClWhite);
    if (R <= 0) return;
    DrawPolarPattern(c, W / 4, H / 2, 3 * W / 4, R);
    if (!patternShown_) return;
    // The selected point's gain is the 0 dB ring while its curves are drawn.
    {
        const ScopedValue<double> level(PatternMaxGain, reference_);
        DrawPolarGrid(az_, 2, c, W / 4, H / 2, R, ClRed);
        DrawPolarGridElev(el_, 2, c, 3 * W / 4, H / 2, R, ClRed);
    }
    c.SetFontPixelHeight(std::max(8, H / 30));
    c.SetTextTransparent(true);
    c.SetFontColor(ClBlack);
    c.TextOut(W / 4 - R, H / 2 + 10, DblToStr2(reference_) + "(dBi) = 0dB");
}

void TACalResDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!align_) return;
    ScaleFormFont(*this, DesignWidth, DesignHeight);
    align_->AlignAll(this);
    alignGrid_->Apply(Grid);
    PBox->update();
}

void TACalResDlg::done(int result) {
    SaveWindowBox(*this, SettingsSection);
    QDialog::done(result);
}
