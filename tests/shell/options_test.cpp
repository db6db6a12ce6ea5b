// The computation options: the radio buttons, the "Opcje" menu and its
// one-way sync, the precision combo boxes.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>

#include "shell/main_window.h"
#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

using testing::Code;
using testing::MainWindowTest;

class Options : public MainWindowTest {
 protected:
  bool Checked(const char* name) { return Find<QRadioButton>(name)->isChecked(); }
  void Trigger(const char* name) { Window().findChild<QAction*>(name)->trigger(); }
  QAction* MenuItem(const QString& menu, const QString& submenu, const QString& item) {
    for (QAction* top : Window().menuBar()->actions()) {
      if (top->text() != menu) continue;
      for (QAction* sub : top->menu()->actions()) {
        if (sub->text() != submenu) continue;
        for (QAction* action : sub->menu()->actions()) {
          if (action->text() == item) return action;
        }
      }
    }
    ADD_FAILURE() << item.toStdString();
    return nullptr;
  }
};

TEST_F(Options, StartAtTheirDefaults) {
  const JobDescription& s = Window().Selection();
  EXPECT_EQ(Code(s.Method), 0);
  EXPECT_EQ(Code(s.BLInputFormat), 1);
  EXPECT_EQ(Code(s.BLOutputFormat), 1);
  EXPECT_EQ(s.SecondsDecimals, 6);
  EXPECT_EQ(s.LinearDecimals, 4);
  EXPECT_TRUE(Checked("methodEmpirical"));
  EXPECT_TRUE(Checked("inputFormatDms"));
  EXPECT_TRUE(Checked("outputFormatDms"));
  EXPECT_EQ(Find<QComboBox>("secondsPrecisionCombo")->currentText(), "0.000001 \" ");
  EXPECT_EQ(Find<QComboBox>("linearPrecisionCombo")->currentText(), "0.0001m");
}

TEST_F(Options, ComboItemsAreTheFixedTextsAndEditable) {
  auto* seconds = Find<QComboBox>("secondsPrecisionCombo");
  auto* linear = Find<QComboBox>("linearPrecisionCombo");
  const QStringList secondsItems = {"0.000001 \" ", "0.00001 \"", "0.0001\" "};
  const QStringList linearItems = {"0.0001m", "0.001m", "0.01m "};
  ASSERT_EQ(seconds->count(), 3);
  ASSERT_EQ(linear->count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(seconds->itemText(i), secondsItems[i]);
    EXPECT_EQ(linear->itemText(i), linearItems[i]);
  }
  EXPECT_TRUE(seconds->isEditable());
  EXPECT_TRUE(linear->isEditable());
}

int MethodCode(const JobDescription& s) { return Code(s.Method); }
int InputFormatCode(const JobDescription& s) { return Code(s.BLInputFormat); }
int OutputFormatCode(const JobDescription& s) { return Code(s.BLOutputFormat); }

TEST_F(Options, RadioButtonsStoreTheirValues) {
  const struct {
    const char* radio;
    int (*field)(const JobDescription&);
    int value;
  } kRadios[] = {
      {"methodTheoretical", &MethodCode, 1},
      {"methodEmpirical", &MethodCode, 0},
      {"inputFormatDegrees", &InputFormatCode, 2},
      {"inputFormatDms", &InputFormatCode, 1},
      {"outputFormatDegrees", &OutputFormatCode, 2},
      {"outputFormatDms", &OutputFormatCode, 1},
  };
  for (const auto& r : kRadios) {
    Click(r.radio);
    EXPECT_EQ(r.field(Window().Selection()), r.value) << r.radio;
    EXPECT_TRUE(Checked(r.radio));
  }
}

TEST_F(Options, MenuChecksTheRadioButtonAndTheRadioButtonsLeaveTheMenuUnmarked) {
  const struct {
    const char* submenu;
    const char* item;
    const char* radio;
    int (*field)(const JobDescription&);
    int value;
  } kItems[] = {
      {"Metoda obliczeniowa    ", " Matematyczna (teoretyczna)", "methodTheoretical", &MethodCode,
       1},
      {"Metoda obliczeniowa    ", " Empiryczna", "methodEmpirical", &MethodCode, 0},
      {"Format danych B, L", " stopnie [real]", "inputFormatDegrees", &InputFormatCode, 2},
      {"Format danych B, L", " stopnie [int]  minuty [int]  sekundy [real] ", "inputFormatDms",
       &InputFormatCode, 1},
      {"Format wyników B, L", "stopnie [real]", "outputFormatDegrees", &OutputFormatCode, 2},
      {"Format wyników B, L", "stopnie [int]  minuty [int]  sekundy [real]  ", "outputFormatDms",
       &OutputFormatCode, 1},
  };
  for (const auto& i : kItems) {
    QAction* action = MenuItem("Opcje", i.submenu, i.item);
    ASSERT_NE(action, nullptr);
    action->trigger();
    EXPECT_TRUE(Checked(i.radio)) << i.item;
    EXPECT_EQ(i.field(Window().Selection()), i.value) << i.item;
    EXPECT_FALSE(action->isCheckable());
  }
  Trigger("methodTheoreticalAction");
  Click("methodEmpirical");
  EXPECT_EQ(Code(Window().Selection().Method), 0);
  EXPECT_FALSE(Window().findChild<QAction*>("methodEmpiricalAction")->isChecked());
}

TEST_F(Options, PrecisionMenuItemsShowTheMatchingComboItem) {
  auto* seconds = Find<QComboBox>("secondsPrecisionCombo");
  auto* linear = Find<QComboBox>("linearPrecisionCombo");
  MenuItem("Opcje", "Precyzja zapisu B, L            ", "0.0001 \"")->trigger();
  EXPECT_EQ(seconds->currentText(), "0.0001\" ");
  MenuItem("Opcje", "Precyzja zapisu XYZ  ", " 0.001m")->trigger();
  EXPECT_EQ(linear->currentText(), "0.001m");
  // The job reads the combo texts; nothing else changes before a job.
  EXPECT_EQ(Window().Selection().SecondsDecimals, 6);
  EXPECT_EQ(Window().Selection().LinearDecimals, 4);
}

TEST_F(Options, SurviveModuleSwitchesAndResets) {
  Click("methodTheoretical");
  Click("inputFormatDegrees");
  Click("outputFormatDegrees");
  Find<QComboBox>("linearPrecisionCombo")->setCurrentIndex(2);
  for (const char* module :
       {"trans2d3dButton", "heightModuleButton", "quasigeoidModuleButton", "trans2d3dButton"})
    Click(module);
  Click("inputFrameEtrf2000");
  const JobDescription& s = Window().Selection();
  EXPECT_EQ(Code(s.Method), 1);
  EXPECT_EQ(Code(s.BLInputFormat), 2);
  EXPECT_EQ(Code(s.BLOutputFormat), 2);
  EXPECT_TRUE(Checked("methodTheoretical"));
  EXPECT_EQ(Find<QComboBox>("linearPrecisionCombo")->currentText(), "0.01m ");
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) { return kolvedir::testing::RunGuiTests(argc, argv); }
