#include "optimizer/ACalEleBox.h"
#include "platform/CommandGuard.h"

#include "platform/FormPattern.h"
#include "platform/RadioGroup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

// The other two sizes a size can cooperate with, by radio item.
constexpr int Others[3][2] = {{1, 2}, {0, 2}, {0, 1}};  // Y, Z, X
const char* const SizeNames[3] = {"Size Y", "Size Z", "Size X"};

}  // namespace

TACalEleBox::TACalEleBox(QWidget* owner, const QString& fontName) : QDialog(owner) {
    setObjectName("ACalEleBox");
    setWindowTitle("Choice of element variable");
    resize(470, 256);
    Label1 = new QLabel("Combination more than one variable", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(8, 6, 454, 22);
    QCheckBox** checks[3] = {&CBHW, &CBVW, &CBXW};
    RadioGroup** radios[3] = {&RGHW, &RGVW, &RGXW};
    const char* checkNames[3] = {"CBHW", "CBVW", "CBXW"};
    const char* radioNames[3] = {"RGHW", "RGVW", "RGXW"};
    const char* groupNames[3] = {"GroupBox1", "GroupBox2", "GroupBox3"};
    for (int i = 0; i < 3; ++i) {
        auto* group = new QGroupBox(SizeNames[i], this);
        group->setObjectName(groupNames[i]);
        group->setGeometry(8 + i * 152, 32, 146, 178);
        auto* check = new QCheckBox("Availabel to var", group);
        check->setObjectName(checkNames[i]);
        check->setGeometry(8, 24, 132, 24);
        auto* radio = new RadioGroup(group);
        radio->setObjectName(radioNames[i]);
        radio->setTitle("Cooperate with");
        radio->SetItems({"OFF", "OFF", "OFF"});
        radio->setGeometry(8, 54, 132, 116);
        ConnectGuarded(check, &QCheckBox::clicked, this, [this] { UpdateGroups(); });
        *checks[i] = check;
        *radios[i] = radio;
    }
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(372, 218, 90, 30);
    OKBtn->setDefault(true);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    ApplyFormPattern(this, fontName, ScreenScale());
    ChangeLanguage();
}

void TACalEleBox::ChangeLanguage() {
    const auto lines = FormLanguageLines("ACalEleBox", 5);
    if (lines.size() < 5) return;
    auto text = [&](int i) { return QString::fromStdString(lines[static_cast<std::size_t>(i)]); };
    setWindowTitle(text(0));
    Label1->setText(text(1));
    OKBtn->setText(text(2));
    for (QCheckBox* c : {CBHW, CBVW, CBXW}) c->setText(text(3));
    for (RadioGroup* r : {RGHW, RGVW, RGXW}) r->setTitle(text(4));
}

void TACalEleBox::UpdateGroups() {
    const QCheckBox* checks[3] = {CBHW, CBVW, CBXW};
    RadioGroup* radios[3] = {RGHW, RGVW, RGXW};
    for (int i = 0; i < 3; ++i) {
        const int selected = radios[i]->ItemIndex();
        QStringList items{"OFF"};
        for (int other : Others[i]) items << (checks[other]->isChecked() ? SizeNames[other] : "OFF");
        radios[i]->SetItems(items);
        radios[i]->SetItemIndex(selected);
    }
}

int TACalEleBox::Execute(bool& useY, bool& useZ, int& coopX, int& coopZ, int& coopY, bool& useX) {
    QCheckBox* checks[3] = {CBHW, CBVW, CBXW};
    RadioGroup* radios[3] = {RGHW, RGVW, RGXW};
    const bool available[3] = {useY, useZ, useX};
    for (int i = 0; i < 3; ++i) {
        // A size the element lacks cannot be switched on.
        checks[i]->setChecked(available[i]);
        checks[i]->setEnabled(available[i]);
        radios[i]->setEnabled(available[i]);
        radios[i]->SetItemIndex(0);
    }
    UpdateGroups();
    for (RadioGroup* r : radios) r->SetItemIndex(0);
    ShowModal(*this);
    useY = CBHW->isChecked();
    useZ = CBVW->isChecked();
    useX = CBXW->isChecked();
    coopY = std::max(0, RGHW->ItemIndex());
    coopZ = std::max(0, RGVW->ItemIndex());
    coopX = std::max(0, RGXW->ItemIndex());
    return 1;
}
