#pragma once
// The main window: module, frame, system and zone choices that fill the
// selection state, the computation options, the working object, the file
// panels, the monitor and the status bar. Every choice is stored at once; a
// job reads the state when "Wykonaj obliczenia" is pressed and runs on a
// worker thread while the window shows its progress.
// The object name, caption and role of each control:
// tests/shell/data/window_controls.tsv.
#include <QMainWindow>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <cstdint>
#include <memory>

#include "engine/job_context.h"
#include "engine/job_description.h"
#include "engine/program_places.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace kolvedir {

class ClickablePanel;
class JobThread;
class QtJobUserInterface;

// The zone chooser a system needs, if any.
enum class ZoneChooser { None, Strips3, Strips6, Zones1965 };

// How the main window fits its panel on a screen.
struct WindowFit {
  QSize size;    // of the window, without the window manager's frame
  bool scrolls;  // the panel needs its vertical scroll bar
};
// whole: the panel with the menu and status bar; available: the screen's
// available area; frame: the room the window manager's frame takes; all in
// pixels. The whole panel when it fits; otherwise as much as fits, with the
// vertical scroll bar (scrollBarWidth wide) unless only the blank rows at the
// bottom of the panel are cut.
WindowFit FitPanel(QSize whole, QSize available, QSize frame, int scrollBarWidth);

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // programFolder: the bin/ of a portable program folder, which holds
  // "katal", the interpolation grid and the copy library; "OBIEKTY" lies
  // beside it.
  explicit MainWindow(const QString& programFolder, QWidget* parent = nullptr);
  // The places of a portable program folder or of an installed tree.
  explicit MainWindow(const ProgramPlaces& places, QWidget* parent = nullptr);
  ~MainWindow() override;

  const JobDescription& Selection() const { return state_; }
  const JobCounters& Counters() const { return counters_; }
  QString ObjectsRoot() const { return objectsRoot_; }
  QString ObjectFolder() const { return objectFolder_; }
  QString StatusText(int panel) const;
  QStringList MonitorLines() const;
  // A job started by "Wykonaj obliczenia" is running on the worker thread.
  bool JobRunning() const;

  // The information and about windows the "&Info" menu shows.
  void SetInfoWindows(QWidget* info, QWidget* about);

 public slots:
  // Start-up: "." for numbers, an empty selection, the status bar, the last
  // working object, the first precision items and the notice colours.
  void startUp();
  void chooseTrans2d3d();         // "TRANS-2D/3D"
  void chooseHeightModule();      // "TRANS-H"
  void chooseQuasigeoidModule();  // " PL-geoid - 2011"
  void runJob();                  // both "Wykonaj obliczenia" buttons
  void stopJob();                 // "Przerwij"
  void openNotepad();             // "Notatnik"
  void editPickedFile();          // "FileListEdit"
  void exitProgram();             // "WYJŚCIE"
  void hideNotice();              // "OK" of the notice
  // The object name typed or picked in the object combo box.
  void onObjectNameChanged(const QString& text);
  void addObject();        // "+", also "&Dodaj obiekt"
  void importFiles();      // "&Importuj pliki..."
  void showObjectFiles();  // object file list, also "&Pokaż pliki"
  void showEditor();       // editor, also "Edytor &tekstowy"

 protected:
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  // One side (input or output) of TRANS 2D/3D.
  struct Side {
    QGroupBox* frameBox = nullptr;
    QGroupBox* grsList = nullptr;
    QGroupBox* krassowskyList = nullptr;
    std::array<QGroupBox*, 3> zoneChoosers{};  // Strips3, Strips6, Zones1965
    ClickablePanel* panel = nullptr;
    QPoint listPlace;
    int statusPanel = 0;
    Frame JobDescription::*frame = nullptr;
    std::int32_t JobDescription::*system = nullptr;
    std::int32_t JobDescription::*zone = nullptr;
    RecordKind JobDescription::*kind = nullptr;
    QVector<QRadioButton*> systemRadios;
    QVector<QRadioButton*> zoneRadios;
  };

  void CreateMenus();
  // An "Opcje" item: stores value and checks the matching radio button.
  template <typename Value>
  void AddOptionItem(QMenu* menu, const char* name, const QString& text,
                     Value JobDescription::*field, Value value, QRadioButton* MainWindow::*radio);
  void CreateTopRow(QWidget* central);
  void CreateTransArea(QWidget* central);
  void CreateTransSide(QWidget* area, Side& side, bool input);
  void CreateHeightArea(QWidget* central);
  void CreateQuasigeoidArea(QWidget* central);
  void CreateOptions(QWidget* central);
  void CreateMonitorAndButtons(QWidget* central);
  void CreateNotice(QWidget* central);
  void CreateStatusBar();
  // The whole panel when the screen has room for it, otherwise the screen's
  // available area, in which the panel scrolls.
  void FitToScreen();

  QRadioButton* AddModuleRadio(QWidget* parent, const char* name, const QString& caption,
                               QPoint place, int width);
  ClickablePanel* AddFilePanel(QWidget* parent, const char* name, QRect geometry,
                               bool inputPanel);
  QGroupBox* AddModuleBox(QWidget* parent, const char* name, const QString& title,
                          QRect geometry);

  void ResetSelection();
  void ResetInputSide() { ResetSide(input_); }
  void ResetOutputSide() { ResetSide(output_); }
  void ResetInputZone() { ResetZone(input_); }
  void ResetOutputZone() { ResetZone(output_); }
  void ResetSide(Side& side);
  void ResetZone(Side& side);

  void ChooseFrame(Side& side, Frame frame);
  void ChooseSystem(Side& side, std::int32_t code, ZoneChooser chooser, const QString& fileName);
  void ShowFile(ClickablePanel* panel, int statusPanel, const QString& fileName);
  void OpenPanelFile(ClickablePanel* panel, bool inputPanel);
  void SetModule(Module module, QGroupBox* first, QGroupBox* second);

  void SetUpObjects();
  void FillObjectList();
  void SetStatusText(int panel, const QString& text);
  // The status bar names the grid in use, and says so while it is the model
  // grid.
  void ShowGridInUse();
  // While a job runs, everything that starts a job or changes the selection
  // is disabled, "Przerwij" enabled and the progress bar shown.
  void SetJobRunning(bool running);
  void onJobFinished();
  // What the window does once a job stopped at the user's wish has returned.
  enum class AfterJob { Nothing, Close, Exit };
  // Asks whether to stop the running job in order to close or exit. Yes stops
  // it and leaves `then` for its end; true when the job ended on its own while
  // the question was open and the answer was Yes: close or exit now.
  bool StopJobToLeave(AfterJob then);

  ProgramPlaces places_;
  QString objectsRoot_;
  QString objectFolder_;
  JobDescription state_;
  JobCounters counters_;
  QWidget* infoWindow_ = nullptr;
  QWidget* aboutWindow_ = nullptr;

  Side input_;
  Side output_;
  QVector<QGroupBox*> moduleBoxes_;
  QVector<ClickablePanel*> modulePanels_;
  QVector<QRadioButton*> moduleRadios_;
  QGroupBox* heightInputBox_ = nullptr;
  QGroupBox* heightOutputBox_ = nullptr;
  QGroupBox* quasigeoidFrameBox_ = nullptr;
  QGroupBox* quasigeoidConversionBox_ = nullptr;
  ClickablePanel* heightInputPanel_ = nullptr;
  ClickablePanel* heightOutputPanel_ = nullptr;
  ClickablePanel* quasigeoidInputPanel_ = nullptr;
  ClickablePanel* quasigeoidOutputPanel_ = nullptr;

  QComboBox* objectCombo_ = nullptr;
  QComboBox* secondsPrecisionCombo_ = nullptr;
  QComboBox* linearPrecisionCombo_ = nullptr;
  QRadioButton* methodTheoretical_ = nullptr;
  QRadioButton* methodEmpirical_ = nullptr;
  QRadioButton* inputFormatDms_ = nullptr;
  QRadioButton* inputFormatDegrees_ = nullptr;
  QRadioButton* outputFormatDms_ = nullptr;
  QRadioButton* outputFormatDegrees_ = nullptr;
  QPlainTextEdit* monitor_ = nullptr;
  QFrame* noticePanel_ = nullptr;
  QPlainTextEdit* noticeText_ = nullptr;
  std::array<QLabel*, 4> statusPanels_{};
  QLabel* modelGridNotice_ = nullptr;
  QLabel* gridFileLabel_ = nullptr;
  QProgressBar* jobProgress_ = nullptr;
  QPushButton* stopJobButton_ = nullptr;
  QVector<QWidget*> lockedDuringJob_;
  QVector<QAction*> actionsLockedDuringJob_;
  std::unique_ptr<QtJobUserInterface> jobUi_;
  JobThread* jobThread_ = nullptr;
  AfterJob afterJob_ = AfterJob::Nothing;
  bool fittedToFrame_ = false;  // fitted to the window manager's true frame
};

}  // namespace kolvedir
