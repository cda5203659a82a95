#pragma once
// "Wire edit": the graphical wire editor. Four pages (a turnable 3D view and
// the X-Y, X-Z and Y-Z plans) show the editor's working copy of the wire
// table; the mouse selects, draws, drags and joins wires, the popup menu
// holds the edits. The caller's antenna changes only on OK.
#include "editing/WireCadModel.h"
#include "editing/WireCadView.h"
#include "model/ScreenHitTest.h"

#include <QDialog>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

class CAlignList;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;
class QSlider;
class QTabWidget;
class QTimer;
class QToolButton;
class TWireCadDlg;

// One page's drawing surface; it hands its paint and mouse events to the form.
class WireCadBox : public QWidget {
    Q_OBJECT
public:
    WireCadBox(TWireCadDlg* form, int page, QWidget* parent);
    int Page() const { return page_; }
    QImage Picture;     // the page as last drawn, without the rubber band
    bool Dirty = true;  // Picture must be drawn again

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TWireCadDlg* form_;
    int page_;
};

// What the program keeps of the editor between its runs.
struct WireCadScreen {
    bool Valid = false;
    int Page = 0, Zoom = 75, Selected = -1, EditMode = 0, Filter = 0;
    bool GridOn = true;
    int Azimuth = 60, Elevation = 20;
    double OffA = 0, OffB = 0, GridStep = 0.5, GridA0 = 0, GridB0 = 0;
};
extern WireCadScreen ScreenSlot[4];
constexpr int WireCadZoomStart = 75;  // the "Zoom" bar's position that fits the antenna
extern int WireCadZoomPosition;       // the "Zoom" bar's last position

class TWireCadDlg : public QDialog {
    Q_OBJECT
    friend class WireCadBox;

public:
    explicit TWireCadDlg(QWidget* owner, const QString& fontName = {});
    ~TWireCadDlg() override;

    // 1 when the user accepted and the surviving wires were written back.
    // *selected carries the selected wire (0-based) in and out.
    int Execute(AntDef* ant, int* selected);
    // What the write-back did to sources and loads, for the log.
    std::vector<std::string> Notes;

    WireCadModel Model;
    WireCadView View;
    GridState Grid;
    int EditMode = 0;  // 0 Edit Wire, 1 New Wire, 2 New Loop

    // Controls, named as in the language section.
    QTabWidget* Page = nullptr;
    QWidget *TabAll = nullptr, *TabXY = nullptr, *TabXZ = nullptr, *TabYZ = nullptr;
    WireCadBox* Boxes[4] = {};
    QScrollBar* HBars[4] = {};
    QScrollBar* VBars[4] = {};
    QToolButton *SBSel = nullptr, *SBLine = nullptr, *SBLoop = nullptr, *SBView = nullptr, *SBOrg = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr;
    QLabel *LWire = nullptr, *LCursor = nullptr;
    QComboBox *SelFilter = nullptr, *GridWidth = nullptr;
    QSlider *TBDEG = nullptr, *TBZDEG = nullptr, *TBSC = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox *ChkGrid = nullptr, *ChkAutoGrid = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;
    QTimer* Timer = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction *K4 = nullptr, *K8 = nullptr, *K9 = nullptr, *K12 = nullptr, *K13 = nullptr, *K14 = nullptr,
            *K15 = nullptr, *K16 = nullptr, *K17 = nullptr, *K18 = nullptr, *K19 = nullptr, *KU1 = nullptr,
            *K11 = nullptr, *K3 = nullptr, *K1 = nullptr, *K5 = nullptr, *KS1 = nullptr, *K10 = nullptr,
            *K2 = nullptr, *K6 = nullptr, *K7 = nullptr, *KX11 = nullptr;
    QAction* KP[11] = {};  // KP2..KP10 at their piece counts

    int ActivePage() const;
    WireCadBox* ActiveBox() const { return Boxes[ActivePage()]; }
    // Draws a page completely onto the canvas (the benchmark times this).
    void DrawPage(int page, class Canvas& c);

    // Edits of the popup menu; the hit code is where the menu was opened.
    int HitCode = HitNone;
    QPoint PopupPoint;
    void PopupMenuPopup(const QPoint& at);
    void K1Click();
    void K3Click();
    void K5Click();
    void KS1Click();
    void K10Click();
    void KP2Click(int pieces);
    void K11Click();
    void KU1Click();
    void K7Click();
    void KX11Click();
    void K4Click();
    void K8Click();
    void K9Click();
    void SBViewClick();
    void MemorizeScreen(int slot);
    void RecallScreen(int slot);

    // View state.
    void TBSCChange();
    void TBDEGChange();
    void AutoGridStep(bool automatic);
    void GridWidthChange();
    void GridWidthDone();
    void ChkGridClick();
    void ResetScrollBars();
    void ScrollBarChange(QScrollBar* bar, bool vertical);
    void EndScroll();
    void ApplyPan();
    void TimerTimer();
    void PageChange();
    void SelFilterChange();
    void SBSelClick();
    void Repaint();
    void RefreshInfo();
    void UpdateViewControls();

    // Gestures.
    void MouseDown(int page, QMouseEvent* e);
    void MouseMove(int page, QMouseEvent* e);
    void MouseUp(int page, QMouseEvent* e);
    void Click(int page);

    int DragState = 0;
    bool Dragging = false;
    int ShiftMode = 0;  // 0 none, 1 Shift, 2 Ctrl
    QPoint MousePoint, Anchor;
    int TimerState = 0;
    int QuickDraw = 0;
    bool Ready = false;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildPopupMenu();
    void SetupLayout();
    void ChangeLanguage();
    void LoadSettings();
    void SaveSettings();
    void FillStepList();
    void UpdateScale(double factor);
    void SetSlider(QSlider* s, int position);
    void SetStepText(double step);
    void DrawGrid(class Canvas& c, int page);
    void DrawScaleBar(class Canvas& c, int width);
    void DrawWires(class Canvas& c, int page);
    void DrawRubberBand(QPainter& p, int page);
    void DrawAxes2D(class Canvas& c, int page);
    void DrawAxes3D(class Canvas& c);
    void ShowCursorPos(const QPoint& at);
    void UpdateCursor(int page, const QPoint& at);
    int PickWire(const QPoint& at) const;
    void SelectWireAt(const QPoint& at);
    bool ScreenEnds(int wire, ScreenPoint& a, ScreenPoint& b) const;
    void ReadShiftMode(Qt::KeyboardModifiers modifiers);
    void DragAutoScroll();
    void MouseMove2D(const QPoint& at);
    void MouseMove3D(const QPoint& at);
    void MouseUp2D(int page);
    void MouseUp3D();
    void EndOperation(bool changed);

    AntDef* ant_ = nullptr;
    double fitScale_ = 100.0;
    double panBaseA_ = 0.0, panBaseB_ = 0.0, panUnit_ = 0.25;
    bool shown_ = false;
    bool drawingNew_ = false;
    bool rubber_ = false;
    bool painting_ = false;
    bool ctrlAtLastMove_ = false;
    bool dragBegan_ = false;
    int windowState_ = 0;
    std::unique_ptr<CAlignList> align_;
    QRect savedGeometry_;
    QSize leastBox_;
};
