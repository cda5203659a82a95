#include "views/ResCmpDlg.h"
#include "platform/CommandGuard.h"

#include "model/EnvDef.h"
#include "model/FarFieldFile.h"
#include "model/MessageFormat.h"
#include "model/Messages.h"
#include "model/NumberText.h"
#include "model/ResultStore.h"
#include "model/ScopedValue.h"
#include "draw/PolarPlot.h"
#include "platform/Canvas.h"
#include "platform/FormLayout.h"
#include "platform/ColourChoice.h"
#include "platform/FormPattern.h"
#include "platform/FormWidgets.h"
#include "platform/Prompter.h"
#include "platform/RadioGroup.h"
#include "platform/StringGrid.h"
#include "platform/WindowBox.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

constexpr int DesignWidth = 780;
constexpr int DesignHeight = 540;
constexpr int ColumnWidths[ComparisonColumns] = {40, 63, 61, 61, 50, 49, 49, 49, 47, 63, 58, 51, 73, 277};
const char* const SettingsSection = "ResCmp";

}  // namespace

ComparisonPlot::ComparisonPlot(TResCmpDlg* owner) : QWidget(owner), owner_(owner) {
    setObjectName("PBox");
}

void ComparisonPlot::paintEvent(QPaintEvent*) {
    Canvas c(this);
    owner_->PaintPlots(c);
}

TResCmpDlg::TResCmpDlg(QWidget* owner, const QString& fontName) : QDialog(owner) {
    setObjectName("ResCmpDlg");
    setWindowTitle("Compare");
    resize(DesignWidth, DesignHeight);
    for (auto& slot : slots_) slot = std::make_unique<CResult>();

    PBox = new ComparisonPlot(this);
    PBox->setGeometry(0, 0, DesignWidth, 300);
    Grid = new StringGrid(this);
    Grid->setObjectName("Grid");
    Grid->setGeometry(0, 340, DesignWidth, 200);
    Grid->SetColCount(ComparisonColumns);
    Grid->SetRowCount(2);
    for (int i = 0; i < ComparisonColumns; ++i) Grid->SetColWidth(i, ColumnWidths[i]);
    Grid->CellText = [this](int col, int row) { return CellText(col, row); };
    Grid->CanEdit = [](int, int) { return false; };
    Grid->DrawCell = [this](QPainter& p, const QRect& rect, int col, int row, bool) {
        p.fillRect(rect, row == 0 ? palette().button() : palette().base());
        QColor ink = Qt::black;
        if (row > 0 && row <= count_ && palette_) ink = ToQColor(palette_[row - 1]);
        p.setPen(ink);
        p.drawText(rect.adjusted(4, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, CellText(col, row));
    };
    ConnectGuarded(Grid, &StringGrid::CellSelected, this, [this] { EnableButtons(); });

    WaveSel = new RadioGroup(this);
    WaveSel->setObjectName("WaveSel");
    WaveSel->setTitle("Field(s)");
    WaveSel->SetColumns(4);
    WaveSel->SetItems({"V", "H", "Total", "V+H"});
    WaveSel->SetItemIndex(2);
    WaveSel->setGeometry(8, 294, 260, 46);
    ConnectGuarded(WaveSel, &RadioGroup::Clicked, this, [this] { Repaint(); });

    LoadBtn = PlaceButton(this, "LoadBtn", "Load *.kvb file", 280, 306, 130);
    DelBtn = PlaceButton(this, "DelBtn", "Clear", 418, 306, 80);
    ColBtn = PlaceButton(this, "ColBtn", "Color", 506, 306, 80);
    OKBtn = PlaceButton(this, "OKBtn", "Return", 684, 306, 88);
    OKBtn->setDefault(true);
    ConnectGuarded(LoadBtn, &QPushButton::clicked, this, [this] { LoadBtnClick(); });
    ConnectGuarded(DelBtn, &QPushButton::clicked, this, [this] { DelBtnClick(); });
    ConnectGuarded(ColBtn, &QPushButton::clicked, this, [this] { ColBtnClick(); });
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    ApplyFormPattern(this, fontName, 1.0);
    SetupLayout();
    DelBtnClick();
    ChangeLanguage();
    // The design box scaled to the screen, like every form.
    const double scale = ScreenScale();
    RestoreWindowBox(*this, SettingsSection,
                     QRect(0, 0, static_cast<int>(DesignWidth * scale), static_cast<int>(DesignHeight * scale)));
}

TResCmpDlg::~TResCmpDlg() = default;

void TResCmpDlg::SetupLayout() {
    align_ = std::make_unique<CAlignList>();
    const QRect design(0, 0, DesignWidth, DesignHeight);
    for (QWidget* w : std::initializer_list<QWidget*>{PBox, Grid, WaveSel, LoadBtn, DelBtn, ColBtn, OKBtn})
        align_->AddRect(w, design, true);
    alignGrid_ = std::make_unique<CAlignGrid>();
    Grid->resize(DesignWidth, 200);
    alignGrid_->Save(Grid);
}

void TResCmpDlg::ChangeLanguage() {
    const auto lines = FormLanguageLines("ResCmpDlg", 6 + ComparisonWordCount);
    if (lines.size() < static_cast<std::size_t>(6 + ComparisonWordCount)) return;
    auto text = [&](int i) { return QString::fromStdString(lines[static_cast<std::size_t>(i)]); };
    setWindowTitle(text(0));
    OKBtn->setText(text(1));
    LoadBtn->setText(text(2));
    DelBtn->setText(text(3));
    ColBtn->setText(text(4));
    WaveSel->setTitle(text(5));
    for (int i = 0; i < ComparisonWordCount; ++i) SetComparisonWord(words_, i, lines[static_cast<std::size_t>(6 + i)]);
}

bool TResCmpDlg::Execute(uint32_t* palette, bool withLatest) {
    palette_ = palette;
    if (withLatest && slots_[0]->TakeLatest(Results)) {
        fileNames_[0] = words_[CwThis];
        count_ = 1;
        UpdateScale();
        Grid->SetRowCount(count_ + 1);
        EnableButtons();
    }
    return ShowModal(*this) == QDialog::Accepted;
}

bool TResCmpDlg::LoadResultFile(const std::string& fileName) {
    if (count_ >= ComparisonSlots) return false;
    // The file's antenna and environment are read into scratch records and
    // thrown away: loading changes nothing outside the dialog.
    FarFieldContents contents;
    contents.Ant = std::make_unique<AntDef>();
    contents.Env = TakeModelEnvFields(EnvDef);
    contents.Results = std::make_unique<CResult>();
    switch (OpenFarFieldFile(fileName, contents)) {
    case FarFieldStatus::Ok:
        break;
    case FarFieldStatus::CannotOpen:
    case FarFieldStatus::CannotSave:
        ErrorBox("File %s not found", fileName.c_str());
        return false;
    case FarFieldStatus::InvalidFormat:
        ErrorBox("%s", FormatMessageArg(MainMessages[MsgInvalidFormat], fileName).c_str());
        return false;
    }
    *slots_[static_cast<std::size_t>(count_)] = *contents.Results;
    fileNames_[static_cast<std::size_t>(count_)] = fileName;
    ++count_;
    return true;
}

void TResCmpDlg::LoadBtnClick() {
    if (count_ >= ComparisonSlots) return;
    FileDialogRequest request;
    request.caption = "View far fild";
    request.filter = "KORVA-TEZ FF file(*.kvb)";
    request.defaultSuffix = "kvb";
    request.folder = QFile::encodeName(ResultFolder).toStdString();
    const std::string chosen = CurrentPrompter().OpenFileName(request);
    if (chosen.empty()) return;
    for (int i = 0; i < count_; ++i)
        if (fileNames_[static_cast<std::size_t>(i)] == chosen) return;
    if (!LoadResultFile(chosen)) return;
    UpdateScale();
    Grid->SetRowCount(count_ + 1);
    EnableButtons();
    ResultFolder = QFileInfo(QFile::decodeName(chosen.c_str())).absolutePath();
    Repaint();
}

void TResCmpDlg::DelBtnClick() {
    count_ = 0;
    Grid->SetRowCount(2);
    EnableButtons();
    Repaint();
}

void TResCmpDlg::ColBtnClick() {
    const int r = Grid->Row();
    if (r < 1 || r > count_ || !palette_) return;
    const QColor chosen = ChooseColour(this, ToQColor(palette_[r - 1]));
    if (!chosen.isValid()) return;
    palette_[r - 1] = FromQColor(chosen);
    EnableButtons();
    Repaint();
}

void TResCmpDlg::EnableButtons() {
    DelBtn->setEnabled(count_ > 0);
    LoadBtn->setEnabled(count_ < ComparisonSlots);
    ColBtn->setEnabled(count_ > 0 && Grid->Row() != 0);
}

void TResCmpDlg::UpdateScale() {
    const CResult* used[ComparisonSlots];
    for (int i = 0; i < count_; ++i) used[i] = slots_[static_cast<std::size_t>(i)].get();
    referenceGain_ = ComparisonReferenceGain(used, count_, referenceGain_);
}

QString TResCmpDlg::CellText(int col, int row) const {
    if (col < 0 || col >= ComparisonColumns) return {};
    if (row == 0) return QString::fromStdString(words_[static_cast<std::size_t>(col)]);
    if (row > count_) return {};
    const auto i = static_cast<std::size_t>(row - 1);
    return QString::fromStdString(ComparisonCellText(*slots_[i], fileNames_[i], row, col, words_));
}

void TResCmpDlg::PaintPlots(Canvas& c) const {
    const int W = c.Width(), H = c.Height();
    const int azCx = W / 4, elCx = W - W / 4, cy = H / 2;
    // The axis letters of a large font stay inside the box.
    const int R = FittedPlotRadius(c, std::min(W / 4, H / 2) - 20, azCx, cy);
    plotParts_.clear();
    if (R <= 0) {
        c.FillRect(0, 0, W, H, ClWhite);
        return;
    }
    const PolarPlotBoxes boxes = DrawPolarPattern(c, azCx, cy, elCx, R);
    plotParts_ = {{"azimuth plot", boxes.Azimuth},
                  {"elevation plot", boxes.Elevation},
                  {"elevation axis letter", boxes.ElevationSideLetter}};
    // The common level is the 0 dB ring of every curve while they are drawn.
    const ScopedValue<double> level(PatternMaxGain, referenceGain_);
    c.SetFontColor(ClGray);
    // V+H draws both components of a result in its one colour.
    const int sel = WaveSel->ItemIndex();
    const int firstPol = sel == 3 ? 0 : std::clamp(sel, 0, 2);
    const int lastPol = sel == 3 ? 1 : firstPol;
    for (int i = 0; i < count_; ++i) {
        const CResult& slot = *slots_[static_cast<std::size_t>(i)];
        const int step = slot.AngleStep == 2 ? 2 : 1;
        const WinColor colour = palette_ ? palette_[i] : ClBlack;
        for (int pol = firstPol; pol <= lastPol; ++pol) {
            DrawPolarGrid(slot.AzCut[pol], step, c, azCx, cy, R, colour);
            DrawPolarGridElev(slot.ElevCut[pol], step, c, elCx, cy, R, colour);
        }
    }
    c.TextOut(elCx - R, H / 2 + 10, DblToStr2(referenceGain_) + "(dBi) = 0dB");
}

void TResCmpDlg::Repaint() {
    Grid->Invalidate();
    PBox->update();
}

void TResCmpDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!align_) return;
    ScaleFormFont(*this, DesignWidth, DesignHeight);
    align_->AlignAll(this);
    alignGrid_->Apply(Grid);
    PBox->update();
}

void TResCmpDlg::done(int result) {
    SaveWindowBox(*this, SettingsSection);
    QDialog::done(result);
}
