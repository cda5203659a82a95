#pragma once
// The step form of the 3D view: elevation and azimuth steps of the 3D
// far-field table, chosen from fixed lists and stored at each change.
#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class TAVEZForm : public QDialog {
    Q_OBJECT
public:
    explicit TAVEZForm(QWidget* owner);

    void FormShow();
    void EvEditCBChange();
    void AzEditCBChange();
    void ChangeLanguage();

    QGroupBox *EvGB = nullptr, *AzGB = nullptr;
    QLabel *EvLabel = nullptr, *AzLabel = nullptr;
    QComboBox *EvEditCB = nullptr, *AzEditCB = nullptr;
    QPushButton* Button1 = nullptr;
    QString AzPrefix = "Azim. points = ", EvPrefix = "Elev. points = ";
    QString AzText = "Azimuth step", EvText = "Elevation step";

protected:
    void showEvent(QShowEvent* event) override;
};
