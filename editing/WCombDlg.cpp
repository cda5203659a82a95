#include "editing/WCombDlg.h"
#include "platform/CommandGuard.h"

#include "editing/EditForm.h"
#include "editing/TaperSetGrid.h"
#include "model/TaperSetTable.h"
#include "model/AntDef.h"
#include "platform/FormPattern.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"

#include <QMenu>
#include <QPushButton>
#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr int DesignWidth = 760, DesignHeight = 330;

const char* const TypeItems[4] = {"<> Tapering from  center to both ends (segment. = -1 recomended)",
                                  "-> Tapering from end 1 to end 2 (segment. = -1 recomended)",
                                  "<> * Tapering from center to both ends (segment. = 0 linear)",
                                  "-> * Tapering from end 1 to end 2 (segment.=  0 linear)"};

}  // namespace

TWCombDlg::TWCombDlg(QWidget* owner, const QString& fontName) : QDialog(owner) {
    setObjectName("WCombDlg");
    SetupEditForm(*this, "Taper wire set", DesignWidth, DesignHeight);
    if (!fontName.isEmpty()) {
        QFont f = font();
        f.setFamily(fontName);
        setFont(f);
    }
    Grid = new StringGrid(this);
    Grid->setObjectName("Grid");
    Grid->setGeometry(8, 8, DesignWidth - 16, DesignHeight - 60);
    Grid->SetColCount(TaperGridColumns);
    Grid->SetNumericKeys(true);
    Grid->CellText = [this](int col, int row) {
        return ant_ ? QString::fromStdString(TaperCellText(*ant_, col, row)) : QString();
    };
    Grid->CanEdit = [this](int col, int row) {
        if (!ant_) return false;
        if (col == 2 && row >= 1 && row <= ant_->TaperSetCount + 1) {
            Grid->PopupAtCell(PopupType, col, row);
            return false;
        }
        return TaperCellEditable(*ant_, col, row);
    };
    Grid->SetEditText = [this](int col, int row, const QString& text) { TakeCell(col, row, text); };

    PopupType = new QMenu(this);
    PopupType->setObjectName("PopupType");
    for (int tag = 0; tag < 4; ++tag) {
        QAction* a = PopupType->addAction(QString::fromLatin1(TypeItems[tag]));
        a->setObjectName(QString("PopupType%1").arg(tag));
        a->setProperty("tag", tag);
        ConnectGuarded(a, &QAction::triggered, this, [this, tag] { ChooseType(tag); });
    }
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(DesignWidth - 200, DesignHeight - 42, 90, 30);
    OKBtn->setDefault(true);
    DelBtn = new QPushButton("Del", this);
    DelBtn->setObjectName("DelBtn");
    DelBtn->setGeometry(DesignWidth - 100, DesignHeight - 42, 90, 30);
    DelBtn->setAutoDefault(false);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, [this] {
        Grid->CloseEditor();
        accept();
    });
    ConnectGuarded(DelBtn, &QPushButton::clicked, this, [this] { DelBtnClick(); });

    Grid->SetColWidth(0, 36);
    for (int c = 1; c < TaperGridColumns; ++c) Grid->SetColWidth(c, 64);
    Grid->SetDefaultRowHeight(21);
    FinishEditForm(*this, "WCombDlg", {"OKBtn", "DelBtn"});
    const std::vector<std::string> lines = FormLanguageLines("WCombDlg", 7);
    if (lines.size() >= 7)
        for (int tag = 0; tag < 4; ++tag)
            PopupType->actions()[tag]->setText(QString::fromStdString(lines[static_cast<std::size_t>(3 + tag)]));
}

void TWCombDlg::Renew() {
    Grid->SetRowCount(std::clamp(ant_->TaperSetCount, 0, MaxTaperSets) + 2);
    Grid->Invalidate();
}

void TWCombDlg::TakeCell(int col, int row, const QString& text) {
    switch (SetTaperCell(*ant_, col, row, text.toUtf8().toStdString())) {
    case TaperEdit::Taken: Renew(); break;
    case TaperEdit::NotANumber:
        ErrorBox("'%s' is not a valid value; nothing was changed.", text.toUtf8().constData());
        break;
    case TaperEdit::OutOfRange:
        ErrorBox("%s", col >= 3 && (col - 3) % 2 == 0
                           ? "A section length must not be negative or huge; nothing was changed."
                           : "A radius must not be 0 or huge; nothing was changed.");
        break;
    case TaperEdit::LikeOtherKey:
        ErrorBox("%s Nothing was changed.", TaperKeyLimitText);
        break;
    case TaperEdit::NotEditable: break;
    }
}

void TWCombDlg::ChooseType(int type) {
    if (ant_ && SetTaperType(*ant_, Grid->Row(), type)) Renew();
}

void TWCombDlg::DelBtnClick() {
    if (ant_ && DeleteTaperSet(*ant_, Grid->Row())) Renew();
    Grid->setFocus();
}

bool TWCombDlg::Execute(AntDef& ant) {
    ant_ = &ant;
    const int count = ant.TaperSetCount;
    auto before = std::make_unique<TaperSet[]>(MaxTaperSets);
    std::memcpy(before.get(), ant.TaperSets, sizeof ant.TaperSets);
    Renew();
    Grid->setFocus();
    const bool ok = ShowModal(*this) == QDialog::Accepted;
    const bool changed = count != ant.TaperSetCount || std::memcmp(before.get(), ant.TaperSets, sizeof ant.TaperSets) != 0;
    if (!ok) {
        // Cancel changes nothing, whatever was typed.
        ant.TaperSetCount = count;
        std::memcpy(ant.TaperSets, before.get(), sizeof ant.TaperSets);
    }
    ant_ = nullptr;
    return ok && changed;
}
