#pragma once
// "Band setting": the optimizer's bands edited in place (up to 10, each a
// frequency and up to four sources that replace the antenna's while the band
// is calculated) and the flag that gives band 1 full weight. Edits are in the
// state at once; the flag is taken from its box whatever closes the dialog.
#include <QDialog>
#include <string>
#include <vector>

class CACal;
class QCheckBox;
class QPushButton;
class StringGrid;

class TACalMultDlg : public QDialog {
    Q_OBJECT
public:
    explicit TACalMultDlg(QWidget* owner, const QString& fontName = {});

    int Execute(CACal* cal);
    void UpdateRows();
    QString GetCellText(int col, int row) const;
    void GridSetEditText(int col, int row, const QString& text);
    void DelBtnClick();

    StringGrid* Grid = nullptr;
    QCheckBox* CheckPriority = nullptr;
    QPushButton *OKBtn = nullptr, *DelBtn = nullptr;

private:
    void ChangeLanguage();
    void EnsureBand(int band);

    CACal* cal_ = nullptr;
    std::vector<std::string> heads_{"No.", "F", "Sour", "Phas", "Volt"};
};
