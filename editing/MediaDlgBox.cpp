#include "editing/MediaDlgBox.h"
#include "platform/CommandGuard.h"

#include "editing/GroundMedia.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/KeyFilter.h"
#include "platform/ShownNumber.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <cmath>
#include <cstdio>

namespace {

const char* const LinearHeads[5] = {"No.", "Dielec.", "Conduct(mS/m)", "X (m)", "Height(m)"};
const char* const RadialHeads[5] = {"No.", "Dielec.", "Conduct(mS/m)", "R (m)", "Height(m)"};

}  // namespace

TMediaDlgBox::TMediaDlgBox(QWidget* owner) : QDialog(owner) {
    setObjectName("MediaDlgBox");
    SetupEditForm(*this, "Real ground setup", 560, 420);
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(10, 6, 540, 250);
    Grid = new StringGrid(GroupBox1);
    Grid->setObjectName("Grid");
    Grid->setGeometry(8, 20, 524, 220);
    Grid->SetColCount(5);
    Grid->SetNumericKeys(true);
    for (int c = 0; c < 5; ++c) Grid->SetColWidth(c, c == 0 ? 60 : 110);
    Grid->CellText = [this](int col, int row) { return GetCellText(col, row); };
    Grid->SetEditText = [this](int col, int row, const QString& text) {
        if (SetMediaCell(Env, col, row, text.trimmed().toUtf8().toStdString())) ResizeGrid();
    };
    Grid->CanEdit = [](int col, int row) { return col >= 1 && row >= 1; };
    GridPopup = new QMenu(this);
    K1 = GridPopup->addAction("Delete");
    K1->setObjectName("K1");
    K1->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    K2 = GridPopup->addAction("Add");
    K2->setObjectName("K2");
    K2->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    for (QAction* a : {K1, K2}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        Grid->addAction(a);
    }
    Grid->SetPopupMenu(GridPopup);
    ConnectGuarded(K1, &QAction::triggered, this, &TMediaDlgBox::K1Click);
    ConnectGuarded(K2, &QAction::triggered, this, &TMediaDlgBox::K2Click);
    ConnectGuarded(GridPopup, &QMenu::aboutToShow, this, &TMediaDlgBox::UpdateControls);
    ConnectGuarded(Grid, &QTableView::clicked, this, [this] {
        Env.Height[0] = 0.0;
        UpdateControls();
    });

    GScrFlag = new QCheckBox("on- radial boundary (R), off-linear b oundary (X )", this);
    GScrFlag->setObjectName("GScrFlag");
    GScrFlag->setGeometry(10, 262, 540, 22);
    ConnectGuarded(GScrFlag, &QCheckBox::clicked, this, &TMediaDlgBox::GScrFlagClick);
    GroupBox2 = new QGroupBox("Additional wire radials", this);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setToolTip("Lenght of radials = radius of 1'st media");
    GroupBox2->setGeometry(10, 290, 540, 70);
    Label1 = new QLabel("Number ", GroupBox2);
    Label1->setObjectName("Label1");
    Label1->setGeometry(10, 30, 70, 20);
    RadCnt = new QLineEdit(GroupBox2);
    RadCnt->setObjectName("RadCnt");
    RadCnt->setGeometry(85, 28, 70, 24);
    Label3 = new QLabel("Radius of wiire", GroupBox2);
    Label3->setObjectName("Label3");
    Label3->setGeometry(180, 30, 130, 20);
    RadR = new QLineEdit(GroupBox2);
    RadR->setObjectName("RadR");
    RadR->setGeometry(315, 28, 90, 24);
    InstallCommaToPoint(RadR);
    Label4 = new QLabel("mm", GroupBox2);
    Label4->setObjectName("Label4");
    Label4->setGeometry(410, 30, 40, 20);
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(170, 375, 90, 30);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(300, 375, 90, 30);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    FinishEditForm(*this, "MediaDlgBox",
                   {"OKBtn", "CancelBtn", "GroupBox1", "GScrFlag", "GroupBox2", "Label1", "Label3", "Label4", "K1", "K2"});
}

QString TMediaDlgBox::GetCellText(int col, int row) {
    if (col < 0 || col > 4) return {};
    if (row == 0) return (GScrFlag->isChecked() ? RadialHeads : LinearHeads)[col];
    return QString::fromStdString(MediaCellText(Env, col, row));
}

void TMediaDlgBox::ResizeGrid() {
    Grid->SetRowCount(std::clamp(Env.MediaMax, 0, MaxMedia) + 2);
    Grid->Invalidate();
}

void TMediaDlgBox::UpdateControls() {
    const bool radial = GScrFlag->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(RadCnt), static_cast<QWidget*>(RadR), static_cast<QWidget*>(Label1),
                       static_cast<QWidget*>(Label3)})
        w->setEnabled(radial);
    const QWidget* focus = QApplication::focusWidget();
    const bool gridActive = focus && (focus == Grid || Grid->isAncestorOf(focus));
    K1->setEnabled(gridActive);
    K2->setEnabled(gridActive);
}

void TMediaDlgBox::GScrFlagClick() {
    UpdateControls();
    Grid->Invalidate();
}

void TMediaDlgBox::K1Click() {
    if (DeleteMedium(Env, Grid->Row())) ResizeGrid();
}

void TMediaDlgBox::K2Click() {
    if (InsertMedium(Env, Grid->Row())) ResizeGrid();
}

int TMediaDlgBox::Execute() {
    Env = EnvDef;
    Env.MediaMax = std::clamp(Env.MediaMax, 0, MaxMedia);
    GScrFlag->setChecked(Env.MediaType != 0);
    RadCnt->setText(QString::number(static_cast<unsigned>(Env.RadialCount)));
    ShowNumber(RadR, Env.RadialRadius, QString::fromStdString(DblToStr(MetreToMm(Env.RadialRadius))));
    ResizeGrid();
    UpdateControls();
    if (ShowModal(*this) != QDialog::Accepted) return 0;
    Grid->CloseEditor();
    Env.MediaType = GScrFlag->isChecked() ? 1 : 0;
    int count = 0;
    StrToAbsIntExpr(count, FieldText(RadCnt));
    Env.RadialCount = count;
    ReadNumberField(RadR, Env.RadialRadius, [](double mm) { return MmToMetre(mm); });
    EnvDef = Env;
    return 1;
}
