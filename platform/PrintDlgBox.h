#pragma once
// The table printer: a table of text cells printed page by page with a
// heading line (date, title, page of pages), ruled rows and columns, titles
// centred in their columns and cell texts shrunk to fit. While the pages are
// made a small box shows the page and offers "Abort".
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPainter;
class QPushButton;

constexpr int PrintMaxColumns = 16;

// Where everything of one print job goes, in device pixels.
struct PrintTableLayout {
    double Cw = 0;             // character width
    int H = 0;                 // row unit
    int RowsPerPage = 0;
    int PageCount = 0;
    int Top = 0, Bottom = 0;   // of the ruled table
    int LeftRule = 0, RightRule = 0;
    std::vector<int> ColX, ColW;
};

class TPrintDlgBox : public QDialog {
    Q_OBJECT
public:
    explicit TPrintDlgBox(QWidget* owner, const QString& fontName = {});

    void SetLayout(int left, int top, int right, int bottom);
    void SetColWidth(int col, int width);
    void SetColTitle(int col, const std::string& text);
    void SetCell(int row, int col, const std::string& text);
    void ClearTable();
    // 1 when every page was printed; 0 for an empty table, a cancelled print
    // dialog, a page too small for one row, an abort or a printer that failed
    // (reported).
    int PrintTable();

    int ColCount() const { return colCount_; }
    int RowCount() const { return static_cast<int>(cells_.size()); }
    int ColWidth(int col) const { return widths_[static_cast<std::size_t>(col)]; }
    const std::string& Cell(int row, int col) const { return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]; }
    // The layout for a page of the given size with the font's height/width ratio; false when no row fits.
    bool CalcLayout(int pageWidth, int pageHeight, double charHeightPerWidth, PrintTableLayout& out) const;

    std::string Title;
    // The layout of the last job.
    PrintTableLayout Layout;
    // Called after each page is drawn (tests press Abort here).
    std::function<void(int page)> AfterPage;

    QLabel* Stat = nullptr;
    QPushButton* AbortBtn = nullptr;

private:
    void DrawGridLines(QPainter& p, const PrintTableLayout& l) const;
    void DrawPage(QPainter& p, const PrintTableLayout& l, int page) const;
    bool Pump();

    int margins_[4] = {};
    int colCount_ = 0;
    int widths_[PrintMaxColumns] = {};
    std::string titles_[PrintMaxColumns];
    std::vector<std::vector<std::string>> cells_;
    bool abort_ = false;
};
