// The calculator form's frame: the field registry, the field writer, the
// carrying of values between pages, Execute.
#include "tools/OptDlgBox.h"
#include "platform/CommandGuard.h"

#include "platform/FreqPresets.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "platform/KeyFilter.h"
#include "platform/FormPattern.h"
#include "platform/RadioGroup.h"
#include "platform/FormWidgets.h"

#include <QCheckBox>
#include <QEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <cmath>

namespace {

QString Text(const QWidget* w) {
    if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
    if (auto* c = qobject_cast<const QComboBox*>(w)) return c->currentText();
    return {};
}

}  // namespace

TOptDlgBox::TOptDlgBox(QWidget* owner) : QDialog(owner) {
    SetupToolForm(this, "OptDlgBox", "Options and setup");
    setFixedSize(560, 470);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName("PageControl");
    PageControl->setGeometry(8, 8, 544, 410);
    auto page = [this](QWidget*& p, const char* name, const char* caption) {
        p = new QWidget;
        p->setObjectName(name);
        PageControl->addTab(p, caption);
    };
    page(ResPage, "TabSheet1", "Resonance");
    page(CoilPage, "TabSheet2", "Coil");
    page(LMatchPage, "TabSheet3", "LC-match");
    page(Line1Page, "TabSheet4", "Line match  1");
    page(Line2Page, "TabSheet5", "Line match 2");
    page(StubPage, "TabSheet6", "Stub");
    page(SetupPage, "TabSheet7", "Setup");
    LMatch.Z = EnvDef.Z0R;
    BuildResonancePage();
    BuildCoilPage();
    BuildLMatchPage();
    BuildLine1Page();
    BuildLine2Page();
    BuildStubPage();
    BuildSetupPage();
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(360, 430, 90, 30);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(460, 430, 90, 30);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ConnectGuarded(PageControl, &QTabWidget::currentChanged, this, [this] { PageChange(); });
    ACompSel->SetItemIndex(2);
    ApplyFormPattern(this, QString(), ScreenScale());
    for (int number : {0, 60}) {
        QWidget* field = Field(number);
        field->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(field)) combo->lineEdit()->installEventFilter(this);
    }
    ChangeLanguage();
}

void TOptDlgBox::AddField(int number, QWidget* control, std::function<QString()> show,
                          std::function<void(double)> take) {
    InstallCommaToPoint(control);
    auto handler = [this, take = std::move(take)](const QString& text) {
        if (!Editing) return;
        double value = 0;
        if (!StrToDblExpr(value, text.toStdString())) return;
        take(value);
    };
    fields_[number] = {control, std::move(show), handler};
    if (auto* e = qobject_cast<QLineEdit*>(control))
        ConnectGuarded(e, &QLineEdit::textChanged, this, handler);
    else if (auto* c = qobject_cast<QComboBox*>(control))
        ConnectGuarded(c, &QComboBox::editTextChanged, this, handler);
}

void TOptDlgBox::FieldEntered(int number) {
    if (number == 60) {
        StubMatch.Solve();
        UpdateFields(-1);
    } else if (auto it = fields_.find(number); it != fields_.end()) {
        it->second.Take(Text(it->second.Control));
    }
}

bool TOptDlgBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        for (int number : {0, 60})
            if (QWidget* field = Field(number); field && (watched == field || watched->parent() == field))
                FieldEntered(number);
    return QDialog::eventFilter(watched, event);
}

std::vector<PanelPart> TOptDlgBox::PictureParts(const QWidget* box) const {
    auto it = pictureParts_.find(box);
    return it == pictureParts_.end() ? std::vector<PanelPart>{} : it->second;
}

QWidget* TOptDlgBox::Field(int number) const {
    auto it = fields_.find(number);
    return it == fields_.end() ? nullptr : it->second.Control;
}

void TOptDlgBox::SetFieldText(int number, const QString& text) {
    QWidget* w = Field(number);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(text);
    else if (auto* c = qobject_cast<QComboBox*>(w))
        c->setEditText(text);
}

void TOptDlgBox::UpdateFields(int except) {
    Editing = 0;
    for (auto& [number, field] : fields_) {
        if (number == except) continue;
        const QString text = field.Show();
        if (Text(field.Control) != text) SetFieldText(number, text);
    }
    WriteLabels();
    Editing = 1;
}

bool TOptDlgBox::SetupR(double& r) const {
    return StrToDblExpr(r, EditZ0R->currentText().toStdString());
}

void TOptDlgBox::PageChange() {
    QWidget* page = PageControl->currentWidget();
    if (page == ResPage) {
        if (Coil.L != Res.L) SetFieldText(2, Coil.L == 0 ? QString() : QString::fromStdString(DblToStr(RoundTo(Coil.L * 1e6, 3))));
        if (LMatch.F != Res.F)
            SetFieldText(0, LMatch.F == 0 ? QString() : QString::fromStdString(DblToStr(RoundTo(LMatch.F * 1e-6, 2))));
        // The reactance text is taken as if typed, when it differs from the stored one.
        double x = 0;
        if (Editing && StrToDblExpr(x, Text(Field(1)).toStdString()) && std::fabs(x) != Res.X) {
            Res.X = std::fabs(x);
            Res.Calc(0);
            UpdateFields(1);
        }
    } else if (page == CoilPage) {
        if (Coil.L != Res.L) SetFieldText(10, Res.L == 0 ? QString() : QString::fromStdString(DblToStr(RoundTo(Res.L * 1e6, 3))));
    } else if (page == LMatchPage) {
        if (LMatch.F != Res.F) LMatch.F = Res.F;
        double r = 0;
        if (SetupR(r) && r != LMatch.Z && r > 0) LMatch.Z = r;
        // The coil keeps the resonance L without a coil calculation.
        Coil.L = Res.L;
        LMatch.Calc();
        UpdateFields(-1);
        PBoxM->update();
    } else if (page == Line1Page) {
        double r = 0;
        if (SetupR(r)) Line.Ri2 = Cplx(r, Line.Ri2.imag());
        Line.ZiFromZL();
        Line.CalcLine();
        UpdateFields(-1);
    } else if (page == Line2Page) {
        double r = 0;
        if (SetupR(r) && r > 0) StubMatch.Zi = r;
        StubMatch.Solve();
        UpdateFields(-1);
    } else if (page == StubPage) {
        if (Stub.F != Res.F && Res.F > 0) SetFieldText(30, QString::fromStdString(DblToStr(Res.F * 1e-6)));
    }
}

void TOptDlgBox::Preset(double C, double L, double X, double R, double F) {
    Editing = 0;
    {
        const QSignalBlocker block(PageControl);
        PageControl->setCurrentWidget(SetupPage);
    }
    StubMatch.F = F;
    Res.F = F * 1e6;
    Res.X = std::fabs(X);
    Res.L = L * 1e-6;
    Res.C = C * 1e-12;
    if (L != 0 && C != 0) {
        TFixFreq->setChecked(false);
        Res.Calc(3);
    } else {
        TFixFreq->setChecked(true);
        Res.Calc(X != 0 ? 0 : L != 0 ? 1 : C != 0 ? 2 : 0);
    }
    Stub.F = Res.F;
    if (C != 0) {
        Stub.Shorted = 0;
        Stub.X = -1;
        Stub.LC = C;
    } else if (L != 0) {
        Stub.Shorted = 1;
        Stub.X = 1;
        Stub.LC = L;
    } else {
        Stub.Shorted = 0;
        Stub.X = -1;
        Stub.LC = 0;
    }
    Stub.Calc(0);
    CStub->SetItemIndex(Stub.Shorted);
    LMatch.F = Res.F;
    LMatch.R = R;
    LMatch.X = X;
    if (R != 0 || X != 0) {
        StubMatch.R = R;
        StubMatch.X = X;
        Line.ZL2 = Cplx(R, X);
        Line.ZL = Cplx(R, X);
    }
    FillSetupPage();
    UpdateFields(-1);
}

int TOptDlgBox::Execute(double C, double L, double X, double R, double F) {
    Preset(C, L, X, R, F);
    if (ShowModal(*this) != QDialog::Accepted) return 0;
    return Store();
}
