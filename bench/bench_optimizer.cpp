// Speed of the optimizer on the 3-element Yagi (tests/data/yagi3.kva): the
// evaluations per second of the step search, with the director's length and
// spacing as variables and gain and F/B as goals, 2-degree calculation.
//   case=core          the search and the engine alone (preparation and quick
//                      calculation per evaluation, no window)
//   case=window_<tab>  the run from the main window's Optimization button,
//                      with the window's redraw of that tab and its message
//                      pump after every evaluation
// Every case runs the same search (the same variables, goals and steps, so
// the same evaluations) several times from the start antenna and prints
// evaluations, seconds and evaluations per second.
#include "MachineLoad.h"
#include "app/MainWnd.h"
#include "engine/CalcRuns.h"
#include "engine/EngineState.h"
#include "engine/LibraryTuning.h"
#include "engine/ModelPrep.h"
#include "engine/WireExpansion.h"
#include "model/AntennaText.h"
#include "model/EnvDef.h"
#include "model/EnvDefaults.h"
#include "model/Messages.h"
#include "model/ResultStore.h"
#include "model/SafeFile.h"
#include "optimizer/ACalDlg.h"
#include "optimizer/OptimizerState.h"
#include "platform/FormPattern.h"
#include "platform/ScriptedPrompter.h"
#include "platform/SettingsPath.h"
#include "platform/StringGrid.h"

#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Runs = 5;

std::string YagiText() {
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(KORVA_BENCH_DATA "/yagi3.kva", bytes, 1 << 20) != ReadFileStatus::Ok) return {};
    return std::string(bytes.begin(), bytes.end());
}

// The goals of every case: gain and F/B, equally weighted.
constexpr double GainWeight = 50, FBWeight = 50;

// Director (wire 3): X2 free and X1 = -X2, Y1 free and Y2 = Y1.
void DirectorRows(CACal& cal) {
    cal.SetRowCount(0);
    const struct {
        int field;
        int32_t link;
    } rows[] = {{6, LinkFree}, {5, -2}, {0, LinkFree}, {2, 2}};
    for (const auto& r : rows) {
        const int i = cal.RowCount();
        cal.SetRowCount(i + 1);
        ACalVarRec& row = cal.Row(i);
        row.Kind = KindWire;
        row.Item = 2;
        row.Field = r.field;
        cal.SetDefaultLimits(i);
        cal.Row(i).Link = r.link;
    }
    cal.SetGoals(GainWeight, FBWeight, 0, 0, 0, 0, 0);
    cal.RefreshValues();
}

void Report(const char* name, const bench::BusyMeter& meter, int evaluations, double seconds) {
    std::printf("case=%s kernel=%s busy=%.2f evaluations=%d seconds=%.3f evaluations_per_s=%.1f\n", name,
                BlasKernelName(), meter.Share(), evaluations, seconds, seconds > 0 ? evaluations / seconds : 0.0);
    std::fflush(stdout);
}

class EngineHost : public OptimizerHost {
public:
    explicit EngineHost(AntDef& ant) : ant_(ant) {}
    bool OptCalc() override {
        NormalizeGroundedWires(ant_);
        if (!PrepareModel(&ant_)) return false;
        RunQuickCalc();
        return true;
    }
    void AddLogLine(const std::string&) override {}
    void ClearLog() override {}
    void DrawOptInfo() override {}

private:
    AntDef& ant_;
};

void Core(const std::string& text) {
    const bench::BusyMeter meter;
    auto ant = std::make_unique<AntDef>();
    EnvRec env = EnvDef;
    std::string comment;
    int evaluations = 0;
    double seconds = 0;
    for (int run = 0; run < Runs; ++run) {
        *ant = AntDef{};
        // "R" in the file is the wavelength of a new antenna's frequency.
        JobDef.Wavelength = 299.792458 / 14.15;
        ParseAntennaText(*ant, env, text, comment);
        EnvDef = env;
        if (ant->CalcFreq == 0) ant->CalcFreq = ant->Freq;
        CACal cal;
        (void)cal.Attach(*ant, EnvDef);
        cal.Bands[0].Freq = ant->CalcFreq;
        cal.Bands[0].Sources[0] = ant->Sources[0];
        DirectorRows(cal);
        if (!cal.Validate().Ok() || !cal.Prepare().Ok()) return;
        // The row of the run, as the main window pushes it.
        Results.PushRow();
        Results.Row(0)->Ground = EnvDef.Type;
        Results.Row(0)->Height = static_cast<float>(EnvDef.AntHeight);
        Results.Row(0)->AzEl = EnvDef.AzEl;
        EngineHost host(*ant);
        const auto t0 = Clock::now();
        cal.Optimize(host);
        seconds += std::chrono::duration<double>(Clock::now() - t0).count();
        evaluations += cal.Evaluations;
    }
    Report("core", meter, evaluations, seconds);
}

void Window(const char* name, int tab) {
    const bench::BusyMeter meter;
    int evaluations = 0;
    double seconds = 0;
    for (int run = 0; run < Runs; ++run) {
        TMainWnd wnd({"korva"});
        wnd.show();
        QApplication::processEvents();
        if (wnd.OpenAntFile(KORVA_BENCH_DATA "/yagi3.kva") != 1) return;
        wnd.Page->setCurrentIndex(tab);
        QApplication::processEvents();
        ExecModalDialog = [&wnd](QDialog& d) {
            auto* dlg = dynamic_cast<TACalDlg*>(&d);
            if (!dlg || !wnd.ACal) return int(QDialog::Rejected);
            DirectorRows(*wnd.ACal);
            // The dialog takes its goals from its sliders when it closes.
            for (QSlider* bar : {dlg->TBELV, dlg->TBJX, dlg->TBSWR, dlg->TBMCH, dlg->TBCUR}) bar->setValue(0);
            dlg->TBGain->setValue(static_cast<int>(GainWeight));
            dlg->TBFB->setValue(static_cast<int>(FBWeight));
            dlg->OKBtnClick();
            return dlg->result();
        };
        const auto t0 = Clock::now();
        wnd.ACalBtnClick();
        seconds += std::chrono::duration<double>(Clock::now() - t0).count();
        if (wnd.ACal) evaluations += wnd.ACal->Evaluations;
        wnd.Ant.Changed = 0;
    }
    Report(name, meter, evaluations, seconds);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setlocale(LC_ALL, "");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTemporaryDir dir;
    SettingsPathOverride = dir.filePath("Korva.ini").toStdString();
    ScriptedPrompter answers;  // every question answered No: no log file
    ScopedPrompter scope(answers);
    const char* only = argc > 1 ? argv[1] : "";
    auto wanted = [&](const char* name) { return std::strstr(name, only) != nullptr; };
    const std::string text = YagiText();
    if (text.empty()) {
        std::fprintf(stderr, "cannot read yagi3.kva\n");
        return 1;
    }
    if (wanted("core")) {
        ApplyDefaultMessages();
        InitEnvironmentDefaults(8ull << 30);
        JobDef.Interactive = 0;
        EnvDef.PMAX = AllocEngineArrays(2048);
        Core(text);
    }
    if (wanted("window_view")) Window("window_view", 1);
    if (wanted("window_calculate")) Window("window_calculate", 2);
    if (wanted("window_plots")) Window("window_plots", 3);
    return 0;
}
