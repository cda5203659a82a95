#pragma once
// "Elementes": the antenna as a table of elements (the dipoles and loops of a
// beam) with their form, place on the boom, sizes, radius, segmentation and
// wire count, and a second tab that draws them as a turnable wire picture.
// Two uses: Execute edits the antenna (written back only on OK), and
// SelectVariable lets the optimizer pick an element size or a wire.
#include "editing/ElementTable.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CAlignGrid;
class CAlignList;
class ElementView;
class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabBar;
class StringGrid;

// Execute's results.
enum GrpWireResult { GrpWireNoChange = 0, GrpWireWritten = 1, GrpWireTaperOnly = 2 };

class TGrpWireDlg : public QDialog {
    Q_OBJECT
public:
    explicit TGrpWireDlg(QWidget* owner, const QString& fontName = {});
    ~TGrpWireDlg() override;

    // Edits the antenna: GrpWireWritten when the table was written back,
    // GrpWireTaperOnly when only its taper sets changed, else GrpWireNoChange.
    int Execute(AntDef& ant);
    // What the write-back did to sources and loads, for the log.
    std::vector<std::string> Notes;
    // Pick mode for the optimizer. On entry element >= 0 with kind >= 0
    // preselects that element's cell, element >= 0 with kind < 0 that wire
    // (0-based) in the view. True after OK on a valid choice: an element
    // (0-based) with its ElementField, not yet a variable of `vars`, or a
    // wire picked in the view (element = wire index, kind = -1). Nothing of
    // the antenna changes.
    bool SelectVariable(int& element, int& kind, AntDef& ant, const ElementVariables* vars);

    // The view's pick: true when a wire lies within 8 pixels; it becomes SelWire.
    bool PickWireAt(int x, int y);
    // Enables the popup items and, in pick mode, OK; repaints the view when shown.
    void UpdateMenu();

    ElementTable& Table() { return table_; }
    bool PickMode() const { return pickMode_; }
    const ElementVariables* PickVars() const { return pickVars_; }
    bool ViewTabActive() const;

    // Popup commands.
    void DeleteElement();
    void AddElement();
    void ChangeForm(int tag);
    void EditTaperSets();
    void RoundValues(int digits);
    void ReplaceValue();
    void SaveCsv();
    void PrintTable();

    int SelWire = -1;
    double PanX = 0.0, PanY = 0.0;
    // Title of the printout and proposed name of the CSV file: the antenna's
    // file path without its extension, or "noname" in the data folder (the
    // caller sets both).
    std::string FileName;
    std::string DataFolder;
    // Starts the desktop calculator ("Calculator" item); the item is off without it.
    std::function<void()> OpenCalculator;

    // The two tabs: "Parameters" (the grid) and "View" (the picture).
    QTabBar* Page = nullptr;
    StringGrid* Grid = nullptr;
    ElementView* PBox = nullptr;
    QSlider* TBarSC = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton *AllViewBtn = nullptr, *OrgBtn = nullptr, *OKBtn = nullptr, *CancelBtn = nullptr;
    QCheckBox *PwidtCB = nullptr, *Ant3D = nullptr, *ChkIntval = nullptr, *ChkRmd = nullptr;
    QRadioButton *EleWidthEdge = nullptr, *EleWidthAll = nullptr;
    QMenu* PopupMenu = nullptr;
    QMenu *K9 = nullptr, *K1 = nullptr;
    QAction *K2 = nullptr, *K3 = nullptr, *K4 = nullptr, *K14 = nullptr, *KCSV1 = nullptr, *K13 = nullptr,
            *K6 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void BuildControls();
    void BuildMenu();
    void SetupLayout();
    void ChangeLanguage();
    bool Prepare(AntDef& ant);
    void RenewRows();
    void GridChanged();
    void CellSelected(int col, int row);
    void TakeCell(int col, int row, const QString& text);
    // The message of a typed or replacing value that a cell did not take.
    static void ReportRefusedCell(CellEdit result, int col, const QString& text);
    bool ValidPickCell() const;
    void Centre();
    bool ReportDuplicates();

    ElementTable table_;
    AntDef* ant_ = nullptr;
    bool pickMode_ = false;
    const ElementVariables* pickVars_ = nullptr;
    bool shown_ = false;
    std::unique_ptr<CAlignList> align_;
    std::unique_ptr<CAlignGrid> alignGrid_;
};
