#pragma once
// Proportional re-layout of resizable forms: controls are recorded once with
// the bounds of a reference and later set to those bounds scaled by the ratio
// of the reference's new size to its recorded size; fonts follow the smaller
// ratio. String grids scale their column widths and row height the same way.
#include <QRect>
#include <memory>
#include <vector>

class QWidget;
class StringGrid;

// One recorded control.
class CAlign {
public:
    int RefTop = 0, RefLeft = 0, RefWidth = 0, RefHeight = 0;
    int Top = 0, Left = 0, Width = 0, Height = 0;
    int FontHeight = 0;
    QWidget* Control = nullptr;
    bool ScaleFont = false;

    // Re-lays the control for the reference's current size.
    void Apply(const QWidget* reference) const;
    void Apply(int refWidth, int refHeight) const;
};

// All recorded controls of a form, applied in the order of recording.
class CAlignList {
public:
    CAlignList();
    // Records the control against a reference control; scaleFont records its font too.
    void Add(QWidget* control, const QWidget* reference, bool scaleFont = false);
    // As Add, the reference being a rectangle (left, top, right, bottom inclusive).
    void AddRect(QWidget* control, const QRect& reference, bool scaleFont = false);
    void AlignAll(const QWidget* reference) const;
    void AlignAll(int refWidth, int refHeight) const;

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    const CAlign& At(int i) const { return *items_[static_cast<std::size_t>(i)]; }

private:
    void Append(std::unique_ptr<CAlign> item);
    int capacity_ = 16;
    int count_ = 0;
    std::vector<std::unique_ptr<CAlign>> items_;
};

// The recorded column layout of one string grid.
class CAlignGrid {
public:
    void Save(const StringGrid* grid);
    void Apply(StringGrid* grid) const;

    int Width = 0, Height = 0;
    int RowHeight = 0;
    int ColCount = 0;
    std::vector<int> ColWidths;
};

// Font point size of a form at the given scale: (10 + offset) x scale, truncated.
int ScaledFontSize(int fontOffset, double scale);
// A resizable form's own font follows its size against its design size, as
// the fonts of its recorded controls do.
void ScaleFormFont(QWidget& form, int designWidth, int designHeight);
