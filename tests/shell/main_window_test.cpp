// The main window through its widgets: modules, frames, systems, zones, the
// file panels, the buttons and the start-up state.
#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHelpEvent>
#include <QLocale>
#include <QToolTip>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>

#include "grid/model_grid.h"
#include "shell/editor_window.h"
#include "shell/file_list_dialog.h"
#include "shell/main_window_panel.h"
#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

using testing::Code;
using testing::MainWindowTest;
using testing::WriteAll;

const QStringList kModuleBoxes = {
    "inputGrs80Systems",        "outputZoneChooser1965", "inputZoneChooser1965",
    "inputZoneChooser3Deg",     "inputZoneChooser6Deg",  "outputZoneChooser6Deg",
    "outputZoneChooser3Deg",    "inputFrameBox",         "outputFrameBox",
    "inputKrassowskySystems",   "outputGrs80Systems",    "outputKrassowskySystems",
    "heightInputBox",           "heightOutputBox",       "quasigeoidFrameBox",
    "quasigeoidConversionBox",  "heightInputFilePanel",  "transInputFilePanel",
    "transOutputFilePanel",     "heightOutputFilePanel", "quasigeoidInputFilePanel",
    "quasigeoidOutputFilePanel"};
const QStringList kZoneChoosers = {"outputZoneChooser1965", "inputZoneChooser1965",
                                   "inputZoneChooser3Deg",  "inputZoneChooser6Deg",
                                   "outputZoneChooser6Deg", "outputZoneChooser3Deg"};

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
  for (const char* always :
       {"methodBox", "inputFormatBox", "outputFormatBox", "secondsPrecisionCombo",
        "linearPrecisionCombo", "monitor", "editFileButton", "notepadButton", "runJobButton",
        "exitButton", "noticePanel"}) {
    EXPECT_TRUE(Visible(always)) << always;
  }
  EXPECT_EQ(window.StatusText(0), " ");
  EXPECT_EQ(window.StatusText(1), "->");
  EXPECT_EQ(window.StatusText(2), " ");
  QStringList monitor = {"MONITOR"};
  for (int i = 0; i < 10; ++i) monitor << "";
  EXPECT_EQ(window.MonitorLines(), monitor);
  EXPECT_EQ(Find<QWidget>("noticePanel")->palette().color(QPalette::Window), QColor(166, 202, 240));

  Click("noticeOkButton");
  EXPECT_FALSE(Visible("noticePanel"));
  // What the user reads, file dialogs included, is Polish; numbers in files
  // are read and written without QLocale.
  EXPECT_EQ(QLocale().language(), QLocale::Polish);
}

TEST_F(Controls, CaptionsAndHintsAreTheFixedTexts) {
  const struct {
    const char* name;
    const char* caption;
    const char* hint;
  } kButtons[] = {
      {"trans2d3dButton", "TRANS-2D/3D", ""},
      {"heightModuleButton", "TRANS-H", ""},
      {"quasigeoidModuleButton", " PL-geoid - 2011", ""},
      {"runJobTopButton", "Wykonaj obliczenia",
       "Transformacja pomiędzy wybranymi układami (F9 lub Ctrl+Enter)"},
      {"runJobButton", "Wykonaj obliczenia",
       "Transformacja pomiędzy wybranymi układami (F9 lub Ctrl+Enter)"},
      {"addObjectButton", "+", "dodaj obiekt"},
      {"notepadButton", "Notatnik", "Zobacz raport po kontroli"},
      {"editFileButton", "FileListEdit", "Zobacz pliki i foldery"},
      {"exitButton", "WYJŚCIE", ""},
      {"editorButton", "", "Edytor tekstu"},
      {"objectFilesButton", "", "Wyświetla listę plików obiektu"},
      {"inputFrameEtrf2000", " PL-ETRF2000/ep.2011 elipsoida GRS80 ", "opcja matematyczna"},
      {"inputFramePulkovo42", " Pulkowo'42        elipsoida Krasowskiego ", ""},
      {"outputFrameEtrf89", "PL-ETRF89  (POLREF)  elipsoida GRS80",
       "opcja mtematyczna skorygowana"},
      {"quasigeoidAnomalies", "BL       -------------------> BLn.1", ""},
  };
  for (const auto& b : kButtons) {
    auto* button = Find<QAbstractButton>(b.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QString::fromUtf8(b.caption)) << b.name;
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(b.hint)) << b.name;
  }
  EXPECT_EQ(Find<QGroupBox>("inputKrassowskySystems")->title(), "el. Krasowskiego");
  EXPECT_EQ(Find<QGroupBox>("inputZoneChooser3Deg")->title(), "Pasy południkowe 3°");
  EXPECT_EQ(Find<QGroupBox>("quasigeoidFrameBox")->title(), "UKŁAD ODNIESIENIA ETRF dla h (elips)");
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
  auto* bar = Find<QMenuBar>("mainMenu");
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
  Window().findChild<QAction*>("showHelpAction")->trigger();
  EXPECT_TRUE(info.isVisible());
  EXPECT_FALSE(about.isVisible());
  Window().findChild<QAction*>("showAboutAction")->trigger();
  EXPECT_TRUE(about.isVisible());
}

// The panel keeps its size and scrolls inside a window that fits the screen
// and takes the room there is (the offscreen screen is narrower than the panel).
TEST_F(Controls, WindowFitsTheScreenAndScrollsThePanel) {
  const QRect screen = Window().screen()->availableGeometry();
  ASSERT_LT(screen.width(), 1010);
  EXPECT_LE(Window().frameGeometry().width(), screen.width());
  EXPECT_LE(Window().frameGeometry().height(), screen.height());
  EXPECT_GE(Window().width(), screen.width() - 40);
  EXPECT_LE(Window().minimumWidth(), 480);
  EXPECT_LE(Window().minimumHeight(), 360);
  auto* scroll = qobject_cast<QScrollArea*>(Window().centralWidget());
  ASSERT_NE(scroll, nullptr);
  EXPECT_EQ(scroll->widget()->size(), QSize(1010, 684));
  EXPECT_EQ(Find("runJobButton")->parentWidget(), scroll->widget());
}

// The vertical scroll bar shows only when more than the panel's blank bottom
// rows (4 pixels) are cut: at 1366 × 768 under a window manager whose frame is
// known the panel fits whole.
TEST(FitPanelTest, ScrollBarOnlyWhenMoreThanTheBlankRowsAreCut) {
  const QSize whole(1010, 736);
  const struct {
    QSize available;
    QSize frame;
    QSize size;
    bool scrolls;
  } kScreens[] = {
      {{1366, 768}, {2, 25}, {1010, 736}, false},
      {{1366, 761}, {2, 25}, {1010, 736}, false},
      {{1366, 757}, {2, 25}, {1010, 732}, false},
      {{1366, 756}, {2, 25}, {1026, 731}, true},
      {{1366, 768}, {16, 40}, {1026, 728}, true},
      {{800, 600}, {16, 40}, {784, 560}, true},
  };
  for (const auto& s : kScreens) {
    const WindowFit fit = FitPanel(whole, s.available, s.frame, 16);
    EXPECT_EQ(fit.size, s.size) << s.available.height() << " " << s.frame.height();
    EXPECT_EQ(fit.scrolls, s.scrolls) << s.available.height() << " " << s.frame.height();
  }
}

// The status bar names the grid and says when it is a model grid, at start and
// after every job (the grid may be replaced while the program runs).
TEST_F(Controls, StatusBarNamesTheModelGrid) {
  const struct {
    bool atStart;
    bool beforeJob;
  } kCases[] = {{false, false}, {true, true}, {false, true}, {true, false}};
  const QString notice =
      QString::fromUtf8(ModelGridNotice().data(), qsizetype(ModelGridNotice().size()));
  for (const auto& c : kCases) {
    SCOPED_TRACE(::testing::Message() << c.atStart << c.beforeJob);
    const auto installModel = [&](bool model) {
      for (const char* name : {"PL_grid_001.bin", "PL_grid_001.model"}) {
        QFile::remove(bin_ + '/' + name);
        if (model) {
          ASSERT_TRUE(QFile::link(testing::BuildBinFolder() + '/' + name, bin_ + '/' + name));
        }
      }
    };
    installModel(c.atStart);
    window_.reset();
    EXPECT_EQ(Visible("modelGridNotice"), c.atStart);
    installModel(c.beforeJob);
    Click("runJobButton");  // refused: no module chosen
    auto* label = Find<QLabel>("modelGridNotice");
    EXPECT_EQ(label->isVisible(), c.beforeJob);
    EXPECT_EQ(label->text(), c.beforeJob ? "Uwaga: siatka modelowa" : QString());
    EXPECT_EQ(label->toolTip(), c.beforeJob ? notice : QString());
    EXPECT_EQ(Find<QLabel>("gridFileLabel")->text(), "Siatka: " + bin_);
    QCoreApplication::processEvents();  // the status bar lays out its panels
    if (c.beforeJob) {
      EXPECT_GE(label->width(), label->sizeHint().width()) << "the notice is cut";
    }
  }
}

TEST_F(Controls, ModuleButtonsShowTheirFirstLevelBoxesOnly) {
  const struct {
    const char* button;
    int module;
    QStringList boxes;
  } kModules[] = {{"trans2d3dButton", 1, {"inputFrameBox", "outputFrameBox"}},
                  {"heightModuleButton", 2, {"heightInputBox", "heightOutputBox"}},
                  {"quasigeoidModuleButton", 3, {"quasigeoidFrameBox", "quasigeoidConversionBox"}}};
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
  Click("trans2d3dButton");
  Click(c.frame);
  EXPECT_EQ(Code(Window().Selection().InputFrame), c.frameCode);
  EXPECT_EQ(VisibleOf({"inputGrs80Systems", "inputKrassowskySystems"}), QStringList{c.list});
  EXPECT_EQ(Find<QWidget>(c.list)->pos(), QPoint(24, 200));
  Click(c.system);
  EXPECT_EQ(Window().Selection().InputSystem, c.systemCode);
  EXPECT_EQ(Window().Selection().InputZone, 0);
  const QStringList chooser = *c.chooser ? QStringList{c.chooser} : QStringList();
  EXPECT_EQ(VisibleOf(kZoneChoosers), chooser);
  EXPECT_TRUE(Visible("transInputFilePanel"));
  EXPECT_EQ(Find<QLabel>("transInputFilePanel")->text(), c.file);
  EXPECT_EQ(Window().StatusText(0), c.file);
  EXPECT_EQ(Window().StatusText(2), " ");
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, InputSystems,
    ::testing::Values(SystemCase{"inputFrameEtrf2000", "inputSystemXy2000", 1, 1,
                                 "inputGrs80Systems", "inputZoneChooser3Deg", "xy2000"},
                      SystemCase{"inputFrameEtrf89", "inputSystemXy92", 2, 2, "inputGrs80Systems",
                                 "", "xy92"},
                      SystemCase{"inputFrameEtrf2000", "inputSystemUtm", 1, 3, "inputGrs80Systems",
                                 "inputZoneChooser6Deg", "UTM"},
                      SystemCase{"inputFrameEtrf89", "inputSystemBlhGrs", 2, 4, "inputGrs80Systems",
                                 "", "BLH_GRS"},
                      SystemCase{"inputFrameEtrf2000", "inputSystemXyzGrs", 1, 5,
                                 "inputGrs80Systems", "", "XYZ_GRS"},
                      SystemCase{"inputFramePulkovo42", "inputSystemXy65", 3, 1,
                                 "inputKrassowskySystems", "inputZoneChooser1965", "xy65"},
                      SystemCase{"inputFramePulkovo42", "inputSystemXy42_3", 3, 2,
                                 "inputKrassowskySystems", "inputZoneChooser3Deg", "xy42_3"},
                      SystemCase{"inputFramePulkovo42", "inputSystemXy42_6", 3, 3,
                                 "inputKrassowskySystems", "inputZoneChooser6Deg", "xy42_6"},
                      SystemCase{"inputFramePulkovo42", "inputSystemXy42_83_3", 3, 4,
                                 "inputKrassowskySystems", "inputZoneChooser3Deg", "xy42_83_3"},
                      SystemCase{"inputFramePulkovo42", "inputSystemXy42_83_6", 3, 5,
                                 "inputKrassowskySystems", "inputZoneChooser6Deg", "xy42_83_6"},
                      SystemCase{"inputFramePulkovo42", "inputSystemTarvo80", 3, 6,
                                 "inputKrassowskySystems", "", "xyTARVO80"},
                      SystemCase{"inputFramePulkovo42", "inputSystemBlhKra", 3, 7,
                                 "inputKrassowskySystems", "", "BLH_KRA"},
                      SystemCase{"inputFramePulkovo42", "inputSystemXyzKra", 3, 8,
                                 "inputKrassowskySystems", "", "XYZ_KRA"}));

class OutputSystems : public Controls, public ::testing::WithParamInterface<SystemCase> {};

TEST_P(OutputSystems, StoreTheCodeShowTheChooserAndTheFileName) {
  const SystemCase& c = GetParam();
  Click("trans2d3dButton");
  Click(c.frame);
  EXPECT_EQ(Code(Window().Selection().OutputFrame), c.frameCode);
  EXPECT_EQ(VisibleOf({"outputGrs80Systems", "outputKrassowskySystems"}), QStringList{c.list});
  EXPECT_EQ(Find<QWidget>(c.list)->pos(), QPoint(312, 200));
  Click(c.system);
  EXPECT_EQ(Window().Selection().OutputSystem, c.systemCode);
  const QStringList chooser = *c.chooser ? QStringList{c.chooser} : QStringList();
  EXPECT_EQ(VisibleOf(kZoneChoosers), chooser);
  EXPECT_EQ(Find<QLabel>("transOutputFilePanel")->text(), c.file);
  EXPECT_EQ(Window().StatusText(2), c.file);
  EXPECT_EQ(Window().StatusText(0), " ");
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, OutputSystems,
    ::testing::Values(SystemCase{"outputFrameEtrf2000", "outputSystemXy2000", 1, 1,
                                 "outputGrs80Systems", "outputZoneChooser3Deg", "xy2000.1"},
                      SystemCase{"outputFrameEtrf89", "outputSystemXy92", 2, 2,
                                 "outputGrs80Systems", "", "xy92.1"},
                      SystemCase{"outputFrameEtrf2000", "outputSystemUtm", 1, 3,
                                 "outputGrs80Systems", "outputZoneChooser6Deg", "UTM.1"},
                      SystemCase{"outputFrameEtrf2000", "outputSystemBlhGrs", 1, 4,
                                 "outputGrs80Systems", "", "BLH_GRS.1"},
                      SystemCase{"outputFrameEtrf89", "outputSystemXyzGrs", 2, 5,
                                 "outputGrs80Systems", "", "XYZ_GRS.1"},
                      SystemCase{"outputFramePulkovo42", "outputSystemXy65", 3, 1,
                                 "outputKrassowskySystems", "outputZoneChooser1965", "xy65.1"},
                      SystemCase{"outputFramePulkovo42", "outputSystemXy42_3", 3, 2,
                                 "outputKrassowskySystems", "outputZoneChooser3Deg", "xy42_3.1"},
                      SystemCase{"outputFramePulkovo42", "outputSystemXy42_6", 3, 3,
                                 "outputKrassowskySystems", "outputZoneChooser6Deg", "xy42_6.1"},
                      SystemCase{"outputFramePulkovo42", "outputSystemXy42_83_3", 3, 4,
                                 "outputKrassowskySystems", "outputZoneChooser3Deg", "xy42_83_3.1"},
                      SystemCase{"outputFramePulkovo42", "outputSystemXy42_83_6", 3, 5,
                                 "outputKrassowskySystems", "outputZoneChooser6Deg", "xy42_83_6.1"},
                      SystemCase{"outputFramePulkovo42", "outputSystemTarvo80", 3, 6,
                                 "outputKrassowskySystems", "", "xyTARVO80.1"},
                      SystemCase{"outputFramePulkovo42", "outputSystemBlhKra", 3, 7,
                                 "outputKrassowskySystems", "", "BLH_KRA.1"},
                      SystemCase{"outputFramePulkovo42", "outputSystemXyzKra", 3, 8,
                                 "outputKrassowskySystems", "", "XYZ_KRA.1"}));

TEST_F(Controls, ZoneRadiosStoreTheirValueOnly) {
  const struct {
    const char* frame;
    const char* system;
    const char* zone;
    bool input;
    int value;
  } kZones[] = {
      {"inputFrameEtrf2000", "inputSystemXy2000", "inputZone3Deg15", true, 15},
      {"inputFrameEtrf2000", "inputSystemXy2000", "inputZone3Deg18", true, 18},
      {"inputFrameEtrf2000", "inputSystemXy2000", "inputZone3Deg21", true, 21},
      {"inputFrameEtrf2000", "inputSystemXy2000", "inputZone3Deg24", true, 24},
      {"inputFrameEtrf2000", "inputSystemUtm", "inputZone6Deg15", true, 15},
      {"inputFrameEtrf2000", "inputSystemUtm", "inputZone6Deg21", true, 21},
      {"inputFramePulkovo42", "inputSystemXy65", "inputZone1965_1", true, 1},
      {"inputFramePulkovo42", "inputSystemXy65", "inputZone1965_5", true, 5},
      {"outputFrameEtrf2000", "outputSystemXy2000", "outputZone3Deg15", false, 15},
      {"outputFramePulkovo42", "outputSystemXy42_3", "outputZone3Deg24", false, 24},
      {"outputFramePulkovo42", "outputSystemXy42_6", "outputZone6Deg21", false, 21},
      {"outputFramePulkovo42", "outputSystemXy65", "outputZone1965_3", false, 3},
  };
  Click("trans2d3dButton");
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
  Click("trans2d3dButton");
  Click("outputFrameEtrf2000");
  Click("outputSystemBlhGrs");
  Click("inputFrameEtrf2000");
  Click("inputSystemXy2000");
  Click("inputZone3Deg21");
  Click("inputFramePulkovo42");
  const JobDescription& s = Window().Selection();
  EXPECT_EQ(Code(s.InputFrame), 3);
  EXPECT_EQ(s.InputSystem, 0);
  EXPECT_EQ(s.InputZone, 0);
  EXPECT_EQ(Code(s.InputKind), 0);
  EXPECT_FALSE(Visible("inputGrs80Systems"));
  EXPECT_FALSE(Visible("inputZoneChooser3Deg"));
  EXPECT_FALSE(Visible("transInputFilePanel"));
  EXPECT_TRUE(Visible("inputKrassowskySystems"));
  EXPECT_FALSE(Find<QRadioButton>("inputSystemXy2000")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("inputZone3Deg21")->isChecked());
  EXPECT_EQ(Code(s.OutputFrame), 1);
  EXPECT_EQ(s.OutputSystem, 4);
  EXPECT_TRUE(Visible("transOutputFilePanel"));
  EXPECT_TRUE(Visible("outputGrs80Systems"));
}

TEST_F(Controls, AnotherSystemClearsTheZone) {
  Click("trans2d3dButton");
  Click("inputFrameEtrf2000");
  Click("inputSystemXy2000");
  Click("inputZone3Deg18");
  Click("inputSystemXy92");
  EXPECT_EQ(Window().Selection().InputSystem, 2);
  EXPECT_EQ(Window().Selection().InputZone, 0);
  EXPECT_FALSE(Visible("inputZoneChooser3Deg"));
  EXPECT_FALSE(Find<QRadioButton>("inputZone3Deg18")->isChecked());
  EXPECT_EQ(Find<QLabel>("transInputFilePanel")->text(), "xy92");
}

TEST_F(Controls, Xy2000AndXy65ShareTheCodeAndDifferByFrame) {
  Click("trans2d3dButton");
  Click("inputFrameEtrf2000");
  Click("inputSystemXy2000");
  const JobDescription grs = Window().Selection();
  Click("inputFramePulkovo42");
  Click("inputSystemXy65");
  const JobDescription krassowsky = Window().Selection();
  EXPECT_EQ(grs.InputSystem, 1);
  EXPECT_EQ(krassowsky.InputSystem, 1);
  EXPECT_NE(grs.InputFrame, krassowsky.InputFrame);
}

TEST_F(Controls, ModuleSwitchClearsTheSelectionButNotTheStatusBar) {
  Click("trans2d3dButton");
  Click("inputFrameEtrf2000");
  Click("inputSystemXy2000");
  Click("inputZone3Deg21");
  Click("outputFramePulkovo42");
  Click("outputSystemXy65");
  Click("outputZone1965_2");
  Click("heightModuleButton");
  const JobDescription& s = Window().Selection();
  EXPECT_EQ(Code(s.ActiveModule), 2);
  for (int value : {Code(s.InputFrame), Code(s.OutputFrame), s.InputSystem, s.OutputSystem,
                    s.InputZone, s.OutputZone, Code(s.InputKind), Code(s.OutputKind)}) {
    EXPECT_EQ(value, 0);
  }
  EXPECT_EQ(Window().StatusText(0), "xy2000");
  EXPECT_EQ(Window().StatusText(2), "xy65.1");
  Click("trans2d3dButton");
  EXPECT_FALSE(Find<QRadioButton>("inputFrameEtrf2000")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("outputZone1965_2")->isChecked());
}

TEST_F(Controls, HeightModuleRadiosSetTheCodesAndPanels) {
  const struct {
    const char* radio;
    bool input;
    int code;
    const char* panel;
    const char* file;
  } kHeights[] = {
      {"heightInputKron86", true, 11, "heightInputFilePanel", "BLH_K86"},
      {"heightInputKron2006", true, 12, "heightInputFilePanel", "BLH_K2006"},
      {"heightInputEvrf2007", true, 13, "heightInputFilePanel", "BLH_EVRF"},
      {"heightOutputKron86", false, 11, "heightOutputFilePanel", "BLH_K86.1"},
      {"heightOutputKron2006", false, 12, "heightOutputFilePanel", "BLH_K2006.1"},
      {"heightOutputEvrf2007", false, 13, "heightOutputFilePanel", "BLH_EVRF.1"},
  };
  Click("heightModuleButton");
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
  } kConversions[] = {{"quasigeoidAnomalies", 21, "BL", "BLn.1"},
                      {"quasigeoidEllipsoidalToNormal", 22, "BLH_e", "BLH_n.1"},
                      {"quasigeoidNormalToEllipsoidal", 23, "BLH_n", "BLH_e.1"}};
  Click("quasigeoidModuleButton");
  Click("quasigeoidFrameEtrf2000");
  EXPECT_EQ(Code(Window().Selection().InputFrame), 5);
  Click("quasigeoidFrameEtrf89");
  EXPECT_EQ(Code(Window().Selection().InputFrame), 6);
  for (const auto& c : kConversions) {
    Click(c.radio);
    EXPECT_EQ(Window().Selection().InputSystem, c.code);
    EXPECT_EQ(Window().Selection().OutputSystem, c.code);
    EXPECT_EQ(Find<QLabel>("quasigeoidInputFilePanel")->text(), c.input);
    EXPECT_EQ(Find<QLabel>("quasigeoidOutputFilePanel")->text(), c.output);
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
      {"heightModuleButton", "heightInputKron86", "heightInputFilePanel",
       false},  // the file exists
      {"heightModuleButton", "heightInputKron2006", "heightInputFilePanel", true},
      {"heightModuleButton", "heightOutputKron2006", "heightOutputFilePanel", false},
      {"quasigeoidModuleButton", "quasigeoidAnomalies", "quasigeoidInputFilePanel", true},
      {"quasigeoidModuleButton", "quasigeoidAnomalies", "quasigeoidOutputFilePanel", false},
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
  // Trans 2D/3D: the first file panel is an input panel, the second an output panel.
  dialogs_.shown.clear();
  Click("trans2d3dButton");
  Click("inputFrameEtrf2000");
  Click("inputSystemXy92");
  Click("outputFrameEtrf2000");
  Click("outputSystemXy92");
  ClickWidget("transInputFilePanel");
  ClickWidget("transOutputFilePanel");
  EXPECT_EQ(dialogs_.Texts("message"), QStringList{missing});
  EXPECT_FALSE(QFile::exists(objects_ + "/TEST/xy92"));
}

TEST_F(Controls, NotatnikOpensTheNotesFileWithoutAMessageOrCreatingIt) {
  AddObjects({"TEST"});
  Click("notepadButton");
  EXPECT_EQ(CurrentEditor()->Caption(), objects_ + "/TEST/notatnik.txt");
  EXPECT_TRUE(dialogs_.shown.empty());
  EXPECT_FALSE(QFile::exists(objects_ + "/TEST/notatnik.txt"));
}

TEST_F(Controls, FileListEditOpensThePickedFileFromTheObjectFolder) {
  AddObjects({"TEST"});
  ASSERT_TRUE(WriteAll(objects_ + "/TEST/xy2000.1", "P1\r\n"));
  dialogs_.paths.push_back(objects_ + "/TEST/xy2000.1");
  Click("editFileButton");
  ASSERT_EQ(dialogs_.Texts("open"), QStringList{objects_ + "/TEST"});
  EXPECT_EQ(CurrentEditor()->Caption(), objects_ + "/TEST/xy2000.1");
  EXPECT_TRUE(CurrentEditor()->Text().startsWith("P1"));

  EditorWindow* before = CurrentEditor();
  Click("editFileButton");  // cancelled
  EXPECT_EQ(CurrentEditor(), before);
}

TEST_F(Controls, FileListShowsTheObjectAndItsImportRefreshesIt) {
  AddObjects({"TEST"});
  ASSERT_TRUE(WriteAll(objects_ + "/TEST/xy2000", "P1 1 2\r\n"));
  ASSERT_TRUE(WriteAll(temp_.filePath("pomiar.txt"), "P2 3 4\r\n"));
  Click("objectFilesButton");
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

// "Importuj pliki..." asks before it replaces a file of the object; a replaced
// file goes to the trash, and comes back when the copy fails.
TEST_F(Controls, ImportAsksBeforeReplacingAndTrashesTheReplacedFile) {
  using A = DialogService::Answer;
  const struct {
    const char* what;
    std::deque<A> answers;
    bool copyLibrary;
    QByteArray a, b, c;    // the object's files afterwards, "" when missing
    QStringList trashed;   // the earlier a and b in the trash
  } kCases[] = {
      {"Tak, Nie", {A::Yes, A::No}, true, "nowy a", "stary b", "nowy c", {"a"}},
      {"Tak dla wszystkich", {A::YesToAll}, true, "nowy a", "nowy b", "nowy c", {"a", "b"}},
      {"Nie, Anuluj", {A::No, A::Cancel}, true, "stary a", "stary b", "", {}},
      {"the copy fails", {A::YesToAll}, false, "stary a", "stary b", "", {}},
  };
  AddObjects({"TEST"});
  const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
  const QString trash = temp_.filePath("share/Trash");
  qputenv("XDG_DATA_HOME", QFile::encodeName(temp_.filePath("share")));
  const QString object = objects_ + "/TEST/";
  for (const char* name : {"a", "b", "c"}) {
    ASSERT_TRUE(WriteAll(temp_.filePath(name), QByteArray("nowy ") + name));
  }
  dialogs_.failOnUnexpectedQuestion = true;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(WriteAll(object + "a", "stary a") && WriteAll(object + "b", "stary b"));
    QFile::remove(object + "c");
    ASSERT_TRUE(QDir(trash).removeRecursively());
    SetCopyLibraryFolder(c.copyLibrary ? testing::BuildBinFolder() : temp_.path());
    dialogs_.shown.clear();
    dialogs_.answers = c.answers;
    dialogs_.paths = {temp_.filePath("a"), temp_.filePath("b"), temp_.filePath("c")};
    Window().findChild<QAction*>("importFilesAction")->trigger();
    const QStringList questions = dialogs_.Texts("question");
    ASSERT_EQ(questions.size(), int(c.answers.size()));
    EXPECT_EQ(questions[0], "Plik \"a\" już jest w obiekcie. Zastąpić go?\n"
                            "Obecny plik zostanie przeniesiony do kosza.");
    EXPECT_EQ(testing::ReadAll(object + "a"), c.a);
    EXPECT_EQ(testing::ReadAll(object + "b"), c.b);
    EXPECT_EQ(testing::ReadAll(object + "c"), c.c);
    EXPECT_EQ(QDir(trash + "/files").entryList(QDir::Files), c.trashed);
    EXPECT_EQ(QDir(trash + "/info").entryList(QDir::Files).size(), c.trashed.size());
    for (const QString& name : c.trashed) {
      EXPECT_EQ(testing::ReadAll(trash + "/files/" + name), "stary " + name.toUtf8());
    }
    EXPECT_EQ(dialogs_.Texts("information").size(), c.copyLibrary ? 0 : 3);
  }
  qputenv("XDG_DATA_HOME", savedDataHome);
}

TEST_F(Controls, EditorButtonShowsTheEditorInTheObjectFolder) {
  AddObjects({"TEST"});
  Click("editorButton");
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
  Click("notepadButton");  // the notes in an editor
  CurrentEditor()->findChild<QPlainTextEdit*>("textEdit")->insertPlainText("uwaga");
  ASSERT_TRUE(CurrentEditor()->IsModified());

  dialogs_.answers = {DialogService::Answer::Cancel};
  EXPECT_EQ(ExitCodeAfterClicking(Find<QAbstractButton>("exitButton")), 42);
  EXPECT_EQ(dialogs_.Texts("question").size(), 1);

  dialogs_.answers = {DialogService::Answer::Yes};
  EXPECT_EQ(ExitCodeAfterClicking(Find<QAbstractButton>("exitButton")), 0);
  EXPECT_EQ(testing::ReadAll(objects_ + "/TEST/notatnik.txt"), QByteArray("uwaga\r\n"));
}

// F9, Ctrl+Return and Ctrl+Enter run the job as "Wykonaj obliczenia" does.
TEST_F(Controls, KeysRunTheJob) {
  const struct {
    const char* what;
    int key;
    Qt::KeyboardModifiers modifiers;
  } kKeys[] = {{"F9", Qt::Key_F9, Qt::NoModifier},
               {"Ctrl+Return", Qt::Key_Return, Qt::ControlModifier},
               {"Ctrl+Enter", Qt::Key_Enter, Qt::ControlModifier}};
  Window();
  QApplication::processEvents();  // the window becomes the active one
  for (const auto& k : kKeys) {
    dialogs_.shown.clear();
    testing::KeyClick(Find("monitor"), k.key, QString(), k.modifiers);
    while (Window().JobRunning()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(dialogs_.Texts("information"), QStringList{"Nie określono zadania do wykonania"})
        << k.what;
  }
}

// The working folder in the status bar loses the middle of a path too long
// for it, never the object's name; its tool tip holds the whole path.
TEST_F(Controls, WorkingFolderKeepsTheObjectsNameInView) {
  const QString name = QStringLiteral("POMIAR_DZIAŁKI_NR_1234");
  AddObjects({name});
  auto* panel = Find<QLabel>("statusPanel3");
  const QString text = "Folder roboczy: " + objects_ + "/" + name;
  EXPECT_EQ(panel->text(), text);
  const QFontMetrics metrics = panel->fontMetrics();
  const int whole = metrics.horizontalAdvance(text);
  const int last = metrics.horizontalAdvance("/" + name);
  const struct {
    int width;
    bool elided;
    bool endsWithName;
  } kWidths[] = {{whole, false, true}, {whole - 1, true, true}, {last + 40, true, true},
                 {last / 2, true, false}};
  for (const auto& w : kWidths) {
    const QString shown = ElidePath(text, metrics, w.width);
    EXPECT_LE(metrics.horizontalAdvance(shown), w.width) << w.width;
    EXPECT_EQ(shown.contains(QChar(0x2026)), w.elided) << shown.toStdString();
    EXPECT_EQ(shown.endsWith("/" + name), w.endsWithName) << shown.toStdString();
    EXPECT_EQ(shown.startsWith("F"), w.endsWithName) << shown.toStdString();
  }
  QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), panel->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(panel, &tip);
  EXPECT_EQ(QToolTip::text(), text);
}

TEST_F(Controls, JobWithoutAModuleIsRefusedAndReportedOnTheMonitor) {
  Click("runJobButton");
  EXPECT_EQ(dialogs_.Texts("information"), QStringList{"Nie określono zadania do wykonania"});
  const QStringList monitor = Window().MonitorLines();
  EXPECT_EQ(monitor.value(1), " Liczba punktów: 0");
  EXPECT_EQ(monitor.value(2), " KONIEC OBLICZEŃ ");
  EXPECT_EQ(monitor.size(), 11);
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) { return kolvedir::testing::RunGuiTests(argc, argv); }
