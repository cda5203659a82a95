#include "editing/GrpWireDlg.h"
#include "platform/CommandGuard.h"

#include "editing/ElementDrawing.h"
#include "editing/ElementView.h"
#include "model/EnvDef.h"
#include "model/LanguageFile.h"
#include "model/LanguageState.h"
#include "model/NumberText.h"
#include "model/TaperSetTable.h"
#include "platform/FormLayout.h"
#include "platform/FormPattern.h"
#include "platform/FormWidgets.h"
#include "platform/Prompter.h"
#include "platform/WindowBox.h"
#include "platform/StringGrid.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <algorithm>
#include <cmath>

namespace {

constexpr int DesignWidth = 780;
constexpr int DesignHeight = 540;
constexpr int TabHeight = 26;
constexpr int ColumnWidths[ElementColumns] = {44, 80, 100, 100, 100, 100, 90, 80, 70};
const char* const SettingsSection = "EledPosition";

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TGrpWireDlg::TGrpWireDlg(QWidget* owner, const QString& fontName) : QDialog(owner) {
    setObjectName("GrpWireDlg");
    setWindowTitle("Elementes");
    resize(DesignWidth, DesignHeight);
    setSizeGripEnabled(true);
    BuildControls();
    BuildMenu();
    QFont f = font();
    if (!fontName.isEmpty()) f.setFamily(fontName);
    f.setPointSize(std::max(6, 10 + EnvDef.FontSize));
    setFont(f);
    SetupLayout();
    EleWidthAll->setChecked(JobDef.EleWidthAll != 0);
    EleWidthEdge->setChecked(JobDef.EleWidthAll == 0);
    Ant3D->setChecked(JobDef.Ant3D != 0);
    ChangeLanguage();
    const double scale = ScreenScale();
    const QSize design(static_cast<int>(DesignWidth * scale), static_cast<int>(DesignHeight * scale));
    RestoreWindowBox(*this, SettingsSection, QRect(QPoint(0, 0), design));
}

TGrpWireDlg::~TGrpWireDlg() = default;

void TGrpWireDlg::BuildControls() {
    Page = Place(new QTabBar(this), "Page", 0, 0, DesignWidth, TabHeight);
    Page->addTab("Parameters");
    Page->addTab("View");
    Page->setExpanding(false);
    
    Grid = Place(new StringGrid(this), "Grid", 0, TabHeight, DesignWidth, 414);
    Grid->SetColCount(ElementColumns);
    Grid->SetRowCount(2);
    Grid->SetNumericKeys(true);
    Grid->TakesPair = [](int col, int) { return col == ColSeg; };
    for (int c = 0; c < ElementColumns; ++c) Grid->SetColWidth(c, ColumnWidths[c]);
    Grid->CellText = [this](int col, int row) { return Text(table_.CellText(col, row)); };
    Grid->CanEdit = [this](int col, int row) {
        if (pickMode_) return false;
        if (col == ColForm && row >= 1 && row <= table_.Count() + 1) {
            Grid->PopupAtCell(PopupMenu, col, row);
            return false;
        }
        return table_.CanEdit(col, row);
    };
    Grid->SetEditText = [this](int col, int row, const QString& text) { TakeCell(col, row, text); };
    Grid->DrawCell = [this](QPainter& p, const QRect& rect, int col, int row, bool current) {
        // In pick mode the focused cell shows as selected even without the focus.
        const bool selected = current || (pickMode_ && Grid->currentIndex().isValid() && row == Grid->Row() &&
                                          col == Grid->Col());
        const QPalette& pal = Grid->palette();
        p.fillRect(rect, selected ? pal.highlight() : pal.base());
        QColor ink = selected ? pal.highlightedText().color() : QColor(Qt::black);
        const int n = row - 1;
        if (col == ColPos && n < table_.Count() && table_.IsBase(n)) ink = Qt::red;
        QString text = Text(table_.CellText(col, row));
        if (pickMode_ && n < table_.Count() && table_.IsVariableCell(pickVars_, col, n)) text += '*';
        p.setPen(ink);
        p.drawText(rect.adjusted(1, 1, -1, -1), Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    ConnectGuarded(Grid, &StringGrid::CellSelected, this, [this](int col, int row) { CellSelected(col, row); });

    PBox = new ElementView(this);
    PBox->setGeometry(0, TabHeight, DesignWidth, 376);
    Label2 = PlaceLabel(this, "Label2", "Zoom", 8, 412, 50, 22);
    TBarSC = PlaceSlider(this, "TBarSC", 1, 150, 75, 60, 410, 300, 26);
    AllViewBtn = PlaceButton(this, "AllViewBtn", "Centered X=0,Y=0,Z=0", 376, 408, 200, 28);
    OrgBtn = PlaceButton(this, "OrgBtn", "Centered antenna", 376, 408, 200, 28);
    PwidtCB = PlaceCheck(this, "PwidtCB", "Pen width x2", 592, 411, 180, 22);
    Ant3D = PlaceCheck(this, "Ant3D", "3D view", 592, 411, 120, 22);
    OrgBtn->hide();
    Ant3D->hide();
    ConnectGuarded(TBarSC, &QSlider::valueChanged, PBox, qOverload<>(&QWidget::update));
    ConnectGuarded(PwidtCB, &QCheckBox::clicked, PBox, qOverload<>(&QWidget::update));
    ConnectGuarded(AllViewBtn, &QPushButton::clicked, this, [this] { Centre(); });
    ConnectGuarded(OrgBtn, &QPushButton::clicked, this, [this] { Centre(); });
    ConnectGuarded(Ant3D, &QCheckBox::clicked, this, [this](bool on) { JobDef.Ant3D = on ? 1 : 0; });

    EleWidthEdge = Place(new QRadioButton("Change only end points", this), "EleWidthEdge", 8, 448, 300, 22);
    EleWidthAll =
        Place(new QRadioButton("Change all coordinates proportionaly", this), "EleWidthAll", 8, 474, 300, 22);
    ChkIntval = PlaceCheck(this, "ChkIntval", "off - distance from first element, on - space between wires", 316, 448,
                           460, 22);
    ChkRmd = PlaceCheck(this, "ChkRmd", "lambda", 316, 474, 160, 22);
    ConnectGuarded(ChkIntval, &QCheckBox::clicked, this, [this](bool on) {
        JobDef.IntPos = on ? 1 : 0;
        GridChanged();
    });
    ConnectGuarded(ChkRmd, &QCheckBox::clicked, this, [this](bool on) {
        JobDef.InWavelengths = on ? 1 : 0;
        GridChanged();
    });
    ConnectGuarded(EleWidthAll, &QRadioButton::toggled, this, [this](bool on) {
        table_.Proportional = on;
        UpdateMenu();
    });

    OKBtn = PlaceButton(this, "OKBtn", "OK", 584, 502, 90, 30);
    CancelBtn = PlaceButton(this, "CancelBtn", "Cancel", 682, 502, 90, 30);
    OKBtn->setDefault(true);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, [this] {
        if (Grid->EditorMode()) Grid->CloseEditor();
        // Two equal elements in one place would be one wire twice.
        if ((table_.State & 1) && ReportDuplicates()) return;
        accept();
    });
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ConnectGuarded(Page, &QTabBar::currentChanged, this, [this] {
        const bool view = ViewTabActive();
        Grid->setVisible(!view);
        for (QWidget* w : std::initializer_list<QWidget*>{PBox, Label2, TBarSC, AllViewBtn, PwidtCB})
            w->setVisible(view);
        UpdateMenu();
    });
    for (QWidget* w : std::initializer_list<QWidget*>{PBox, Label2, TBarSC, AllViewBtn, PwidtCB}) w->hide();
}

void TGrpWireDlg::BuildMenu() {
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName("PopupMenu");
    auto item = [this](QMenu* menu, const char* name, const char* text, QKeySequence key = {}) {
        QAction* a = menu->addAction(QString::fromLatin1(text));
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            Grid->addAction(a);
        }
        return a;
    };
    K2 = item(PopupMenu, "K2", "Del", QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    K3 = item(PopupMenu, "K3", "Add", QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    K4 = item(PopupMenu, "K4", "Calculator", QKeySequence(Qt::CTRL | Qt::Key_C));
    PopupMenu->addSeparator();
    K14 = item(PopupMenu, "K14", "Print this table");
    KCSV1 = item(PopupMenu, "KCSV1", "Save this table as file");
    K9 = PopupMenu->addMenu("Round value");
    K9->setObjectName("K9");
    for (int digits = 2; digits <= 4; ++digits) {
        const char* names[] = {"K10", "K11", "K12"};
        const std::string caption = std::to_string(digits) + " digits after point";
        QAction* a = item(K9, names[digits - 2], caption.c_str());
        a->setProperty("tag", digits);
        ConnectGuarded(a, &QAction::triggered, this, [this, digits] { RoundValues(digits); });
    }
    K13 = item(PopupMenu, "K13", "Search ang Replace", QKeySequence(Qt::CTRL | Qt::Key_R));
    PopupMenu->addSeparator();
    K6 = item(PopupMenu, "K6", "Taper wire set");
    K1 = PopupMenu->addMenu("Change of element form");
    K1->setObjectName("K1");
    K1->menuAction()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    const char* formItems[13][2] = {{"KS1", "Line parallel axis Y"},
                                    {"KS2", "Line parallel axis Z"},
                                    {"KS3", "Quad perpendicular axis X"},
                                    {"KS4", "Rhomb perpendicular axis X"},
                                    {"KS5", "Triangle 1 perpendicular axis X"},
                                    {"KS6", "Triangle 2 perpendicular axis X"},
                                    {"K5", "Octaedr perpendicular axis X"},
                                    {"K7", "Two quads perpendicular axis X"},
                                    {"K8", "Two triangles perpendicular axis X"},
                                    {"KS7", "Quad perpendicular axis Z"},
                                    {"KS8", "Rhomb perpendicular axis Z"},
                                    {"KS9", "Triangle 1 perpendicular axis Z"},
                                    {"KS10", "Triangle 2 perpendicular axis Z"}};
    for (int tag = 1; tag <= 13; ++tag) {
        QAction* a = item(K1, formItems[tag - 1][0], formItems[tag - 1][1]);
        a->setProperty("tag", tag);
        if (tag == 13) a->setVisible(false);
        ConnectGuarded(a, &QAction::triggered, this, [this, tag] { ChangeForm(tag); });
    }
    ConnectGuarded(K2, &QAction::triggered, this, [this] { DeleteElement(); });
    ConnectGuarded(K3, &QAction::triggered, this, [this] { AddElement(); });
    ConnectGuarded(K4, &QAction::triggered, this, [this] {
        if (OpenCalculator) OpenCalculator();
    });
    ConnectGuarded(K14, &QAction::triggered, this, [this] { PrintTable(); });
    ConnectGuarded(KCSV1, &QAction::triggered, this, [this] { SaveCsv(); });
    ConnectGuarded(K13, &QAction::triggered, this, [this] { ReplaceValue(); });
    ConnectGuarded(K6, &QAction::triggered, this, [this] { EditTaperSets(); });
    ConnectGuarded(PopupMenu, &QMenu::aboutToShow, this, [this] { UpdateMenu(); });
    Grid->SetPopupMenu(PopupMenu);
}

void TGrpWireDlg::SetupLayout() {
    align_ = std::make_unique<CAlignList>();
    const QRect design(0, 0, DesignWidth, DesignHeight);
    for (QWidget* w : std::initializer_list<QWidget*>{Page, Grid, PBox, TBarSC, AllViewBtn, OrgBtn, Label2, ChkRmd,
                                                      ChkIntval, Ant3D, EleWidthAll, EleWidthEdge, PwidtCB, OKBtn,
                                                      CancelBtn})
        align_->AddRect(w, design, w != TBarSC);
    alignGrid_ = std::make_unique<CAlignGrid>();
    alignGrid_->Save(Grid);
}

void TGrpWireDlg::ChangeLanguage() {
    static const char* const controls[] = {"Page:0", "Page:1", "Label2", "AllViewBtn", "OrgBtn", "PwidtCB",
                                           "EleWidthEdge", "EleWidthAll", "ChkIntval", "ChkRmd", "OKBtn",
                                           "CancelBtn", "K2", "K3", "K4", "K14", "KCSV1", "K9", "K10", "K11",
                                           "K12", "K13", "K6", "K1", "KS1", "KS2", "KS3", "KS4", "KS5", "KS6",
                                           "K5", "K7", "K8", "KS7", "KS8", "KS9"};
    constexpr int count = static_cast<int>(std::size(controls));
    const std::vector<std::string> lines = FormLanguageLines("GrpWireDlg", count + 2);
    if (lines.size() >= static_cast<std::size_t>(count + 2)) {
        setWindowTitle(Text(lines[0]));
        for (int i = 0; i < count; ++i) {
            const QString text = Text(lines[static_cast<std::size_t>(i + 1)]);
            const QString name = QString::fromLatin1(controls[i]);
            if (name.startsWith("Page:")) {
                Page->setTabText(name.mid(5).toInt(), text);
            } else if (auto* b = findChild<QAbstractButton*>(name)) {
                b->setText(text);
            } else if (auto* l = findChild<QLabel*>(name)) {
                l->setText(text);
            } else if (auto* m = findChild<QMenu*>(name)) {
                m->setTitle(text);
            } else if (auto* a = findChild<QAction*>(name)) {
                a->setText(text);
            }
        }
        table_.Words.Next = lines[static_cast<std::size_t>(count + 1)];
    }
    if (!LanguageIsActive()) return;
    std::vector<std::string> words;
    std::string error;
    // A file without the section keeps the English texts.
    if (FindMessageSection(LanguageText, "MessagGrpWire_Dlg", ElementWordLines, words, error))
        ApplyElementTableWords(table_.Words, words);
}

bool TGrpWireDlg::Prepare(AntDef& ant) {
    ant_ = &ant;
    {
        const QSignalBlocker a(ChkRmd), b(ChkIntval);
        ChkRmd->setChecked(JobDef.InWavelengths != 0);
        ChkIntval->setChecked(JobDef.IntPos != 0);
    }
    const QString name = DisplayQString(std::string_view(ant.Name, strnlen(ant.Name, sizeof ant.Name)));
    if (!name.isEmpty()) setWindowTitle(name);
    // An antenna the table cannot hold whole is not shown: a write-back
    // would lose the wires left out.
    if (!table_.Build(ant)) {
        ErrorBox("The antenna has more than %d separate elements; the element table cannot show it.", MaxElements);
        return false;
    }
    table_.Proportional = EleWidthAll->isChecked();
    SelWire = -1;
    PanX = PanY = 0.0;
    RenewRows();
    if (!ViewTabActive()) Grid->setFocus();
    UpdateMenu();
    return true;
}

int TGrpWireDlg::Execute(AntDef& ant) {
    if (!Prepare(ant)) return GrpWireNoChange;
    for (;;) {
        const int result = ShowModal(*this);
        JobDef.InWavelengths = ChkRmd->isChecked() ? 1 : 0;
        JobDef.EleWidthAll = EleWidthAll->isChecked() ? 1 : 0;
        const int taper = (table_.State & 2) ? GrpWireTaperOnly : GrpWireNoChange;
        if (!(table_.State & 1)) return taper;
        if (result == QDialog::Accepted) break;
        if (YesNoBox("%s", table_.Words.Messages[MsgSaveChanges].c_str()) != BoxYes) return taper;
        if (!ReportDuplicates()) break;
    }
    table_.WriteBack(&Notes);
    return GrpWireWritten;
}

bool TGrpWireDlg::SelectVariable(int& element, int& kind, AntDef& ant, const ElementVariables* vars) {
    pickMode_ = true;
    pickVars_ = vars;
    const int savedWavelengths = JobDef.InWavelengths;
    JobDef.InWavelengths = 0;
    ChkRmd->setEnabled(false);
    Page->setTabText(0, "Parameters");
    Page->setTabText(1, "View");
    if (!Prepare(ant)) {
        JobDef.InWavelengths = savedWavelengths;
        return false;
    }
    if (element >= 0 && kind >= 0 && element < table_.Count()) {
        // Kinds 6..8 are the proportional variants of width, height and length.
        const int col = kind == ElPos ? ColPos : kind > ElPos ? kind - ElPos + ColPos : kind + ColPos;
        Grid->SetCurrentCell(std::clamp(col, static_cast<int>(ColPos), static_cast<int>(ColRadius)), element + 1);
    } else if (element >= 0 && kind < 0 && element < table_.Groups().WireCount) {
        SelWire = element;
    }
    Grid->setFocus();
    UpdateMenu();
    const int result = ShowModal(*this);
    JobDef.InWavelengths = savedWavelengths;
    JobDef.EleWidthAll = EleWidthAll->isChecked() ? 1 : 0;
    if (result != QDialog::Accepted) return false;
    if (ViewTabActive()) {
        if (SelWire < 0) return false;
        element = SelWire;
        kind = -1;
        return true;
    }
    int e = -1, k = -1;
    if (!table_.PickChoice(pickVars_, Grid->Col(), Grid->Row(), e, k)) return false;
    element = e;
    kind = k;
    return true;
}

bool TGrpWireDlg::ViewTabActive() const { return Page->currentIndex() == 1; }

bool TGrpWireDlg::ValidPickCell() const {
    int e = -1, k = -1;
    return table_.PickChoice(pickVars_, Grid->Col(), Grid->Row(), e, k);
}

void TGrpWireDlg::UpdateMenu() {
    // The popup and the shortcuts belong to the grid: they act only while it has the focus.
    const bool editing = !pickMode_;
    const int n = Grid->Row() - 1;
    K2->setEnabled(editing && n >= 0 && n < table_.Count() && !table_.IsBase(n));
    K3->setEnabled(editing && !table_.Full());
    K1->setEnabled(editing);
    K9->setEnabled(editing);
    K13->setEnabled(editing && Grid->Col() >= ColPos && Grid->Col() <= ColSeg);
    K14->setEnabled(table_.Count() > 0);
    KCSV1->setEnabled(table_.Count() > 0);
    K6->setEnabled(!pickMode_);
    K4->setEnabled(static_cast<bool>(OpenCalculator));
    if (pickMode_) OKBtn->setEnabled(ViewTabActive() ? SelWire >= 0 : ValidPickCell());
    if (ViewTabActive()) PBox->update();
}

bool TGrpWireDlg::PickWireAt(int x, int y) {
    const int wire = PickElementWire(table_.Groups(), PBox->Transform(), x, y);
    if (wire < 0) return false;
    SelWire = wire;
    return true;
}

void TGrpWireDlg::RenewRows() {
    Grid->SetRowCount(table_.RowCount());
    table_.CurrentRow = Grid->Row();
    Grid->Invalidate();
}

void TGrpWireDlg::GridChanged() {
    RenewRows();
    PBox->update();
}

void TGrpWireDlg::CellSelected(int, int row) {
    table_.CurrentRow = row;
    if (!pickMode_ && row >= 1 && row <= table_.Count()) {
        const CWGroup& g = table_.Groups().Groups[row - 1];
        if (g.Count() > 0) SelWire = g.Members[0].Wire;
    }
    UpdateMenu();
    Grid->Invalidate();
}

void TGrpWireDlg::ReportRefusedCell(CellEdit result, int col, const QString& text) {
    const std::string typed = text.toStdString();
    switch (result) {
    case CellEdit::NotANumber:
        ErrorBox("'%s' is not a valid value; nothing was changed.", typed.c_str());
        break;
    case CellEdit::TooSmall:
        if (col == ColPos)
            ErrorBox("A position or gap must not be negative; %s was not taken.", typed.c_str());
        else if (JobDef.InWavelengths)
            ErrorBox("A width, height or length must be at least %s m (%s wavelengths); %s was not taken.",
                     DblToStr(MinElementSize).c_str(), DblToStr(MetreToWave(MinElementSize)).c_str(), typed.c_str());
        else
            ErrorBox("A width, height or length must be at least %s; %s was not taken.", DblToStr(MinElementSize).c_str(),
                     typed.c_str());
        break;
    case CellEdit::TooLarge:
        ErrorBox("A value of the table must be at most %.0f m; %s was not taken.", ElementValueLimit, typed.c_str());
        break;
    case CellEdit::LikeTaperKey:
        ErrorBox("%s %s was not taken.", TaperRadiusLimitText, typed.c_str());
        break;
    case CellEdit::TableFull:
        ErrorBox("The table holds at most %d elements.", MaxElements);
        break;
    default:
        break;
    }
}

void TGrpWireDlg::TakeCell(int col, int row, const QString& text) {
    const CellEdit result = table_.SetCell(col, row, text.toUtf8().toStdString());
    if (result == CellEdit::Taken)
        GridChanged();
    else
        ReportRefusedCell(result, col, text);
}

void TGrpWireDlg::Centre() {
    PanX = PanY = 0.0;
    TBarSC->setValue(TBarSC->maximum() / 2);
    PBox->update();
}

bool TGrpWireDlg::ReportDuplicates() {
    int a = 0, b = 0;
    if (!table_.FindDuplicates(a, b)) return false;
    InfoBox("%s", SameElementsText(table_.Words.Messages[MsgSameElements], a, b).c_str());
    return true;
}

void TGrpWireDlg::DeleteElement() {
    if (pickMode_ || !table_.DeleteRow(Grid->Row())) return;
    SelWire = -1;
    GridChanged();
    UpdateMenu();
}

void TGrpWireDlg::AddElement() {
    if (pickMode_ || !table_.AddRow(Grid->Row())) return;
    GridChanged();
    UpdateMenu();
}

void TGrpWireDlg::ChangeForm(int tag) {
    if (pickMode_ || !table_.ChangeFormRow(Grid->Row(), tag)) return;
    SelWire = -1;
    GridChanged();
    UpdateMenu();
}

void TGrpWireDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!align_ || !shown_) return;
    align_->AlignAll(this);
    alignGrid_->Apply(Grid);
    PBox->FitScale();
    PBox->update();
}

void TGrpWireDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    align_->AlignAll(this);
    alignGrid_->Apply(Grid);
    PBox->FitScale();
}

void TGrpWireDlg::done(int result) {
    SaveWindowBox(*this, SettingsSection);
    QDialog::done(result);
}
