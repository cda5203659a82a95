#include "platform/FormLayout.h"

#include "model/EnvDef.h"
#include "platform/StringGrid.h"

#include <QWidget>
#include <algorithm>

int ScaledFontSize(int fontOffset, double scale) {
    // A font needs at least one point, whatever the window shrinks to.
    return std::max(1, static_cast<int>((10 + fontOffset) * scale));
}

void ScaleFormFont(QWidget& form, int designWidth, int designHeight) {
    if (designWidth <= 0 || designHeight <= 0) return;
    QFont font = form.font();
    font.setPointSize(ScaledFontSize(
        EnvDef.FontSize, std::min(form.width() / double(designWidth), form.height() / double(designHeight))));
    form.setFont(font);
}

void CAlign::Apply(const QWidget* reference) const {
    if (reference) Apply(reference->width(), reference->height());
}

void CAlign::Apply(int refWidth, int refHeight) const {
    if (!Control || RefWidth <= 0 || RefHeight <= 0) return;
    const double sx = static_cast<double>(refWidth) / RefWidth;
    const double sy = static_cast<double>(refHeight) / RefHeight;
    Control->setGeometry(static_cast<int>(Left * sx), static_cast<int>(Top * sy),
                         static_cast<int>(Width * sx), static_cast<int>(Height * sy));
    if (ScaleFont) {
        QFont font = Control->font();
        font.setPointSize(ScaledFontSize(EnvDef.FontSize, std::min(sx, sy)));
        Control->setFont(font);
    }
}

CAlignList::CAlignList() { items_.reserve(static_cast<std::size_t>(capacity_)); }

void CAlignList::Append(std::unique_ptr<CAlign> item) {
    if (count_ == capacity_) {
        capacity_ *= 2;
        items_.reserve(static_cast<std::size_t>(capacity_));
    }
    items_.push_back(std::move(item));
    ++count_;
}

void CAlignList::Add(QWidget* control, const QWidget* reference, bool scaleFont) {
    if (!control || !reference) return;
    AddRect(control, QRect(reference->x(), reference->y(), reference->width(), reference->height()), scaleFont);
}

void CAlignList::AddRect(QWidget* control, const QRect& reference, bool scaleFont) {
    if (!control) return;
    auto a = std::make_unique<CAlign>();
    a->RefLeft = reference.left();
    a->RefTop = reference.top();
    a->RefWidth = reference.width();
    a->RefHeight = reference.height();
    a->Left = control->x();
    a->Top = control->y();
    a->Width = control->width();
    a->Height = control->height();
    a->Control = control;
    a->ScaleFont = scaleFont;
    a->FontHeight = control->font().pointSize();
    Append(std::move(a));
}

void CAlignList::AlignAll(const QWidget* reference) const {
    if (reference) AlignAll(reference->width(), reference->height());
}

void CAlignList::AlignAll(int refWidth, int refHeight) const {
    for (const auto& a : items_) a->Apply(refWidth, refHeight);
}

void CAlignGrid::Save(const StringGrid* grid) {
    if (!grid) return;
    Width = grid->width();
    Height = grid->height();
    RowHeight = grid->DefaultRowHeight();
    ColCount = grid->ColCount();
    ColWidths.assign(static_cast<std::size_t>(ColCount), 0);
    for (int i = 0; i < ColCount; ++i) ColWidths[static_cast<std::size_t>(i)] = grid->ColWidth(i);
}

void CAlignGrid::Apply(StringGrid* grid) const {
    if (!grid || Width <= 0 || Height <= 0) return;
    grid->SetDefaultRowHeight(static_cast<int>(RowHeight * (static_cast<double>(grid->height()) / Height)));
    const double sx = static_cast<double>(grid->width()) / Width;
    const int n = std::min(ColCount, grid->ColCount());
    for (int i = 0; i < n; ++i) grid->SetColWidth(i, static_cast<int>(ColWidths[static_cast<std::size_t>(i)] * sx));
}
