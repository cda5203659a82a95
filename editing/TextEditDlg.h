#pragma once
// A resizable plain-text editor for one string: the antenna definition as
// text, or the antenna's comment. Keeps its window box and the memo's font in
// the settings file.
#include "editing/EditForm.h"
#include "platform/FormLayout.h"

#include <functional>
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

    // When set, OK on an edited text asks it first: a non-empty answer is
    // shown as an error and the editor stays open with the user's text.
    std::function<std::string(const std::string&)> CheckText;

    QPlainTextEdit* Memo = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr, *FontBtn = nullptr;

    void FontBtnClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void done(int result) override;
    // Escape and the close box: a changed text is dropped only when the user says so.
    void reject() override;

private:
    void FormClose();
    std::string EditedText() const;
    std::string settingsPath_;
    CAlignList align_;
    bool closed_ = false;
    bool crlf_ = false;
};
