#pragma once
// "User material": the resistivity and relative permeability of the user
// wire material. OK stores both (both 0 when either text is not a number);
// Cancel changes nothing.
#include <QDialog>

class QLineEdit;
class QPushButton;

class TUserMater : public QDialog {
    Q_OBJECT
public:
    explicit TUserMater(QWidget* owner = nullptr);

    QLineEdit *LOEdit = nullptr, *USEdit = nullptr;  // resistivity x 1e8, permeability
    QPushButton *OKBtn = nullptr, *CancBtn = nullptr;

    void OKBtnClick();
};

// Stores the two texts into the user material: resistivity in units of
// 1e-8 ohm m and the permeability; both become 0 when either is not a plain
// number.
void StoreUserMaterial(const std::string& resistivityE8, const std::string& permeability);
