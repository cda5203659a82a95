#pragma once
// A main window with a calculated half-wave dipole, the state in which every
// form of EveryForm() can be opened.
#include "app/MainWndFixture.h"
#include "model/FedDipole.h"

#include "model/ResultStore.h"
#include "platform/RadioGroup.h"

#include <QPushButton>
#include <QRadioButton>

class PreparedMainWndTest : public MainWndTest {
protected:
    // A half-wave dipole for 14.2 MHz in free space, calculated once.
    void MakeDipole() {
        MakeFedDipole(wnd->Ant, WireRec{0, -5.1, 10, 0, 5.1, 10, 0.001, 21, 0, 0, 0});
        wnd->SetAntDef();
        Calculated();
    }
    // Each form is opened on a calculated antenna in free space, with the
    // first wire selected, whatever the form before it changed.
    void Calculated() {
        if (!wnd->CalcSel->Button(0)->isChecked()) wnd->CalcSel->Button(0)->click();
        if (!Results.HasFarField || wnd->Ant.Edited || !wnd->ResultsBelongToAntenna()) {
            wnd->UpdateMenuState();
            wnd->CalTrgBtn->click();
            QApplication::processEvents();
        }
        ASSERT_EQ(Results.HasFarField, 1) << wnd->LogLines().join("\n").toStdString();
        wnd->Page->setCurrentIndex(0);
        wnd->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(wnd.get()));
        wnd->Grid2->setFocus();
        wnd->Grid2->SetCurrentCell(1, 1);
        wnd->UpdateMenuState();
    }
};
