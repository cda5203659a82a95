// The optimizer's element rows keep the element the user chose through every
// main-window edit that numbers the elements along the boom anew, and through
// the restores of a kept antenna: by its wires, or removed with a log line.
#include "OptimizerRowsFixture.h"
#include "editing/RotWireDlg.h"
#include "editing/WireCadDlg.h"
#include "model/ElementVariables.h"
#include "model/EnvDef.h"
#include "optimizer/ACalDlg.h"
#include "optimizer/OptimizerState.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <functional>

namespace {

const char* const ReflectorGone = "Optimization line 1 (element 1): its wires were deleted; the line is removed.";
const char* const ReflectorJoined =
    "Optimization line 1 (element 1): its wires now make one element with other wires; the line is removed.";
const char* const DirectorJoined =
    "Optimization line 2 (element 3): its wires now make one element with other wires; the line is removed.";
const char* const RowsBack = "The optimization lines, bands and current goal are back as they were when the data were kept.";

}  // namespace

TEST_F(OptimizerRowsTest, ElementRowsKeepTheirElementThroughEveryEditAndRestore) {
    using Edit = std::function<void()>;
    const struct {
        const char* name;
        Edit edit;
        std::vector<double> widths;
        std::vector<std::string> lines;
    } cases[] = {
        {"a wire typed into the empty row behind the reflector",
         [this] { TypeWire(4, {"-8.4", "-5", "10", "-8.4", "5", "10"}); },
         {10.7, 9.6}, {}},
        {"the director's X typed behind the reflector",
         [this] { TypeWire(3, {"-12.6", "", "", "-12.6"}); },
         {10.7, 9.6}, {}},
        {"the director's end typed onto the reflector's",
         [this] { TypeWire(3, {"-4.2", "5.35", "10"}); },
         {}, {ReflectorJoined, DirectorJoined}},
        {"the director's end typed onto the reflector's, then the optimizer opened and cancelled",
         [this] {
             TypeWire(3, {"-4.2", "5.35", "10"});
             wnd->ACalBtn->click();  // the dialog is cancelled
             EXPECT_EQ(OptimizerLogLines(), (std::vector<std::string>{ReflectorJoined, DirectorJoined}));
         },
         {}, {}},
        {"the wire editor dividing the director's wire",
         [this] {
             Answer<TWireCadDlg>([](TWireCadDlg& d) {
                 d.Model.Select(2);
                 d.KP[2]->trigger();
             });
             wnd->KCAD->trigger();
         },
         {10.7, 9.6}, {}},
        {"the wire editor moving the director behind the reflector",
         [this] {
             Answer<TWireCadDlg>([](TWireCadDlg& d) { d.Model.Wires[2].X1 = d.Model.Wires[2].X2 = -12.6; });
             wnd->KCAD->trigger();
         },
         {10.7, 9.6}, {}},
        {"the antenna rotated half a turn",
         [this] {
             Answer<TRotWireDlg>([](TRotWireDlg& d) { d.EditDeg->setText("180"); });
             wnd->K33->trigger();
         },
         {10.7, 9.6}, {}},
        {"the reflector deleted, then restored from temporary memory",
         [this] {
             wnd->K38->trigger();
             DeleteWire(1);
             EXPECT_EQ(OptimizerLogLines(), std::vector<std::string>{ReflectorGone});
             prompter.AnswerMessage(BoxYes);
             wnd->K39->trigger();
         },
         {10.7, 9.6}, {RowsBack}},
        {"an optimization stopped, the reflector deleted, the data before the optimization restored",
         [this] {
             RunOptimizationStoppedEarly();
             ASSERT_TRUE(wnd->K36->isEnabled());
             DeleteWire(1);
             EXPECT_EQ(OptimizerLogLines(), std::vector<std::string>{ReflectorGone});
             prompter.AnswerMessage(BoxYes);
             wnd->K36->trigger();
         },
         {10.7, 9.6}, {RowsBack, "The optimization log belonged to other lines and is emptied."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OpenYagiWithRows();
        c.edit();
        EXPECT_EQ(WidthsTheRowsVary(), c.widths);
        EXPECT_EQ(OptimizerLogLines(), c.lines);
    }
}
