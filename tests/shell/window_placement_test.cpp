#include "shell/window_placement.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QWindow>

#include "shell/editor_window.h"
#include "shell/file_list_dialog.h"
#include "shell/info_windows.h"
#include "tests/shell/shell_test_support.h"

namespace kolvedir {
namespace {

TEST(CascadePosition, StepsDownRightAndWrapsInsideTheArea) {
  const QRect area(0, 30, 1366, 700);  // a laptop screen under a top panel
  const struct {
    QPoint previous;
    QSize size;
    QPoint next;
  } cases[] = {
      {{100, 100}, {600, 400}, {132, 132}},
      {{734, 100}, {600, 400}, {766, 132}},  // right edge exactly at the screen's
      {{735, 100}, {600, 400}, {0, 30}},     // one pixel too far right
      {{100, 298}, {600, 400}, {132, 330}},  // bottom edge exactly at the area's
      {{100, 299}, {600, 400}, {0, 30}},     // one pixel too low
      {{0, 30}, {1400, 400}, {0, 30}},       // wider than the screen: at its corner
  };
  for (const auto& c : cases)
    EXPECT_EQ(NextCascadePosition(c.previous, c.size, area), c.next)
        << c.previous.x() << "," << c.previous.y();
}

class WindowsInFrontTest : public testing::MainWindowTest {
 protected:
  void TearDown() override {
    SetEditorOwner(nullptr);
    qDeleteAll(editors_);
    testing::MainWindowTest::TearDown();
  }

  EditorWindow* OpenEditor(const QString& name) {
    editors_.push_back(OpenInEditor(temp_.filePath(name)));
    return editors_.back();
  }

  // Waits up to a second for what a window manager does in its own time (the
  // test also runs on X11: xvfb-run with openbox and QT_QPA_PLATFORM=xcb).
  static bool Eventually(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 1000)
      QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }

  // The main window takes the focus, as after a click on it.
  void ClickMainWindow() {
    Window().activateWindow();
    ASSERT_TRUE(Eventually([this] { return Window().isActiveWindow(); }));
  }

  std::vector<EditorWindow*> editors_;
};

// Each way of bringing up a window of the program: the first time and again
// after it was minimised behind the main window it comes up in front, tied
// to the main window.
TEST_F(WindowsInFrontTest, ShownAgainTheyComeToTheFrontAboveTheMainWindow) {
  HelpWindow help(&Window(), "/nowhere/PL_grid_001.bin");
  AboutWindow about(&Window());
  Window().SetInfoWindows(&help, &about);
  SetEditorOwner(&Window());
  const struct {
    const char* what;
    std::function<QWidget*()> bringUp;
  } cases[] = {
      {"Kolvedir-Info",
       [&] {
         Find<QAction>("showHelpAction")->trigger();
         return &help;
       }},
      {"O programie",
       [&] {
         Find<QAction>("showAboutAction")->trigger();
         return &about;
       }},
      {"editor", [&] { return OpenEditor("xy2000"); }},
      {"Edytor tekstowy",
       [&] {
         Click("editorButton");
         return CurrentEditor();
       }},
      {"object files",
       [&] {
         Click("objectFilesButton");
         return CurrentFileListDialog();
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const bool minimised : {false, true}) {
      ClickMainWindow();
      QWidget* window = c.bringUp();
      if (minimised) {
        window->showMinimized();
        ASSERT_TRUE(Eventually([window] { return window->isMinimized(); }));
        ClickMainWindow();
        window = c.bringUp();
      }
      EXPECT_TRUE(Eventually([window] { return window->isActiveWindow(); }));
      ASSERT_NE(window->windowHandle(), nullptr);
      EXPECT_EQ(window->windowHandle()->transientParent(), Window().windowHandle());
      // The only kind X11 window managers keep above the window it belongs to.
      EXPECT_EQ(window->windowType(), Qt::Dialog);
      EXPECT_TRUE(window->isVisible());
      EXPECT_FALSE(window->isMinimized());
    }
  }
  delete CurrentFileListDialog();
}

TEST_F(WindowsInFrontTest, NewEditorsOpenOffsetFromTheOneBefore) {
  SetEditorOwner(&Window());
  EditorWindow* first = OpenEditor("a");
  EditorWindow* second = OpenEditor("b");
  const QRect area = Window().screen()->availableGeometry();
  EXPECT_EQ(second->pos(), NextCascadePosition(first->pos(), second->frameGeometry().size(), area));
  EXPECT_NE(second->pos(), first->pos());
  // Shown again, a window keeps its place.
  const QPoint placed = first->pos();
  first->hide();
  first->ShowEditor();
  EXPECT_EQ(first->pos(), placed);
}

}  // namespace
}  // namespace kolvedir

int main(int argc, char** argv) { return kolvedir::testing::RunGuiTests(argc, argv); }
