#pragma once
// A resizable plain-text editor for one string: the antenna definition as
// text, or the antenna's comment. Keeps its window box and the memo's font in
// the settings file.
#include "editing/EditForm.h"
#include "platform/FormLayout.h"

#include <string>

class QPlainTextEdit;
class QPushButton;

class TTextEditDlg : public QDialog {
    Q_OBJECT
public:
    // settingsPath: the ini file holding the section "Textf".
    TTextEditDlg(QWidget* owner, std::string settingsPath);
    ~TTextEditDlg() override;
    // 1 when OK was pressed after the user changed the text (the text then
    // takes the memo's text), else 0 with the text unchanged. Bytes that are
    // not UTF-8 are shown as Windows-1252.
    int Execute(std::string& text, const char* caption = nullptr);

    QPlainTextEdit* Memo = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr, *FontBtn = nullptr;

    void FontBtnClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormClose();
    std::string settingsPath_;
    CAlignList align_;
    bool closed_ = false;
};
