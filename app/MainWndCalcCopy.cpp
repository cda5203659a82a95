// The calculation copy: grounded wire ends turned round in the user's antenna,
// then the antenna itself or its stacked heap copy handed to the engine's
// model preparation.
#include "app/MainWnd.h"
#include "model/StackedAnt.h"

#include <QString>

bool TMainWnd::BuildStackedAnt() {
    std::string error;
    if (CalcAnt == &Ant) CalcAnt = new AntDef;
    if (!BuildStackedAntenna(Ant, *CalcAnt, error)) {
        // The stack does not fit the record: calculate nothing and say why.
        FreeCalcCopy();
        AddLogLine(QString::fromStdString(error));
        SetLogFailed(true);
        return false;
    }
    return true;
}

int TMainWnd::PrepareCalcAnt() {
    if (StackCountH(Ant) == 1 && StackCountV(Ant) == 1) {
        FreeCalcCopy();
    } else {
        ClearLog();
        if (!BuildStackedAnt()) return 0;
    }
    return 1;
}
