#include "app/AboutBox.h"
#include "app/MainWnd.h"
#include "platform/FormPattern.h"
#include "platform/System.h"

#include <QLabel>
#include <QTimer>

namespace {

QLabel* LinkLabel(QWidget* parent, const char* name, const QString& text, int y) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(20, y, 428, 26);
    QFont f = l->font();
    f.setBold(true);
    f.setPixelSize(17);
    l->setFont(f);
    l->setStyleSheet("color: gray;");
    l->setAlignment(Qt::AlignCenter);
    return l;
}

}  // namespace

TVerDspDlg::TVerDspDlg(QWidget* owner) : QDialog(owner) {
    setObjectName("VerDspDlg");
    setWindowTitle("KORVA-TEZ");
    setFixedSize(468, 439);
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, 468, 439);
    Image1->setStyleSheet("background-color: #f4f1e6;");
    // No web pages are linked; the labels name the program's background.
    Label1 = LinkLabel(this, "Label1", "Wire antennas by the method of moments", 300);
    Label3 = LinkLabel(this, "Label3", "MININEC-type engine, single precision", 334);
    Label2 = LinkLabel(this, "Label2", "Free space, perfect and real ground", 368);

    Label4 = new QLabel("KORVA-TEZ", this);
    Label4->setObjectName("Label4");
    Label4->setGeometry(0, 0, 468, 81);
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setWordWrap(true);
    QFont f4 = Label4->font();
    f4.setBold(true);
    f4.setItalic(true);
    f4.setPixelSize(48);
    Label4->setFont(f4);
    Label4->setStyleSheet("color: red;");

    Label5 = new QLabel(QString(), this);
    Label5->setObjectName("Label5");
    Label5->setGeometry(0, 90, 468, 40);
    Label5->setAlignment(Qt::AlignCenter);
    QFont f5 = Label5->font();
    f5.setBold(true);
    f5.setPixelSize(27);
    Label5->setFont(f5);
    Label5->setStyleSheet("color: red;");

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(5000);
    Timer1->setSingleShot(true);
    ConnectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    FormCreate();
}

void TVerDspDlg::FormCreate() {
    std::string product, version;
    GetVersionText(product, version);
    if (!product.empty()) Label4->setText(QString::fromStdString(product));
    if (!version.empty()) Label5->setText(QString::fromStdString(version));
}

void TVerDspDlg::Timer1Timer() {
    Timer1->stop();
    reject();
}

void TMainWnd::K10Click(QObject* sender) {
    TVerDspDlg box(this);
    if (!sender) box.Timer1->start();
    ShowModal(box);
}
