#include "app/Settings.h"
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "model/LanguageState.h"
#include "model/RecentFiles.h"
#include "draw/PolarPlot.h"
#include "platform/IniFile.h"
#include "platform/System.h"
#include "platform/WindowBox.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QSlider>
#include <QTabWidget>
#include <QToolBar>
#include <algorithm>
#include <clocale>

namespace {

const char* const MediumKeys[4] = {"Dieleciric", "Conductivity", "Coord", "Height"};
const MediumValue MediumKinds[4] = {MediumValue::Dielectric, MediumValue::Conductivity, MediumValue::Coord,
                                    MediumValue::Height};

double* MediumField(int key, int k) {
    switch (key) {
        case 0: return &EnvDef.Dieleciric[k];
        case 1: return &EnvDef.Conductivity[k];
        case 2: return &EnvDef.Coord[k];
        default: return &EnvDef.Height[k];
    }
}

std::string Key(const char* stem, int n) { return std::string(stem) + std::to_string(n); }

}  // namespace

int ReadSettings(TMainWnd& w, const std::string& path) {
    std::setlocale(LC_NUMERIC, "C");
    const bool existed = QFileInfo::exists(QString::fromStdString(path));
    IniFile ini(path);

    LanguageIndex = std::max(-1, ini.ReadInteger("Language", "langua", 0));

    RestoreWindowBox(w, ini, "Position", QRect(w.pos(), w.size()), {}, QSize(320, 240));

    PatternHVScale = ini.ReadFloat("H/V", "KHScr", 1.0);
    if (!(PatternHVScale > 0.01 && PatternHVScale < 100.0)) PatternHVScale = 1.0;
    const int tab = ini.ReadInteger("Position", "Tab", w.Page->tabPosition() == QTabWidget::South ? 1 : 0);
    w.Page->setTabPosition(tab == 1 ? QTabWidget::South : QTabWidget::North);
    w.TBarSC->setMaximum(std::clamp(ini.ReadInteger("View", "MaxMast", w.TBarSC->maximum()), 2, 1000));
    const bool toolbar = ini.ReadInteger("Position", "ToolBar", 1) == 1;
    w.ToolBV->setChecked(toolbar);
    w.ToolBar1->setVisible(toolbar);

    w.AntFolder = QString::fromStdString(ini.ReadString("Directory", "ANT", w.AntFolder.toStdString()));
    w.ResFolder = QString::fromStdString(ini.ReadString("Directory", "RES", w.ResFolder.toStdString()));
    QAction* userItems[UserProgramCount] = {w.User1Menu, w.User2Menu, w.User3Menu};
    for (int i = 0; i < UserProgramCount; ++i) {
        UserProgramSlots[i].Path = ini.ReadString("Directory", Key("User", i + 1) + "Prog", "");
        UserProgramSlots[i].PassAntenna = ini.ReadBool("Directory", Key("User", i + 1) + "kva", false);
        if (!UserProgramSlots[i].Path.empty())
            userItems[i]->setText(QFileInfo(QString::fromStdString(UserProgramSlots[i].Path)).fileName());
    }

    EnvDef.Type = std::clamp(ini.ReadInteger("Env", "Type", EnvDef.Type), 0, 2);
    const double height = ini.ReadFloat("Env", "AntHeight", EnvDef.AntHeight);
    EnvDef.AntHeight = std::clamp(height, -1e6, 1e6);
    EnvDef.MediaMax = std::clamp(ini.ReadInteger("Env", "MediaMax", EnvDef.MediaMax), 1, MaxMedia);
    EnvDef.MediaType = std::clamp(ini.ReadInteger("Env", "MediaType", EnvDef.MediaType), 0, 1);
    EnvDef.RadialCount = std::clamp(ini.ReadInteger("Env", "RadialCount", EnvDef.RadialCount), 0, 10000);
    EnvDef.RadialRadius = ini.ReadFloat("Env", "RadialRadius", EnvDef.RadialRadius);
    if (!(EnvDef.RadialRadius > 0.0)) EnvDef.RadialRadius = 0.0008;
    for (int k = 1; k <= MaxMedia; ++k)
        for (int key = 0; key < 4; ++key) {
            // A value no medium takes keeps the one before, as in the media dialog.
            double* field = MediumField(key, k - 1);
            const double value = ini.ReadFloat("Env", Key(MediumKeys[key], k), *field);
            if (MediumValueInRange(MediumKinds[key], value)) *field = value;
        }
    EnvDef.Height[0] = 0.0;
    EnvDef.PMAX = std::clamp(ini.ReadInteger("Env", "PMAX", EnvDef.PMAX), 1, MaxPulseLimit);
    EnvDef.FontSize = std::clamp(ini.ReadInteger("Env", "FontSize", EnvDef.FontSize), -3, 3);

    JobDef.Ant3D = ini.ReadInteger("Job", "Ant3D", JobDef.Ant3D);
    JobDef.IntPos = ini.ReadInteger("Job", "IntPos", JobDef.IntPos);
    JobDef.CurDir = ini.ReadInteger("Job", "CurDir", JobDef.CurDir);
    JobDef.FixFreeAngle = ini.ReadInteger("Job", "FixFreeAngle", JobDef.FixFreeAngle);
    JobDef.WindowState = std::clamp(ini.ReadInteger("Job", "WindowState", JobDef.WindowState), 0, 2);
    JobDef.RecentMax = std::clamp(ini.ReadInteger("Recent File", "Max", JobDef.RecentMax), 0, RecentFiles::MaxEntries);
    JobDef.OnlyKVA = ini.ReadInteger("Recent File", "OnlyKVA", JobDef.OnlyKVA);
    w.Recent.Clear();
    for (int n = 1; n <= RecentFiles::MaxEntries; ++n)
        w.Recent.Append(ini.ReadString("Recent File", Key("File", n), ""), JobDef.OnlyKVA != 0);
    w.ShowRecentFiles();

    QFont font = w.font();
    font.setFamily(QString::fromStdString(ini.ReadString("Font", "Name", "Microsoft San Serif")));
    w.setFont(font);
    w.LnThickCB->setChecked(ini.ReadBool("GrSetUp", "LnThick", false));
    UserMaterialDef.Resistivity = ini.ReadFloat("UsMater", "UserLO", 0.0) * 1e-8;
    UserMaterialDef.Permeability = ini.ReadFloat("UsMater", "UserUS", 0.0);
    const double orient = ini.ReadFloat("Plot", "Orient", 0.0);
    PatternOrient = orient == 90.0 ? 90 : 0;
    w.OrientCB->setChecked(PatternOrient == 0);
    return existed ? 0 : 1;
}

bool WriteSettings(TMainWnd& w, const std::string& path) {
    std::setlocale(LC_NUMERIC, "C");
    IniFile ini(path);
    ini.WriteInteger("Language", "langua", LanguageIndex);
    WriteWindowBox(ini, w, "Position");
    ini.WriteFloat("H/V", "KHScr", PatternHVScale);
    ini.WriteInteger("ManFont", "Size", w.Label2->font().pointSize());
    ini.WriteInteger("Position", "Tab", w.Page->tabPosition() == QTabWidget::South ? 1 : 0);
    ini.WriteInteger("Position", "ToolBar", w.ToolBar1->isVisibleTo(&w) ? 1 : 0);
    ini.WriteInteger("View", "MaxMast", w.TBarSC->maximum());
    ini.WriteString("Directory", "ANT", w.AntFolder.toStdString());
    ini.WriteString("Directory", "RES", w.ResFolder.toStdString());

    ini.WriteInteger("Env", "Type", EnvDef.Type);
    ini.WriteFloat("Env", "AntHeight", EnvDef.AntHeight);
    ini.WriteInteger("Env", "MediaMax", EnvDef.MediaMax);
    ini.WriteInteger("Env", "MediaType", EnvDef.MediaType);
    ini.WriteInteger("Env", "RadialCount", EnvDef.RadialCount);
    ini.WriteFloat("Env", "RadialRadius", EnvDef.RadialRadius);
    for (int k = 1; k <= MaxMedia; ++k)
        for (int key = 0; key < 4; ++key) ini.WriteFloat("Env", Key(MediumKeys[key], k), *MediumField(key, k - 1));
    ini.WriteInteger("Env", "PMAX", EnvDef.PMAX);
    ini.WriteInteger("Env", "FontSize", EnvDef.FontSize);

    ini.WriteInteger("Job", "Ant3D", JobDef.Ant3D);
    ini.WriteInteger("Job", "IntPos", JobDef.IntPos);
    ini.WriteInteger("Job", "CurDir", JobDef.CurDir);
    ini.WriteInteger("Job", "FixFreeAngle", JobDef.FixFreeAngle);
    ini.WriteInteger("Job", "WindowState", w.isMaximized() ? 2 : w.isMinimized() ? 1 : 0);

    ini.WriteInteger("Recent File", "Max", JobDef.RecentMax);
    ini.WriteInteger("Recent File", "OnlyKVA", JobDef.OnlyKVA);
    for (int k = w.Recent.Count(); k >= 1; --k)
        if (!w.Recent.At(k - 1).empty()) ini.WriteString("Recent File", Key("File", k), w.Recent.At(k - 1));

    ini.WriteBool("GrSetUp", "LnThick", w.LnThickCB->isChecked());
    for (int i = 0; i < UserProgramCount; ++i) {
        ini.WriteString("Directory", Key("User", i + 1) + "Prog", UserProgramSlots[i].Path);
        ini.WriteBool("Directory", Key("User", i + 1) + "kva", UserProgramSlots[i].PassAntenna);
    }
    ini.WriteString("Font", "Name", w.font().family().toStdString());
    ini.WriteFloat("UsMater", "UserLO", UserMaterialDef.Resistivity * 1e8);
    ini.WriteFloat("UsMater", "UserUS", UserMaterialDef.Permeability);
    ini.WriteFloat("Plot", "Orient", PatternOrient);
    return ini.UpdateFile();
}
