// The main window through its widgets: modules, frames, systems, zones, the
// file panels, the buttons and the start-up state.
#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>

#include "shell/editor_window.h"
#include "shell/file_list_dialog.h"
#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

using testing::Code;
using testing::MainWindowTest;
using testing::WriteAll;

const QStringList kModuleBoxes = {
    "GroupBox1",  "GroupBox2",  "GroupBox3",  "GroupBox4",  "GroupBox5",  "GroupBox6",
    "GroupBox7",  "GroupBox8",  "GroupBox9",  "GroupBox10", "GroupBox11", "GroupBox12",
    "GroupBox14", "GroupBox15", "GroupBox16", "GroupBox17", "Panel1",     "Panel2",
    "Panel3",     "Panel4",     "Panel5",     "Panel6"};
const QStringList kZoneChoosers = {"GroupBox2", "GroupBox3", "GroupBox4",
                                   "GroupBox5", "GroupBox6", "GroupBox7"};

class Controls : public MainWindowTest {
 protected:
  QStringList VisibleOf(const QStringList& names) {
    QStringList visible;
    for (const QString& name : names) {
      if (Visible(name)) visible << name;
    }
    return visible;
  }
};

TEST_F(Controls, StartsWithNothingChosenAndTheNoticeShown) {
  AddObjects({"DANE1"});
  MainWindow& window = Window();
  EXPECT_TRUE(window.windowTitle().startsWith("KOLVEDIR w.2.06 (2013)"));
  EXPECT_EQ(Code(window.Selection().ActiveModule), 0);
  EXPECT_EQ(VisibleOf(kModuleBoxes), QStringList());
  for (const char* always : {"GroupBox13", "GroupBox18", "GroupBox19", "ComboBox2", "ComboBox3",
                             "Memo1", "BitBtn5", "BitBtn3", "BitBtn7", "BitBtn4", "Panel7"}) {
    EXPECT_TRUE(Visible(always)) << always;
  }
  EXPECT_EQ(window.StatusText(0), " ");
  EXPECT_EQ(window.StatusText(1), "->");
  EXPECT_EQ(window.StatusText(2), " ");
  QStringList monitor = {"MONITOR"};
  for (int i = 0; i < 10; ++i) monitor << "";
  EXPECT_EQ(window.MonitorLines(), monitor);
  EXPECT_EQ(Find<QWidget>("Panel7")->palette().color(QPalette::Window), QColor(166, 202, 240));

  Click("Button1");
  EXPECT_FALSE(Visible("Panel7"));
}

TEST_F(Controls, CaptionsAndHintsAreTheFixedTexts) {
  const struct {
    const char* name;
    const char* caption;
    const char* hint;
  } kButtons[] = {
      {"BitBtn8", "TRANS-2D/3D", ""},
      {"BitBtn9", "TRANS-H", ""},
      {"BitBtn6", " PL-geoid - 2011", ""},
      {"BitBtn11", "Wykonaj obliczenia", "Transformacja pomiędzy wybranymi układami"},
      {"BitBtn7", "Wykonaj obliczenia", "Transformacja pomiędzy wybranymi układami"},
      {"BitBtn10", "+", "dodaj obiekt"},
      {"BitBtn3", "Notatnik", "Zobacz raport po kontroli"},
      {"BitBtn5", "FileListEdit", "Zobacz pliki i foldery"},
      {"BitBtn4", "WYJŚCIE", ""},
      {"SpeedButton4", "", "Edytor tekstu"},
      {"SpeedButton3", "", "Wyświetla listę plików obiektu"},
      {"owe1", " PL-ETRF2000/ep.2011 elipsoida GRS80 ", "opcja matematyczna"},
      {"owe3", " Pulkowo'42        elipsoida Krasowskiego ", ""},
      {"owy2", "PL-ETRF89  (POLREF)  elipsoida GRS80", "opcja mtematyczna skorygowana"},
      {"RadioButton35", "BL       -------------------> BLn.1", ""},
  };
  for (const auto& b : kButtons) {
    auto* button = Find<QAbstractButton>(b.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8(b.caption)) << b.name;
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(b.hint)) << b.name;
  }
  EXPECT_EQ(Find<QGroupBox>("GroupBox10")->title(), "el. Krasowskiego");
  EXPECT_EQ(Find<QGroupBox>("GroupBox4")->title(), "Pasy południkowe 3°");
  EXPECT_EQ(Find<QGroupBox>("GroupBox16")->title(), "UKŁAD ODNIESIENIA ETRF dla h (elips)");
}

TEST_F(Controls, MenusCarryTheFixedItems) {
  const QList<QPair<QString, QStringList>> kMenus = {
      {"&Obiekty", {"&Pokaż pliki", "&Dodaj obiekt", "&Importuj pliki...", "", "&Wyjście"}},
      {"&Edycja", {"Edytor &tekstowy"}},
      {"Opcje",
       {"Metoda obliczeniowa    ", "Format danych B, L", "Format wyników B, L",
        "Precyzja zapisu B, L            ", "Precyzja zapisu XYZ  "}},
      {"&Info", {"&Kolvedir-Info", "O &programie..."}},
  };
  auto* bar = Find<QMenuBar>("MainMenu1");
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->actions().size(), kMenus.size());
  for (int i = 0; i < kMenus.size(); ++i) {
    QAction* menu = bar->actions()[i];
    EXPECT_EQ(menu->text(), kMenus[i].first);
    QStringList items;
    for (QAction* item : menu->menu()->actions()) items << item->text();
    EXPECT_EQ(items, kMenus[i].second);
  }
}

TEST_F(Controls, InfoMenuShowsTheInformationAndAboutWindows) {
  QWidget info;
  QWidget about;
  Window().SetInfoWindows(&info, &about);
  Window().findChild<QAction*>("KolvedirInfo1")->trigger();
  EXPECT_TRUE(info.isVisible());
  EXPECT_FALSE(about.isVisible());
  Window().findChild<QAction*>("Oprogramie1")->trigger();
  EXPECT_TRUE(about.isVisible());
}

TEST_F(Controls, ModuleButtonsShowTheirFirstLevelBoxesOnly) {
  const struct {
    const char* button;
    int module;
    QStringList boxes;
  } kModules[] = {{"BitBtn8", 1, {"GroupBox8", "GroupBox9"}},
                  {"BitBtn9", 2, {"GroupBox14", "GroupBox15"}},
                  {"BitBtn6", 3, {"GroupBox16", "GroupBox17"}}};
  for (const auto& m : kModules) {
    Click(m.button);
    EXPECT_EQ(Code(Window().Selection().ActiveModule), m.module);
    EXPECT_EQ(VisibleOf(kModuleBoxes), m.boxes) << m.button;
  }
}

struct SystemCase {
  const char* frame;
  const char* system;
  int frameCode;
  int systemCode;
  const char* list;
  const char* chooser;  // "" for none
  const char* file;
};

class InputSystems : public Controls, public ::testing::WithParamInterface<SystemCase> {};

TEST_P(InputSystems, StoreTheCodeShowTheChooserAndTheFileName) {
  const SystemCase& c = GetParam();
  Click("BitBtn8");
  Click(c.frame);
  EXPECT_EQ(Code(Window().Selection().InputFrame), c.frameCode);
  EXPECT_EQ(VisibleOf({"GroupBox1", "GroupBox10"}), QStringList{c.list});
  EXPECT_EQ(Find<QWidget>(c.list)->pos(), QPoint(24, 200));
  Click(c.system);
  EXPECT_EQ(Window().Selection().InputSystem, c.systemCode);
  EXPECT_EQ(Window().Selection().InputZone, 0);
  const QStringList chooser = *c.chooser ? QStringList{c.chooser} : QStringList();
  EXPECT_EQ(VisibleOf(kZoneChoosers), chooser);
  EXPECT_TRUE(Visible("Panel2"));
  EXPECT_EQ(Find<QLabel>("Panel2")->text(), c.file);
  EXPECT_EQ(Window().StatusText(0), c.file);
  EXPECT_EQ(Window().StatusText(2), " ");
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, InputSystems,
    ::testing::Values(
        SystemCase{"owe1", "RadioButton1", 1, 1, "GroupBox1", "GroupBox4", "xy2000"},
        SystemCase{"owe2", "RadioButton2", 2, 2, "GroupBox1", "", "xy92"},
        SystemCase{"owe1", "RadioButton5", 1, 3, "GroupBox1", "GroupBox5", "UTM"},
        SystemCase{"owe2", "RadioButton3", 2, 4, "GroupBox1", "", "BLH_GRS"},
        SystemCase{"owe1", "RadioButton4", 1, 5, "GroupBox1", "", "XYZ_GRS"},
        SystemCase{"owe3", "RadioButton6", 3, 1, "GroupBox10", "GroupBox3", "xy65"},
        SystemCase{"owe3", "RadioButton7", 3, 2, "GroupBox10", "GroupBox4", "xy42_3"},
        SystemCase{"owe3", "RadioButton8", 3, 3, "GroupBox10", "GroupBox5", "xy42_6"},
        SystemCase{"owe3", "RadioButton23", 3, 4, "GroupBox10", "GroupBox4", "xy42_83_3"},
        SystemCase{"owe3", "RadioButton24", 3, 5, "GroupBox10", "GroupBox5", "xy42_83_6"},
        SystemCase{"owe3", "RadioButton38", 3, 6, "GroupBox10", "", "xyTARVO80"},
        SystemCase{"owe3", "RadioButton9", 3, 7, "GroupBox10", "", "BLH_KRA"},
        SystemCase{"owe3", "RadioButton10", 3, 8, "GroupBox10", "", "XYZ_KRA"}));

class OutputSystems : public Controls, public ::testing::WithParamInterface<SystemCase> {};

TEST_P(OutputSystems, StoreTheCodeShowTheChooserAndTheFileName) {
  const SystemCase& c = GetParam();
  Click("BitBtn8");
  Click(c.frame);
  EXPECT_EQ(Code(Window().Selection().OutputFrame), c.frameCode);
  EXPECT_EQ(VisibleOf({"GroupBox11", "GroupBox12"}), QStringList{c.list});
  EXPECT_EQ(Find<QWidget>(c.list)->pos(), QPoint(312, 200));
  Click(c.system);
  EXPECT_EQ(Window().Selection().OutputSystem, c.systemCode);
  const QStringList chooser = *c.chooser ? QStringList{c.chooser} : QStringList();
  EXPECT_EQ(VisibleOf(kZoneChoosers), chooser);
  EXPECT_EQ(Find<QLabel>("Panel3")->text(), c.file);
  EXPECT_EQ(Window().StatusText(2), c.file);
  EXPECT_EQ(Window().StatusText(0), " ");
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, OutputSystems,
    ::testing::Values(
        SystemCase{"owy1", "RadioButton11", 1, 1, "GroupBox11", "GroupBox7", "xy2000.1"},
        SystemCase{"owy2", "RadioButton12", 2, 2, "GroupBox11", "", "xy92.1"},
        SystemCase{"owy1", "RadioButton13", 1, 3, "GroupBox11", "GroupBox6", "UTM.1"},
        SystemCase{"owy1", "RadioButton14", 1, 4, "GroupBox11", "", "BLH_GRS.1"},
        SystemCase{"owy2", "RadioButton15", 2, 5, "GroupBox11", "", "XYZ_GRS.1"},
        SystemCase{"owy3", "RadioButton16", 3, 1, "GroupBox12", "GroupBox2", "xy65.1"},
        SystemCase{"owy3", "RadioButton17", 3, 2, "GroupBox12", "GroupBox7", "xy42_3.1"},
        SystemCase{"owy3", "RadioButton18", 3, 3, "GroupBox12", "GroupBox6", "xy42_6.1"},
        SystemCase{"owy3", "RadioButton25", 3, 4, "GroupBox12", "GroupBox7", "xy42_83_3.1"},
        SystemCase{"owy3", "RadioButton26", 3, 5, "GroupBox12", "GroupBox6", "xy42_83_6.1"},
        SystemCase{"owy3", "RadioButton39", 3, 6, "GroupBox12", "", "xyTARVO80.1"},
        SystemCase{"owy3", "RadioButton19", 3, 7, "GroupBox12", "", "BLH_KRA.1"},
        SystemCase{"owy3", "RadioButton20", 3, 8, "GroupBox12", "", "XYZ_KRA.1"}));

TEST_F(Controls, ZoneRadiosStoreTheirValueOnly) {
  const struct {
    const char* frame;
    const char* system;
    const char* zone;
    bool input;
    int value;
  } kZones[] = {
      {"owe1", "RadioButton1", "po15", true, 15},   {"owe1", "RadioButton1", "po18", true, 18},
      {"owe1", "RadioButton1", "po21", true, 21},   {"owe1", "RadioButton1", "po24", true, 24},
      {"owe1", "RadioButton5", "rwe1", true, 15},   {"owe1", "RadioButton5", "rwe2", true, 21},
      {"owe3", "RadioButton6", "str1", true, 1},    {"owe3", "RadioButton6", "str5", true, 5},
      {"owy1", "RadioButton11", "pow15", false, 15}, {"owy3", "RadioButton17", "pow24", false, 24},
      {"owy3", "RadioButton18", "rwy2", false, 21}, {"owy3", "RadioButton16", "sw3", false, 3},
  };
  Click("BitBtn8");
  for (const auto& z : kZones) {
    Click(z.frame);
    Click(z.system);
    const QStringList before = VisibleOf(kModuleBoxes);
    Click(z.zone);
    const JobDescription& s = Window().Selection();
    EXPECT_EQ(z.input ? s.InputZone : s.OutputZone, z.value) << z.zone;
    EXPECT_EQ(VisibleOf(kModuleBoxes), before) << z.zone;
  }
}

TEST_F(Controls, PulkovoInputClearsTheGrsChoiceAndLeavesTheOutputSide) {
  Click("BitBtn8");
  Click("owy1");
  Click("RadioButton14");
  Click("owe1");
  Click("RadioButton1");
  Click("po21");
  Click("owe3");
  const JobDescription& s = Window().Selection();
  EXPECT_EQ(Code(s.InputFrame), 3);
  EXPECT_EQ(s.InputSystem, 0);
  EXPECT_EQ(s.InputZone, 0);
  EXPECT_EQ(Code(s.InputKind), 0);
  EXPECT_FALSE(Visible("GroupBox1"));
  EXPECT_FALSE(Visible("GroupBox4"));
  EXPECT_FALSE(Visible("Panel2"));
  EXPECT_TRUE(Visible("GroupBox10"));
  EXPECT_FALSE(Find<QRadioButton>("RadioButton1")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("po21")->isChecked());
  EXPECT_EQ(Code(s.OutputFrame), 1);
  EXPECT_EQ(s.OutputSystem, 4);
  EXPECT_TRUE(Visible("Panel3"));
  EXPECT_TRUE(Visible("GroupBox11"));
}

TEST_F(Controls, AnotherSystemClearsTheZone) {
  Click("BitBtn8");
  Click("owe1");
  Click("RadioButton1");
  Click("po18");
  Click("RadioButton2");
  EXPECT_EQ(Window().Selection().InputSystem, 2);
  EXPECT_EQ(Window().Selection().InputZone, 0);
  EXPECT_FALSE(Visible("GroupBox4"));
  EXPECT_FALSE(Find<QRadioButton>("po18")->isChecked());
  EXPECT_EQ(Find<QLabel>("Panel2")->text(), "xy92");
}

TEST_F(Controls, Xy2000AndXy65ShareTheCodeAndDifferByFrame) {
  Click("BitBtn8");
  Click("owe1");
  Click("RadioButton1");
  const JobDescription grs = Window().Selection();
  Click("owe3");
  Click("RadioButton6");
  const JobDescription krassowsky = Window().Selection();
  EXPECT_EQ(grs.InputSystem, 1);
  EXPECT_EQ(krassowsky.InputSystem, 1);
  EXPECT_NE(grs.InputFrame, krassowsky.InputFrame);
}

TEST_F(Controls, ModuleSwitchClearsTheSelectionButNotTheStatusBar) {
  Click("BitBtn8");
  Click("owe1");
  Click("RadioButton1");
  Click("po21");
  Click("owy3");
  Click("RadioButton16");
  Click("sw2");
  Click("BitBtn9");
  const JobDescription& s = Window().Selection();
  EXPECT_EQ(Code(s.ActiveModule), 2);
  for (int value : {Code(s.InputFrame), Code(s.OutputFrame), s.InputSystem, s.OutputSystem,
                    s.InputZone, s.OutputZone, Code(s.InputKind), Code(s.OutputKind)}) {
    EXPECT_EQ(value, 0);
  }
  EXPECT_EQ(Window().StatusText(0), "xy2000");
  EXPECT_EQ(Window().StatusText(2), "xy65.1");
  Click("BitBtn8");
  EXPECT_FALSE(Find<QRadioButton>("owe1")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("sw2")->isChecked());
}

TEST_F(Controls, HeightModuleRadiosSetTheCodesAndPanels) {
  const struct {
    const char* radio;
    bool input;
    int code;
    const char* panel;
    const char* file;
  } kHeights[] = {
      {"RadioButton27", true, 11, "Panel1", "BLH_K86"},
      {"RadioButton28", true, 12, "Panel1", "BLH_K2006"},
      {"RadioButton29", true, 13, "Panel1", "BLH_EVRF"},
      {"RadioButton30", false, 11, "Panel4", "BLH_K86.1"},
      {"RadioButton31", false, 12, "Panel4", "BLH_K2006.1"},
      {"RadioButton32", false, 13, "Panel4", "BLH_EVRF.1"},
  };
  Click("BitBtn9");
  for (const auto& h : kHeights) {
    Click(h.radio);
    const JobDescription& s = Window().Selection();
    EXPECT_EQ(h.input ? s.InputSystem : s.OutputSystem, h.code) << h.radio;
    EXPECT_TRUE(Visible(h.panel));
    EXPECT_EQ(Find<QLabel>(h.panel)->text(), h.file);
    EXPECT_EQ(Window().StatusText(h.input ? 0 : 2), h.file);
  }
}

TEST_F(Controls, QuasigeoidRadiosSetBothCodesAndTheirOwnFrames) {
  const struct {
    const char* radio;
    int code;
    const char* input;
    const char* output;
  } kConversions[] = {{"RadioButton35", 21, "BL", "BLn.1"},
                      {"RadioButton36", 22, "BLH_e", "BLH_n.1"},
                      {"RadioButton37", 23, "BLH_n", "BLH_e.1"}};
  Click("BitBtn6");
  Click("RadioButton33");
  EXPECT_EQ(Code(Window().Selection().InputFrame), 5);
  Click("RadioButton34");
  EXPECT_EQ(Code(Window().Selection().InputFrame), 6);
  for (const auto& c : kConversions) {
    Click(c.radio);
    EXPECT_EQ(Window().Selection().InputSystem, c.code);
    EXPECT_EQ(Window().Selection().OutputSystem, c.code);
    EXPECT_EQ(Find<QLabel>("Panel5")->text(), c.input);
    EXPECT_EQ(Find<QLabel>("Panel6")->text(), c.output);
    EXPECT_EQ(Window().StatusText(0), c.input);
    EXPECT_EQ(Window().StatusText(2), c.output);
  }
}

TEST_F(Controls, FilePanelsOpenTheFileAndOnlyInputPanelsWarnWhenItIsMissing) {
  AddObjects({"TEST"});
  ASSERT_TRUE(WriteAll(objects_ + "/TEST/BLH_K86", "P1 52 0 0 21 0 0 100\r\n"));
  const QString missing = " ! plik nie istnieje ale możesz go utworzyc i zapisac ";
  const struct {
    const char* module;
    const char* radio;
    const char* panel;
    bool warns;
  } kPanels[] = {
      {"BitBtn9", "RadioButton27", "Panel1", false},  // the file exists
      {"BitBtn9", "RadioButton28", "Panel1", true},   {"BitBtn9", "RadioButton31", "Panel4", false},
      {"BitBtn6", "RadioButton35", "Panel5", true},   {"BitBtn6", "RadioButton35", "Panel6", false},
  };
  for (const auto& p : kPanels) {
    dialogs_.shown.clear();
    Click(p.module);
    Click(p.radio);
    ClickWidget(p.panel);
    const QString path = objects_ + "/TEST/" + Find<QLabel>(p.panel)->text();
    EXPECT_EQ(CurrentEditor()->Caption(), path);
    EXPECT_TRUE(CurrentEditor()->isVisible());
    EXPECT_EQ(dialogs_.Texts("message"), p.warns ? QStringList{missing} : QStringList())
        << p.panel;
  }
  // Trans 2D/3D: Panel2 is an input panel, Panel3 an output panel.
  dialogs_.shown.clear();
  Click("BitBtn8");
  Click("owe1");
  Click("RadioButton2");
  Click("owy1");
  Click("RadioButton12");
  ClickWidget("Panel2");
  ClickWidget("Panel3");
  EXPECT_EQ(dialogs_.Texts("message"), QStringList{missing});
  EXPECT_FALSE(QFile::exists(objects_ + "/TEST/xy92"));
}

TEST_F(Controls, NotatnikOpensTheNotesFileWithoutAMessageOrCreatingIt) {
  AddObjects({"TEST"});
  Click("BitBtn3");
  EXPECT_EQ(CurrentEditor()->Caption(), objects_ + "/TEST/notatnik.txt");
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_FALSE(QFile::exists(objects_ + "/TEST/notatnik.txt"));
}

TEST_F(Controls, FileListEditOpensThePickedFileFromTheObjectFolder) {
  AddObjects({"TEST"});
  ASSERT_TRUE(WriteAll(objects_ + "/TEST/xy2000.1", "P1\r\n"));
  dialogs_.paths.push_back(objects_ + "/TEST/xy2000.1");
  Click("BitBtn5");
  ASSERT_EQ(dialogs_.Texts("open"), QStringList{objects_ + "/TEST"});
  EXPECT_EQ(CurrentEditor()->Caption(), objects_ + "/TEST/xy2000.1");
  EXPECT_TRUE(CurrentEditor()->Text().startsWith("P1"));

  EditorWindow* before = CurrentEditor();
  Click("BitBtn5");  // cancelled
  EXPECT_EQ(CurrentEditor(), before);
}

TEST_F(Controls, FileListShowsTheObjectAndItsImportRefreshesIt) {
  AddObjects({"TEST"});
  ASSERT_TRUE(WriteAll(objects_ + "/TEST/xy2000", "P1 1 2\r\n"));
  ASSERT_TRUE(WriteAll(temp_.filePath("pomiar.txt"), "P2 3 4\r\n"));
  Click("SpeedButton3");
  ObjectFilesDialog* fileList = CurrentFileListDialog();
  ASSERT_NE(fileList, nullptr);
  EXPECT_TRUE(fileList->isVisible());
  auto* files = fileList->findChild<QListWidget*>();
  ASSERT_EQ(files->count(), 1);
  EXPECT_EQ(files->item(0)->text(), "xy2000");
  dialogs_.paths.push_back(temp_.filePath("pomiar.txt"));
  fileList->importIntoObject();  // "Importuj" runs the main window's import
  EXPECT_EQ(testing::ReadAll(objects_ + "/TEST/pomiar.txt"), QByteArray("P2 3 4\r\n"));
  EXPECT_EQ(files->count(), 2);
}

TEST_F(Controls, EditorButtonShowsTheEditorInTheObjectFolder) {
  AddObjects({"TEST"});
  Click("SpeedButton4");
  EXPECT_TRUE(CurrentEditor()->isVisible());
  EXPECT_TRUE(CurrentEditor()->Caption().startsWith(objects_ + "/TEST/"));
}

// WYJŚCIE ends the event loop with 0; a loop still running after the click
// ends with 42 from a timer instead.
int ExitCodeAfterClicking(QAbstractButton* button) {
  QTimer::singleShot(0, button, &QAbstractButton::click);
  QTimer::singleShot(500, [] { QCoreApplication::exit(42); });
  return QCoreApplication::exec();
}

TEST_F(Controls, WyjscieOffersUnsavedEditorTextBeforeEnding) {
  AddObjects({"TEST"});
  Click("BitBtn3");  // the notes in an editor
  CurrentEditor()->findChild<QPlainTextEdit*>("textEdit")->insertPlainText("uwaga");
  ASSERT_TRUE(CurrentEditor()->IsModified());

  dialogs_.answers = {DialogService::Answer::Cancel};
  EXPECT_EQ(ExitCodeAfterClicking(Find<QAbstractButton>("BitBtn4")), 42);
  EXPECT_EQ(dialogs_.Texts("question").size(), 1);

  dialogs_.answers = {DialogService::Answer::Yes};
  EXPECT_EQ(ExitCodeAfterClicking(Find<QAbstractButton>("BitBtn4")), 0);
  EXPECT_EQ(testing::ReadAll(objects_ + "/TEST/notatnik.txt"), QByteArray("uwaga\r\n"));
}

TEST_F(Controls, JobWithoutAModuleIsRefusedAndReportedOnTheMonitor) {
  Click("BitBtn7");
  EXPECT_EQ(dialogs_.Texts("information"), QStringList{"Nie określono zadania do wykonania"});
  const QStringList monitor = Window().MonitorLines();
  EXPECT_EQ(monitor.value(1), " Liczba punktów: 0");
  EXPECT_EQ(monitor.value(2), " KONIEC OBLICZEŃ ");
  EXPECT_EQ(monitor.size(), 11);
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) { return kolvedir::testing::RunGuiTests(argc, argv); }
