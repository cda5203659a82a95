// The calculator pages of the options form: their controls, their change
// handlers and the labels that show results.
#include "platform/FreqPresets.h"
#include "model/CheckedFormat.h"
#include "platform/CommandGuard.h"
#include "model/NumberText.h"
#include "platform/RadioGroup.h"
#include "platform/FormWidgets.h"
#include "tools/CalculatorPictures.h"
#include "tools/OptDlgBox.h"

#include <QCheckBox>
#include <QTabWidget>
#include <cmath>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
// Rounded number text; empty for 0 where a field shows nothing for it.
QString Rounded(double v, int decimals) { return Q(DblToStr(RoundTo(v, decimals))); }
QString RoundedOrEmpty(double v, int decimals) { return v == 0 ? QString() : Rounded(v, decimals); }
QString Plain(double v) { return Q(DblToStr(v)); }

QStringList Presets() {
    QStringList list;
    for (const char* f : FreqPresets) list << QString::fromLatin1(f);
    return list;
}

QString Printf(const char* format, double a, const std::string& b) {
    return QString::fromStdString(FormatInCLocale(format, a, b.c_str()));
}

}  // namespace

void TOptDlgBox::BuildResonancePage() {
    QWidget* p = ResPage;
    PlaceLabel(p, "TLabel1", "Frequency", 10, 20);
    auto* freq = PlaceNumberCombo(p, "TFreq", Presets(), 145, 20);
    PlaceLabel(p, "TLabel2", "MHz", 250, 20, 50);
    PlaceLabel(p, "TLabel3", "Reactance", 10, 50);
    auto* x = PlaceEdit(p, "TEditX", 145, 50);
    PlaceLabel(p, "TLabel4", "Ohm", 250, 50, 50);
    PlaceLabel(p, "TLabel5", "L", 10, 80);
    auto* l = PlaceEdit(p, "TEditL", 145, 80);
    PlaceLabel(p, "TLabel6", "uH", 250, 80, 50);
    PlaceLabel(p, "TLabel7", "C", 10, 110);
    auto* c = PlaceEdit(p, "TEditC", 145, 110);
    PlaceLabel(p, "TLabel8", "pF", 250, 110, 50);
    TFixFreq = new QCheckBox("Fixed frequency", p);
    TFixFreq->setObjectName("TFixFreq");
    TFixFreq->setGeometry(310, 80, 200, 24);
    TWaveLabel = PlaceLabel(p, "TWaveLabel", "", 145, 150, 250, 90);
    TWaveLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    AddField(0, freq, [this] { return Res.F == 0 ? QString() : Plain(Res.F * 1e-6); }, [this](double v) {
        v *= 1e6;
        if (!(v > 0 && v < 1e11) || v == Res.F) return;
        Res.F = v;
        Res.Calc(0);
        UpdateFields(0);
    });
    AddField(1, x, [this] { return RoundedOrEmpty(Res.X, 2); }, [this](double v) {
        v = std::fabs(v);
        if (v == Res.X) return;
        Res.X = v;
        Res.Calc(0);
        UpdateFields(1);
    });
    AddField(2, l, [this] { return RoundedOrEmpty(Res.L * 1e6, 3); }, [this](double v) {
        v *= 1e-6;
        if (!(v > 0 && v < 0.1) || v == Res.L) return;
        Res.L = v;
        Res.Calc(TFixFreq->isChecked() ? 1 : 3);
        UpdateFields(2);
    });
    AddField(3, c, [this] { return RoundedOrEmpty(Res.C * 1e12, 1); }, [this](double v) {
        v *= 1e-12;
        if (!(v > 0 && v < 1e-7) || v == Res.C) return;
        Res.C = v;
        Res.Calc(TFixFreq->isChecked() ? 2 : 3);
        UpdateFields(3);
    });
}

void TOptDlgBox::BuildCoilPage() {
    QWidget* p = CoilPage;
    const char* names[] = {"AEditL", "AEditN", "AEditD", "AEditW", "AEditS"};
    const char* labels[] = {"L", "Number of turns", "Diameter of coil", "Diameter of wire", "Between turns"};
    const char* units[] = {"uH", "", "cm", "mm", "mm"};
    QLineEdit* edits[5];
    for (int i = 0; i < 5; ++i) {
        PlaceLabel(p, (std::string("ALabel") + char('1' + i)).c_str(), labels[i], 10, 20 + 30 * i);
        edits[i] = PlaceEdit(p, names[i], 145, 20 + 30 * i);
        PlaceLabel(p, (std::string("AUnit") + char('1' + i)).c_str(), units[i], 250, 20 + 30 * i, 40);
    }
    PlaceLabel(p, "ALabel6", "Length of coil", 10, 175);
    ACoilLen = PlaceLabel(p, "ACoilLen", "", 145, 175, 100);
    PlaceLabel(p, "ALabel7", "cm", 250, 175, 40);
    ACompSel = new RadioGroup(p);
    ACompSel->setObjectName("ACompSel");
    ACompSel->setTitle("Compulation");
    ACompSel->SetItems({"L", "Number of turns", "Diameter of coil"});
    ACompSel->setGeometry(310, 20, 200, 110);
    // The unknown the selected item names, or `instead` when the edited field is that unknown.
    auto mode = [this](int self, int instead) {
        const int unknown = std::max(0, ACompSel->ItemIndex());
        return unknown == self ? instead : unknown;
    };
    auto after = [this](int number, int m) {
        Coil.Calc(m);
        UpdateFields(number);
    };
    AddField(10, edits[0], [this] { return RoundedOrEmpty(Coil.L * 1e6, 3); }, [=, this](double v) {
        v *= 1e-6;
        if (!(v > 0 && v < 0.1) || v == Coil.L) return;
        Coil.L = v;
        after(10, mode(0, 1));
    });
    AddField(11, edits[1], [this] { return Plain(Coil.N); }, [=, this](double v) {
        if (!(v > 0) || v == Coil.N) return;
        Coil.N = v;
        after(11, mode(1, 2));
    });
    AddField(12, edits[2], [this] { return Rounded(Coil.D, 2); }, [=, this](double v) {
        if (!(v > 0) || v == Coil.D) return;
        Coil.D = v;
        after(12, mode(2, 1));
    });
    AddField(13, edits[3], [this] { return Plain(Coil.d * 10); }, [=, this](double v) {
        if (!(v > 0) || v * 0.1 == Coil.d) return;
        Coil.d = v * 0.1;
        after(13, mode(-1, 0));
    });
    AddField(14, edits[4], [this] { return Plain(Coil.s * 10); }, [=, this](double v) {
        if (!(v >= 0) || v * 0.1 == Coil.s) return;
        Coil.s = v * 0.1;
        after(14, mode(-1, 0));
    });
}

void TOptDlgBox::BuildLMatchPage() {
    QWidget* p = LMatchPage;
    PlaceLabel(p, "MLabel1", "Freq", 10, 20, 60);
    auto* freq = PlaceNumberCombo(p, "MFreq", Presets(), 75, 20);
    PlaceLabel(p, "MLabel2", "MHz", 180, 20, 40);
    PlaceLabel(p, "MLabel3", "Feeder", 10, 50, 60);
    auto* z = PlaceEdit(p, "MEditZ", 75, 50);
    PlaceLabel(p, "MLabel4", "Ohm", 180, 50, 40);
    PlaceLabel(p, "MLabel5", "R", 250, 20, 30);
    auto* r = PlaceEdit(p, "MEditR", 280, 20);
    PlaceLabel(p, "MLabel6", "Ohm", 385, 20, 40);
    PlaceLabel(p, "MLabel7", "jX", 250, 50, 30);
    auto* x = PlaceEdit(p, "MEditX", 280, 50);
    PlaceLabel(p, "MLabel8", "Ohm", 385, 50, 40);
    MXSel = new RadioGroup(p);
    MXSel->setObjectName("MXSel");
    MXSel->setTitle("Composition");
    MXSel->SetItems({"C parallel", "C series"});
    MXSel->SetItemIndex(0);
    MXSel->setGeometry(10, 90, 150, 80);
    PBoxM = new PaintBox(p, [this](QWidget* box) { pictureParts_[box] = PaintLMatch(box, LMatch); });
    PBoxM->setObjectName("PBoxM");
    PBoxM->setGeometry(180, 90, LMatchPictureWidth, LMatchPictureHeight);
    auto recalc = [this](int number) {
        LMatch.Calc();
        UpdateFields(number);
        PBoxM->update();
    };
    AddField(20, freq, [this] { return LMatch.F == 0 ? QString() : Plain(LMatch.F * 1e-6); }, [=, this](double v) {
        if (!(v > 0) || v * 1e6 == LMatch.F) return;
        LMatch.F = v * 1e6;
        recalc(20);
    });
    AddField(21, z, [this] { return Plain(LMatch.Z); }, [=, this](double v) {
        if (!(v > 0) || v == LMatch.Z) return;
        LMatch.Z = v;
        recalc(21);
    });
    AddField(22, r, [this] { return Rounded(LMatch.R, 2); }, [=, this](double v) {
        if (!(v > 0) || v == LMatch.R) return;
        LMatch.R = v;
        recalc(22);
    });
    AddField(23, x, [this] { return Rounded(LMatch.X, 2); }, [=, this](double v) {
        if (v == LMatch.X) return;
        LMatch.X = v;
        recalc(23);
    });
    ConnectGuarded(MXSel, &RadioGroup::Clicked, this, [=, this](int index) {
        LMatch.SeriesC = index == 1 ? 1 : 0;
        recalc(-1);
    });
}

void TOptDlgBox::LineChanged(int number) {
    if (QCompZL->isChecked())
        Line.ZLFromZi();
    else
        Line.ZiFromZL();
    Line.CalcLine();
    UpdateFields(number);
}

void TOptDlgBox::QMatchChanged(int number) {
    Line.CalcQMatch();
    Line.CalcLine();
    UpdateFields(number);
}

void TOptDlgBox::BuildLine1Page() {
    QWidget* p = Line1Page;
    PlaceLabel(p, "QLabel1", "Impedance", 10, 10, 200);
    PlaceLabel(p, "QLabelZi", "Zi", 10, 35, 30);
    auto* ri = PlaceEdit(p, "QEdRi1", 40, 35, 80);
    auto* xi = PlaceEdit(p, "QEdXi1", 125, 35, 80);
    QSwrI = PlaceLabel(p, "QSwrI", "SWR", 210, 35, 150);
    PlaceLabel(p, "QLabelZL", "ZL", 10, 65, 30);
    auto* rl = PlaceEdit(p, "QEdRL1", 40, 65, 80);
    auto* xl = PlaceEdit(p, "QEdXL1", 125, 65, 80);
    QSwrL = PlaceLabel(p, "QSwrL", "SWR", 210, 65, 150);
    PlaceLabel(p, "QLabel2", "Line", 10, 95, 30);
    auto* zo = PlaceNumberCombo(p, "QEdZo",
                                {"12.5", "25", "37.5", "50", "75", "93", "100", "150", "200", "240", "300", "400", "450",
                                 "500", "600", "1000"},
                                40, 95, 80);
    PlaceLabel(p, "QLabel3", "Ohm", 125, 95, 35);
    auto* len = PlaceEdit(p, "QEdL", 160, 95, 70);
    PlaceLabel(p, "QLabel4", "wl", 235, 95, 25);
    PlaceLabel(p, "QLabel5", "Loss", 265, 95, 40);
    auto* loss = PlaceEdit(p, "QEdA", 305, 95, 60);
    QCompZL = new QCheckBox("Compute ZL", p);
    QCompZL->setObjectName("QCompZL");
    QCompZL->setGeometry(380, 95, 140, 24);

    PlaceLabel(p, "QLabel6", "Q-match", 10, 140, 200);
    PlaceLabel(p, "QLabelRi2", "Ri", 10, 165, 30);
    auto* ri2 = PlaceEdit(p, "QEdRi2", 40, 165, 80);
    QSwrQ = PlaceLabel(p, "QSwrQ", "SWR", 210, 165, 150);
    PlaceLabel(p, "QLabelZL2", "ZL", 10, 195, 30);
    auto* rl2 = PlaceEdit(p, "QEdRL2", 40, 195, 80);
    auto* xl2 = PlaceEdit(p, "QEdXL2", 125, 195, 80);
    PlaceLabel(p, "QLabel7", "Line1", 10, 225, 40);
    auto* zo1 = PlaceEdit(p, "QEdZo1", 55, 225, 70);
    auto* l1 = PlaceEdit(p, "QEdL1", 160, 225, 70);
    PlaceLabel(p, "QLabel8", "Line2", 10, 255, 40);
    auto* zo2 = PlaceEdit(p, "QEdZo2", 55, 255, 70);
    auto* l2 = PlaceEdit(p, "QEdL2", 160, 255, 70);
    QMBtn = PlaceButton(p, "QMBtn", "TUNE", 260, 240);
    ConnectGuarded(QMBtn, &QPushButton::clicked, this, [this] { QMBtnClick(); });

    auto cplx = [this](int number, Cplx& z, bool real) {
        return [this, number, &z, real](double v) {
            if (v == (real ? z.real() : z.imag())) return;
            z = real ? Cplx(v, z.imag()) : Cplx(z.real(), v);
            if (number < 50) {
                if (number <= 41)
                    Line.ZLFromZi();
                else
                    Line.ZiFromZL();
                Line.CalcLine();
                UpdateFields(number);
            } else {
                QMatchChanged(number);
            }
        };
    };
    AddField(40, ri, [this] { return Rounded(Line.Zi.real(), 2); }, cplx(40, Line.Zi, true));
    AddField(41, xi, [this] { return Rounded(Line.Zi.imag(), 2); }, cplx(41, Line.Zi, false));
    AddField(42, rl, [this] { return Rounded(Line.ZL.real(), 2); }, cplx(42, Line.ZL, true));
    AddField(43, xl, [this] { return Rounded(Line.ZL.imag(), 2); }, cplx(43, Line.ZL, false));
    AddField(44, zo, [this] { return Rounded(Line.Zo.real(), 2); }, [this](double v) {
        if (!(v > 0) || v == Line.Zo.real()) return;
        Line.Zo = Cplx(v, 0);
        LineChanged(44);
    });
    // A plain number of the page; `after` recalculates for control `number`.
    auto number = [this](double& field, void (TOptDlgBox::*after)(int), int id) {
        return [this, &field, after, id](double v) {
            if (v == field) return;
            field = v;
            (this->*after)(id);
        };
    };
    AddField(45, len, [this] { return Rounded(Line.L, 2); }, number(Line.L, &TOptDlgBox::LineChanged, 45));
    AddField(46, loss, [this] { return Plain(Line.Loss); }, number(Line.Loss, &TOptDlgBox::LineChanged, 46));
    AddField(50, ri2, [this] { return Rounded(Line.Ri2.real(), 2); }, cplx(50, Line.Ri2, true));
    AddField(51, rl2, [this] { return Rounded(Line.ZL2.real(), 2); }, cplx(51, Line.ZL2, true));
    AddField(52, xl2, [this] { return Rounded(Line.ZL2.imag(), 2); }, cplx(52, Line.ZL2, false));
    // Two lines of one impedance transform nothing: the other one moves away.
    auto lineZ = [this](int number, Cplx& self, Cplx& other) {
        return [this, number, &self, &other](double v) {
            if (!(v > 0) || v == self.real()) return;
            self = Cplx(v, 0);
            if (self == other) other = Cplx(v <= 60 ? 75 : 50, 0);
            QMatchChanged(number);
        };
    };
    AddField(53, zo1, [this] { return Plain(Line.Zo1.real()); }, lineZ(53, Line.Zo1, Line.Zo2));
    AddField(55, zo2, [this] { return Plain(Line.Zo2.real()); }, lineZ(55, Line.Zo2, Line.Zo1));
    AddField(54, l1, [this] { return Plain(Line.L1); }, number(Line.L1, &TOptDlgBox::QMatchChanged, 54));
    AddField(56, l2, [this] { return Plain(Line.L2); }, number(Line.L2, &TOptDlgBox::QMatchChanged, 56));
}

void TOptDlgBox::QMBtnClick() {
    Line.TuneQMatch();
    Line.CalcQMatch();
    Line.CalcLine();
    UpdateFields(-1);
}

void TOptDlgBox::BuildLine2Page() {
    QWidget* p = Line2Page;
    struct Row {
        int number;
        const char *name, *label;
    };
    const Row rows[] = {{60, "SMEditR", "R"},      {61, "SMEditX", "jX"},    {62, "SMEditZo", "Zo"},
                        {63, "SMEditCm", "Vf"},    {64, "SMEditFreq", "F"}, {65, "SMEditZi", "Zi"}};
    for (const Row& r : rows) {
        const int y = 15 + 28 * (r.number - 60);
        PlaceLabel(p, (std::string(r.name) + "Label").c_str(), r.label, 10, y, 40);
        QWidget* control = r.number == 64 ? static_cast<QWidget*>(PlaceNumberCombo(p, r.name, Presets(), 50, y, 96))
                                          : PlaceEdit(p, r.name, 50, y, 90);
        double* target[] = {&StubMatch.R, &StubMatch.X, &StubMatch.Zo, &StubMatch.Vf, &StubMatch.F, &StubMatch.Zi};
        double* value = target[r.number - 60];
        const int number = r.number;
        auto show = [value, number] { return number <= 61 ? Rounded(*value, 2) : Plain(*value); };
        AddField(number, control, show, [this, value, number](double v) {
            if ((number != 61 && !(v > 0)) || v == *value) return;
            *value = v;
            // A new load, line or target invalidates the solutions; Vf and F only rescale them.
            if (number != 63 && number != 64) StubMatch.Count = 0;
            UpdateFields(number);
        });
    }
    SMCalcBtn = PlaceButton(p, "SMCalcBtn", "TUNE", 50, 190);
    ConnectGuarded(SMCalcBtn, &QPushButton::clicked, this, [this] { SMCalcBtnClick(); });
    PlaceLabel(p, "SMLabel1", "Var 1", 160, 4, 100);
    SMVar1 = PlaceLabel(p, "SMVar1", "None", 160, 22, 360, 98);
    PlaceLabel(p, "SMLabel2", "Var 2", 160, 120, 100);
    SMVar2 = PlaceLabel(p, "SMVar2", "None", 160, 140, 360, 100);
    SMImage = new PaintBox(p, [this](QWidget* box) { pictureParts_[box] = PaintStubMatch(box); });
    SMImage->setObjectName("SMImage");
    SMImage->setGeometry(10, 244, StubMatchPictureWidth, StubMatchPictureHeight);
    for (QLabel* l : {SMVar1, SMVar2}) {
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QFont f = font();
        f.setPointSize(std::max(1, f.pointSize() - 1));
        l->setFont(f);
    }
}

void TOptDlgBox::SMCalcBtnClick() {
    StubMatch.Solve();
    UpdateFields(-1);
}

void TOptDlgBox::CTypeChange() {
    if (!Editing) return;
    auto* box = qobject_cast<QComboBox*>(Field(31));
    const int row = FindCable(box->currentText().toStdString());
    Stub.Row = row;
    const bool user = row == 0;
    if (!user) {
        Stub.SelectRow(row);
        Stub.Calc(0);
    }
    Field(35)->setEnabled(user);
    Field(36)->setEnabled(user);
    UpdateFields(31);
}

void TOptDlgBox::BuildStubPage() {
    QWidget* p = StubPage;
    PlaceLabel(p, "CLabel1", "Frequency", 10, 20, 110);
    auto* freq = PlaceNumberCombo(p, "CFreq", Presets(), 125, 20);
    PlaceLabel(p, "CLabel2", "MHz", 230, 20, 40);
    PlaceLabel(p, "CLabel3", "Type of line", 10, 50, 110);
    QStringList names;
    for (int i = 0; i < CableCount; ++i) names << QString::fromLatin1(CableTable[i].Name);
    auto* type = PlaceCombo(p, "CType", names, 125, 50, 140);
    type->setEditText("5D2V");
    PlaceLabel(p, "CLabel4", "Vf", 280, 50, 30);
    auto* vf = PlaceEdit(p, "CEditP", 310, 50, 70);
    PlaceLabel(p, "CLabel5", "Ohm", 385, 50, 40);
    auto* z0 = PlaceEdit(p, "CEditZ", 425, 50, 70);
    PlaceLabel(p, "CLabel6", "Length", 10, 80, 110);
    auto* len = PlaceEdit(p, "CEditL", 125, 80);
    PlaceLabel(p, "CLabel7", "cm", 230, 80, 40);
    PlaceLabel(p, "CLabel8", "Reactance", 10, 110, 110);
    auto* x = PlaceEdit(p, "CEditX", 125, 110);
    PlaceLabel(p, "CLabel9", "Ohm", 230, 110, 40);
    CLCName = PlaceLabel(p, "CLCName", "C", 10, 140, 110);
    auto* lc = PlaceEdit(p, "CEditLC", 125, 140);
    CLCUnit = PlaceLabel(p, "CLCUnit", "pF", 230, 140, 40);
    CFoLabel = PlaceLabel(p, "CFoLabel", "", 10, 175, 300);
    CStub = new RadioGroup(p);
    CStub->setObjectName("CStub");
    CStub->setTitle("Stub");
    CStub->SetItems({"open", "short"});
    CStub->SetItemIndex(0);
    CStub->setGeometry(310, 90, 150, 80);
    vf->setEnabled(false);
    z0->setEnabled(false);
    auto take = [this](int number, double& field, int mode, bool (*admit)(double)) {
        return [this, number, &field, mode, admit](double v) {
            if (!admit(v) || v == field) return;
            field = v;
            Stub.Calc(mode);
            UpdateFields(number);
        };
    };
    auto any = [](double) { return true; };
    auto positive = [](double v) { return v > 0; };
    AddField(30, freq, [this] { return Plain(Stub.F * 1e-6); }, [this](double v) {
        // No wavelength without a frequency: 0 is not taken.
        if (!(v > 0) || v * 1e6 == Stub.F) return;
        Stub.F = v * 1e6;
        Stub.Calc(0);
        UpdateFields(30);
    });
    fields_[31] = {type, [this] { return QString::fromLatin1(CableTable[std::clamp(Stub.Row, 0, CableCount - 1)].Name); },
                   {}};
    ConnectGuarded(type, &QComboBox::editTextChanged, this, [this] { CTypeChange(); });
    AddField(35, vf, [this] { return Plain(Stub.Vf); }, take(35, Stub.Vf, 0, positive));
    AddField(36, z0, [this] { return Plain(Stub.Z0); }, take(36, Stub.Z0, 0, positive));
    AddField(32, len, [this] { return Rounded(Stub.Length, 1); }, take(32, Stub.Length, 3, [](double v) { return v >= 0; }));
    // An open stub of no length is an open circuit: its reactance is shown
    // as infinite, not as the number that stands for it.
    AddField(33, x, [this] { return Stub.X == OpenStubReactance ? QString::fromUtf8("-\xE2\x88\x9E") : Rounded(Stub.X, 1); },
             take(33, Stub.X, 1, any));
    AddField(34, lc, [this] { return Rounded(Stub.LC, 1); }, take(34, Stub.LC, 0, any));
    ConnectGuarded(CStub, &RadioGroup::Clicked, this, [this](int index) {
        Stub.Shorted = index == 1 ? 1 : 0;
        Stub.Calc(3);
        UpdateFields(-1);
    });
}

void TOptDlgBox::WriteLabels() {
    TWaveLabel->setText(Q(Res.WavelengthText()).replace("\r\n", "\n"));
    ACoilLen->setText(Rounded(Coil.Length(), 2));
    PBoxM->update();
    QSwrI->setText(SwrWords[0] + Printf("(%.2lf)=%s", Line.Zo.real(), DblToStr3(Line.SWRi)));
    QSwrL->setText(SwrWords[1] + Printf("(%.2lf)=%s", Line.Zo.real(), DblToStr3(Line.SWRL)));
    QSwrQ->setText(SwrWords[2] + Printf("(%.2lf)=%s", Line.Ri2.real(), DblToStr3(Line.SWRq)));
    auto text = [](const std::string& s) { return Q(s).replace("\r\n", "\n"); };
    SMVar1->setText(text(StubMatch.SolutionText(1)));
    SMVar2->setText(text(StubMatch.SolutionText(2)));
    const bool inductive = Stub.X >= 0;
    CLCName->setText(inductive ? "L" : "C");
    CLCUnit->setText(inductive ? "uH" : "pF");
    CFoLabel->setText(Stub.Fo == 0 ? QString() : "Fo=" + Q(DblToStr(RoundTo(Stub.Fo, 3))) + " MHz (1/4wl)");
    CStub->SetItemIndex(Stub.Shorted);
}
