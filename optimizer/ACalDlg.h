#pragma once
// The "Optimization" dialog: the optimizer's variable rows in a string grid
// (edited in place: row edits and the value column take effect at once and
// stay on Cancel), the seven goal weights on track bars and the switches,
// which are copied back whether the user starts or cancels. "Start" checks
// and prepares the rows and closes only when both succeed.
#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct AntDef;
struct ElementVariables;
class CACal;
class CAlignGrid;
class CAlignList;
class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QSlider;
class StringGrid;

// The element table's pick mode (element index and kind in and out, kind -1
// for a wire; `taken` the variables the table does not offer again): true
// with a choice.
using ElementPicker = std::function<bool(QWidget* owner, int& index, int& kind, const ElementVariables& taken,
                                         AntDef& ant)>;

class TACalDlg : public QDialog {
    Q_OBJECT
public:
    explicit TACalDlg(QWidget* owner, const QString& fontName = {});
    ~TACalDlg() override;

    // True when the user pressed "Start" and the rows passed the checks.
    bool Execute(CACal* cal);

    // Opens the element table for "Cooperation setting an element"; the
    // caller that can open it sets this, without it the command does nothing.
    ElementPicker PickElement;

    // The grid: line r shows row r - 1; the line after the last row is empty.
    QString GetCellText(int col, int line) const;
    void GridSetEditText(int col, int line, const QString& text);
    // False for cells edited through a menu (type, "What") or not at all.
    bool GridGetEditText(int col, int line);

    // Commands, public so that tests drive them as a user would.
    void SetRowType(int kind);   // type menu
    void SetRowWhat(int field);  // "What" menus
    void K28Click();             // Add line
    void DelBtnClick();          // Del, Del. this line
    void K27Click();             // Del. all
    void K23Click();             // Together step setting
    void K34Click();             // Cooperation setting an element
    void K11Click();             // Automatic cooperation
    void AllEleClick();
    void RefEleClick();
    void TerDisClick();
    void PitchAbsClick();
    void BandBtnClick();
    void TerBtnClick();
    void OKBtnClick();
    void UpdateButtons();
    void PopupPopup();
    // The "What" menu of a kind; null for height and frequency.
    QMenu* WhatMenu(int kind) const;

    QLabel* LabelParameters = nullptr;
    StringGrid* Grid = nullptr;
    QGroupBox* GroupRate = nullptr;
    QSlider *TBGain = nullptr, *TBFB = nullptr, *TBELV = nullptr, *TBJX = nullptr, *TBSWR = nullptr;
    QSlider *TBMCH = nullptr, *TBCUR = nullptr;
    QLabel* RateLabels[7] = {};  // Gain, F/B, Elev., jX, SWR, Match, Current
    QCheckBox *TerDis = nullptr, *PitchAbs = nullptr, *DegUnit = nullptr, *DispRes = nullptr;
    QPushButton *TerBtn = nullptr, *BandBtn = nullptr, *RefEle = nullptr, *AllEle = nullptr, *DelBtn = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;
    QMenu *Popup = nullptr, *PopupType = nullptr, *PopupWire = nullptr, *PopupEle = nullptr, *PopupLoad = nullptr;
    QMenu *PopupWireP = nullptr, *PopupFeed = nullptr, *PopupStack = nullptr;
    QAction *K28 = nullptr, *K29 = nullptr, *K27 = nullptr, *K23 = nullptr, *K34 = nullptr, *K11 = nullptr;
    QAction* TypeItems[8] = {};  // by tag 1..8

    // The texts of its language sections that no control holds (names of the
    // grid, messages), in no particular order.
    std::vector<std::string> HeldLanguageTexts() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;

private:
    void BuildControls();
    void BuildMenus();
    void ChangeLanguage();
    void RecordLayout();
    int CurrentRow() const;  // 0-based row of the grid's current line
    int ItemCount(int kind) const;
    QString WhatText(int row) const;
    QString ValueText(int row) const;
    void Changed();

    CACal* cal_ = nullptr;
    QString fontName_;
    std::unique_ptr<CAlignList> align_;
    std::unique_ptr<CAlignGrid> alignGrid_;

    // Name tables, replaced by the language file.
    std::vector<std::string> heads_, types_, eleFields_, polarFields_, stackFields_, sourceFields_, messages_;
};
