#include "platform/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QSignalBlocker>

RadioGroup::RadioGroup(QWidget* parent) : QGroupBox(parent), group_(new QButtonGroup(this)) {
    group_->setExclusive(true);
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::Clicked);
}

void RadioGroup::SetItems(const QStringList& items) {
    const int keep = ItemIndex();
    for (QRadioButton* b : buttons_) {
        group_->removeButton(b);
        delete b;
    }
    buttons_.clear();
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(objectName() + QString::number(i));
        group_->addButton(b, i);
        buttons_.push_back(b);
        b->show();
    }
    LayoutButtons();
    SetItemIndex(keep);
}

QStringList RadioGroup::Items() const {
    QStringList list;
    for (QRadioButton* b : buttons_) list << b->text();
    return list;
}

int RadioGroup::ItemIndex() const { return group_->checkedId(); }

void RadioGroup::SetItemIndex(int index) {
    const QSignalBlocker block(group_);
    if (index >= 0 && index < static_cast<int>(buttons_.size())) {
        buttons_[static_cast<std::size_t>(index)]->setChecked(true);
    } else if (QAbstractButton* b = group_->checkedButton()) {
        group_->setExclusive(false);
        b->setChecked(false);
        group_->setExclusive(true);
    }
}

QRadioButton* RadioGroup::Button(int index) const {
    if (index < 0 || index >= static_cast<int>(buttons_.size())) return nullptr;
    return buttons_[static_cast<std::size_t>(index)];
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    LayoutButtons();
}

void RadioGroup::LayoutButtons() {
    if (buttons_.empty()) return;
    // The contents rectangle already lies below the title.
    const QRect area = contentsRect().adjusted(6, 0, -2, -2);
    const int n = static_cast<int>(buttons_.size());
    const int rows = (n + columns_ - 1) / columns_;
    const int h = std::max(1, area.height() / rows);
    const int w = std::max(1, area.width() / columns_);
    for (int i = 0; i < n; ++i)
        buttons_[static_cast<std::size_t>(i)]->setGeometry(area.left() + (i / rows) * w, area.top() + (i % rows) * h, w, h);
}

void RadioGroup::SetColumns(int columns) {
    columns_ = std::max(1, columns);
    LayoutButtons();
}
