// The commands that open a geometry dialog on the antenna: search and
// replace, move, rotate, scale, stack, the text editors of the antenna
// definition and of the comment, and the ground media. Each dialog is made for one use,
// gets the window's font family, and a reported change runs the after-edit
// routine.
#include "app/MainWnd.h"
#include "app/Settings.h"
#include "editing/MediaDlgBox.h"
#include "editing/MoveDlgBox.h"
#include "editing/RotWireDlg.h"
#include "editing/StackDlgBox.h"
#include "editing/TextEditDlg.h"
#include "editing/ValRepDlg.h"
#include "editing/WireEditDlg.h"
#include "editing/WireScaleDlg.h"
#include "model/AntennaText.h"
#include "model/TableRows.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QPushButton>
#include <QSpinBox>
#include <memory>

namespace {

enum GeometryDialogTag { TagReplace = 23, TagMove = 24, TagWireDefinition = 25, TagRotate = 26, TagScale = 27 };

template <class Dialog>
void TakeFontFamily(Dialog& dialog, const QWidget& owner) {
    QFont font = dialog.font();
    font.setFamily(owner.font().family());
    dialog.setFont(font);
}

}  // namespace

void TMainWnd::ConnectGeometryDialogs() {
    for (QAction* a : {K27, KR1, KM1, KM2, K28, KT1, KT2, KT3, K33, KS4}) ConnectGuardedCommand(a, [this, a] { K7Click(a); });
    ConnectGuardedCommand(K37, [this] { K37Click(); });
    ConnectGuardedCommand(K30, [this] { K30Click(); });
    ConnectGuardedCommand(K34, [this] { K34Click(); });
    ConnectGuarded(DocBtn, &QPushButton::clicked, K34, [this] { K34->trigger(); });
    // The ground media change no antenna; the result is not needed.
    ConnectGuarded(GndSetBtn, &QPushButton::clicked, this, [this] {
        if (JobDef.Busy) return;
        TMediaDlgBox dialog(this);
        TakeFontFamily(dialog, *this);
        dialog.Execute();
    });
}

bool TMainWnd::RunGeometryDialog(int tag) {
    const int wire = SelWirSpEd->value();
    const int centre = RotationCentreCode();
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    int changed = 0;
    switch (tag) {
    case TagReplace: {
        TValRepDlg dialog(this);
        TakeFontFamily(dialog, *this);
        changed = dialog.Execute(Ant, Grid2->Row(), Grid2->Col());
        break;
    }
    case TagMove: {
        TMoveDlgBox dialog(this);
        TakeFontFamily(dialog, *this);
        changed = dialog.Execute(Ant, Grid2->Row(), Grid2->Col());
        break;
    }
    case TagWireDefinition: {
        TWireEditDlg dialog(this);
        TakeFontFamily(dialog, *this);
        changed = dialog.Execute(Ant.Wires, Grid2->Row() - 1, Ant.WireCount, Ant);
        break;
    }
    case TagRotate: {
        TRotWireDlg dialog(this, SettingsFilePath());
        TakeFontFamily(dialog, *this);
        changed = dialog.Execute(Ant);
        break;
    }
    case TagScale: {
        TWireScaleDlg dialog(this);
        TakeFontFamily(dialog, *this);
        changed = dialog.Execute(Ant);
        break;
    }
    default:
        return false;
    }
    if (changed) AntChanged();
    // Moving keeps the zoom; the other dialogs refit the view to the result.
    if (tag != TagMove) {
        FitView();
        ReapplyRotationCentre(wire, centre);
    }
    return true;
}

void TMainWnd::K37Click() {
    if (JobDef.Busy) return;
    const int wire = SelWirSpEd->value();
    const int centre = RotationCentreCode();
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    int result = 0;
    {
        TStackDlgBox dialog(this);
        TakeFontFamily(dialog, *this);
        result = dialog.Execute(&Ant);
    }
    std::vector<std::string> notes;
    if (result == StackNewAntenna) {
        // The calculation copy holds the stacked wires: it becomes the antenna,
        // with positions the antenna text can carry.
        AntChanged();
        if (CalcAnt != &Ant) Ant = *CalcAnt;
        Ant.nH = 1;
        Ant.nV = 1;
        notes = FitPositionsToField(Ant);
        Ant.StackCopies = 0;
        // Its positions stand placed against the copies' wires.
        Positions.Take(Ant);
    }
    if (result != 0) {
        AntChanged();
        AddLogLines(notes);
        AllViewBtnClick();
    }
    FitView();
    ReapplyRotationCentre(wire, centre);
}

void TMainWnd::K30Click() {
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    // The text is read back at the design frequency: its positions are
    // those of the same points there.
    SettlePositions();
    const auto shown = std::make_unique<AntDef>(Ant);
    const std::vector<std::string> placed = Positions.PlaceForText(*shown);
    std::string text = WriteAntennaText(*shown, EnvDef, Comment);
    int result = 0;
    {
        TTextEditDlg dialog(this, SettingsFilePath());
        // A text short of its records would load as another antenna.
        dialog.CheckText = [](const std::string& edited) {
            auto scratch = std::make_unique<AntDef>();
            EnvRec env = EnvDef;
            std::string comment;
            std::string faultyLine;
            if (ReadAntennaFile(edited, *scratch, env, comment, &faultyLine)) return std::string();
            const std::string invalid = "Invalid format of the antenna text: a record is missing or cut short, a "
                                        "count does not match its records, or a number does not read.";
            return faultyLine.empty() ? invalid : invalid + "\n" + faultyLine;
        };
        result = dialog.Execute(text);
    }
    if (!result || !ReadNewAntenna(text)) return;
    SetAntDef();
    Ant.Edited = 1;
    Ant.Changed = 1;
    RefreshAll();
    AddPositionLines(placed);
}

void TMainWnd::K34Click() {
    std::string text = Comment;
    int result = 0;
    {
        TTextEditDlg dialog(this, SettingsFilePath());
        TakeFontFamily(dialog, *this);
        result = dialog.Execute(text, CommentCaption);
    }
    if (!result) return;
    Comment = text;
    Ant.Changed = 1;
    DocBtn->setVisible(!Comment.empty());
}
