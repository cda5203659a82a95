// The user wire material dialog.
#include "tools/UserMaterialDlg.h"
#include "platform/CommandGuard.h"

#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/KeyFilter.h"
#include "platform/FormWidgets.h"

#include <string>

namespace {

// A whole text that is one plain number (blanks around it allowed).
bool PlainNumber(const std::string& text, double& value) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    const auto last = text.find_last_not_of(" \t");
    const std::string_view body(text.data() + first, last - first + 1);
    std::size_t used = 0;
    return ReadLeadingDouble(body, value, &used) && used == body.size();
}

}  // namespace

void StoreUserMaterial(const std::string& resistivityE8, const std::string& permeability) {
    double lo = 0, us = 0;
    if (!PlainNumber(resistivityE8, lo) || !PlainNumber(permeability, us)) lo = us = 0;
    UserMaterialDef.Resistivity = lo * 1e-8;
    UserMaterialDef.Permeability = us;
}

TUserMater::TUserMater(QWidget* owner) : QDialog(owner) {
    SetupToolForm(this, "UserMaterial", "User material");
    setFixedSize(330, 150);
    PlaceLabel(this, "Label1", "Resistivity", 10, 15, 110);
    LOEdit = PlaceEdit(this, "LOEdit", 125, 15, 110);
    PlaceLabel(this, "Label3", "e-8 Sim", 240, 15, 80);
    PlaceLabel(this, "Label2", "Permeability", 10, 50, 110);
    USEdit = PlaceEdit(this, "USEdit", 125, 50, 110);
    LOEdit->setText(QString::number(UserMaterialDef.Resistivity * 1e8, 'g', 15));
    USEdit->setText(QString::number(UserMaterialDef.Permeability, 'g', 15));
    InstallCommaToPoint(LOEdit);
    InstallCommaToPoint(USEdit);
    OKBtn = PlaceButton(this, "OKBtn", "OK", 125, 105);
    OKBtn->setDefault(true);
    CancBtn = PlaceButton(this, "CancBtn", "Cancel", 225, 105);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    ConnectGuarded(CancBtn, &QPushButton::clicked, this, &QDialog::reject);
    ApplyFormPattern(this, QString(), ScreenScale());
    ApplyFormTexts(*this, FormLanguageLines("UserMaterial", 5), {"Label1", "Label2", "OKBtn", "CancBtn"});
}

void TUserMater::OKBtnClick() {
    StoreUserMaterial(LOEdit->text().toStdString(), USEdit->text().toStdString());
    accept();
}
