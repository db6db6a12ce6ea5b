#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QWindow>
#include <QToolButton>

#include <algorithm>
#include <clocale>
#include <new>
#include <utility>

#include "engine/job.h"
#include "grid/model_grid.h"
#include "kolvedir/version.h"
#include "shell/dialog_service.h"
#include "shell/editor_window.h"
#include "shell/file_import.h"
#include "shell/file_list_dialog.h"
#include "shell/job_dialogs.h"
#include "shell/job_thread.h"
#include "shell/main_window_panel.h"
#include "shell/objects.h"
#include "shell/window_placement.h"
#include "shell/zone_map.h"

namespace kolvedir {

namespace {

const QString kCaption = QStringLiteral("KOLVEDIR w.2.06 (2013)  -  transformacje współrzędnych");
const QString kMissingInputFile =
    QStringLiteral(" ! plik nie istnieje ale możesz go utworzyc i zapisac ");
const QString kNameTheObjectFirst =
    QStringLiteral(" Najpierw wpisz w okienku nazwę nowego obiektu! ");
const QString kWorkingFolder = QStringLiteral("Folder roboczy: ");
const QString kGridFolderHint =
    QStringLiteral("Folder pliku PL_grid_001.bin, z którego obliczenia czytają siatkę interpolacyjną");
const QString kNotice = QStringLiteral(
    "Wersja " KOLVEDIR_VERSION " programu KOLVEDIR jest udostępniana jako narzędzie kontrolne i testowe.\n\n"
    "Wyniki obliczeń należy sprawdzić niezależnie, zanim zostaną użyte w pracach "
    "geodezyjnych.");
// Both "Wykonaj obliczenia" buttons: what they do and the keys that do the same.
const QString kRunJobHint =
    QStringLiteral("Transformacja pomiędzy wybranymi układami (F9 lub Ctrl+Enter)");
const QString kCloseDuringJob =
    QStringLiteral(" Trwa obliczanie. Przerwać zadanie i zamknąć program? ");
const QColor kSkyBlue(166, 202, 240);
constexpr QSize kMainPanelSize(1010, 684);
constexpr QSize kMinimumWindowSize(480, 360);
// Room a window manager's title bar and borders take around the window, in
// pixels, until the window manager has framed the window and tells.
constexpr QSize kWindowFrameAllowance(16, 40);
// Blank rows at the bottom of the panel, below the button row: cutting them
// needs no scroll bar.
constexpr int kBlankPanelRows = 4;
// The controls of the panel that stay usable while a job runs: none of them
// starts a job or changes the selection.
const QStringList kUsableDuringJob = {"monitor",       "noticePanel",    "editorButton",
                                      "notepadButton", "editFileButton", "exitButton"};

// Places of the TRANS 2D/3D area: the lists of systems and the zone choosers
// of each side share one place each.
constexpr QPoint kInputListPlace(24, 200);
constexpr QPoint kInputChooserPlace(168, 200);
constexpr QPoint kOutputListPlace(312, 200);
constexpr QPoint kOutputChooserPlace(456, 200);
constexpr QSize kListSize(140, 222);

struct FrameChoice {
  const char* name;
  const char* caption;
  const char* hint;
  Frame frame;
};

constexpr FrameChoice kInputFrames[] = {
    {"inputFrameEtrf2000", " PL-ETRF2000/ep.2011 elipsoida GRS80 ", "opcja matematyczna",
     Frame::kEtrf2000},
    {"inputFrameEtrf89", " PL-ETRF89  (POLREF) elipsoida GRS80", "opcja matematyczna skorygowana",
     Frame::kEtrf89},
    {"inputFramePulkovo42", " Pulkowo'42        elipsoida Krasowskiego ", "", Frame::kPulkovo},
};
constexpr FrameChoice kOutputFrames[] = {
    {"outputFrameEtrf2000", "PL-ETRF2000/ep. 2011 elipsoida GRS80", "opcja matematyczna",
     Frame::kEtrf2000},
    {"outputFrameEtrf89", "PL-ETRF89  (POLREF)  elipsoida GRS80", "opcja mtematyczna skorygowana",
     Frame::kEtrf89},
    {"outputFramePulkovo42", "Pulkowo'42       elipsoida Krasowskiego", "", Frame::kPulkovo},
};

// A system of TRANS 2D/3D: the input radio, the output radio, the standard
// file name (the output file adds ".1"), the code and the zone chooser.
struct SystemChoice {
  const char* inputName;
  const char* outputName;
  const char* fileName;
  std::int32_t code;
  ZoneChooser chooser;
};

constexpr SystemChoice kGrsSystems[] = {
    {"inputSystemXy2000", "outputSystemXy2000", "xy2000", 1, ZoneChooser::Strips3},
    {"inputSystemXy92", "outputSystemXy92", "xy92", 2, ZoneChooser::None},
    {"inputSystemUtm", "outputSystemUtm", "UTM", 3, ZoneChooser::Strips6},
    {"inputSystemBlhGrs", "outputSystemBlhGrs", "BLH_GRS", 4, ZoneChooser::None},
    {"inputSystemXyzGrs", "outputSystemXyzGrs", "XYZ_GRS", 5, ZoneChooser::None},
};
constexpr SystemChoice kKrassowskySystems[] = {
    {"inputSystemXy65", "outputSystemXy65", "xy65", 1, ZoneChooser::Zones1965},
    {"inputSystemXy42_3", "outputSystemXy42_3", "xy42_3", 2, ZoneChooser::Strips3},
    {"inputSystemXy42_6", "outputSystemXy42_6", "xy42_6", 3, ZoneChooser::Strips6},
    {"inputSystemXy42_83_3", "outputSystemXy42_83_3", "xy42_83_3", 4, ZoneChooser::Strips3},
    {"inputSystemXy42_83_6", "outputSystemXy42_83_6", "xy42_83_6", 5, ZoneChooser::Strips6},
    {"inputSystemTarvo80", "outputSystemTarvo80", "xyTARVO80", 6, ZoneChooser::None},
    {"inputSystemBlhKra", "outputSystemBlhKra", "BLH_KRA", 7, ZoneChooser::None},
    {"inputSystemXyzKra", "outputSystemXyzKra", "XYZ_KRA", 8, ZoneChooser::None},
};

// A zone radio: input and output names, the stored value, its place on the map.
struct ZoneChoice {
  const char* inputName;
  const char* outputName;
  std::int32_t value;
  const char* text;
  double longitude;
  double latitude;
};

constexpr ZoneChoice kStrips3[] = {
    {"inputZone3Deg15", "outputZone3Deg15", 15, "", 15.0, 52.0},
    {"inputZone3Deg18", "outputZone3Deg18", 18, "", 18.0, 52.0},
    {"inputZone3Deg21", "outputZone3Deg21", 21, "", 21.0, 52.0},
    {"inputZone3Deg24", "outputZone3Deg24", 24, "", 24.0, 52.0},
};
constexpr ZoneChoice kStrips6[] = {
    {"inputZone6Deg15", "outputZone6Deg15", 15, "", 15.6, 52.0},
    {"inputZone6Deg21", "outputZone6Deg21", 21, "", 21.0, 52.0},
};
// The five zones of the 1965 system, each button near the middle of its zone.
constexpr ZoneChoice kZones1965[] = {
    {"inputZone1965_1", "outputZone1965_1", 1, "1", 21.6, 50.3},
    {"inputZone1965_2", "outputZone1965_2", 2, "2", 21.6, 53.2},
    {"inputZone1965_3", "outputZone1965_3", 3, "3", 17.4, 53.6},
    {"inputZone1965_4", "outputZone1965_4", 4, "4", 16.4, 51.9},
    {"inputZone1965_5", "outputZone1965_5", 5, "5", 18.7, 50.4},
};

struct ChooserKind {
  ZoneMapKind map;
  const char* title;
  const char* inputName;
  const char* outputName;
  const ZoneChoice* zones;
  int zoneCount;
};

const ChooserKind kChoosers[] = {
    {ZoneMapKind::Strips3, "Pasy południkowe 3°", "inputZoneChooser3Deg", "outputZoneChooser3Deg",
     kStrips3, int(std::size(kStrips3))},
    {ZoneMapKind::Strips6, "Pasy południkowe 6°", "inputZoneChooser6Deg", "outputZoneChooser6Deg",
     kStrips6, int(std::size(kStrips6))},
    {ZoneMapKind::Zones1965, "Strefy układu 1965", "inputZoneChooser1965", "outputZoneChooser1965",
     kZones1965, int(std::size(kZones1965))},
};

struct HeightChoice {
  const char* name;
  const char* caption;
  std::int32_t code;
};
constexpr HeightChoice kHeightInputs[] = {{"heightInputKron86", "BLH_K86", 11},
                                          {"heightInputKron2006", "BLH_K2006", 12},
                                          {"heightInputEvrf2007", "BLH_EVRF", 13}};
constexpr HeightChoice kHeightOutputs[] = {{"heightOutputKron86", "BLH_K86.1", 11},
                                           {"heightOutputKron2006", "BLH_K2006.1", 12},
                                           {"heightOutputEvrf2007", "BLH_EVRF.1", 13}};

struct QuasigeoidChoice {
  const char* name;
  const char* caption;
  std::int32_t code;
  const char* inputFile;
  const char* outputFile;
};
constexpr QuasigeoidChoice kQuasigeoidConversions[] = {
    {"quasigeoidAnomalies", "BL       -------------------> BLn.1", 21, "BL", "BLn.1"},
    {"quasigeoidEllipsoidalToNormal", "BLH_e  ------------------> BLH_n.1", 22, "BLH_e", "BLH_n.1"},
    {"quasigeoidNormalToEllipsoidal", "BLH_n  ------------------> BLH_e.1", 23, "BLH_n", "BLH_e.1"},
};

int ChooserIndex(ZoneChooser chooser) { return int(chooser) - 1; }

void Uncheck(QRadioButton* radio) {
  radio->setAutoExclusive(false);
  radio->setChecked(false);
  radio->setAutoExclusive(true);
}

// Runs handler whenever radio becomes checked, by the user or by the program.
template <typename Handler>
void OnChecked(QRadioButton* radio, QObject* context, Handler handler) {
  QObject::connect(radio, &QRadioButton::toggled, context, [handler](bool checked) {
    if (checked) handler();
  });
}

QRadioButton* AddRadio(QWidget* parent, const char* name, const QString& caption, QPoint place,
                       int width) {
  auto* radio = new QRadioButton(caption, parent);
  radio->setObjectName(QLatin1String(name));
  radio->setGeometry(QRect(place, QSize(width, 22)));
  return radio;
}

QGroupBox* AddBox(QWidget* parent, const char* name, const QString& title, QRect geometry) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(QLatin1String(name));
  box->setGeometry(geometry);
  return box;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption, QRect geometry,
                       const QString& hint = QString()) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(geometry);
  button->setToolTip(hint);
  return button;
}

QAction* AddAction(QMenu* menu, const char* name, const QString& text) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QLatin1String(name));
  return action;
}

// A framed area of one module with its title.
QGroupBox* AddArea(QWidget* parent, const char* name, const QString& title, QRect geometry) {
  QGroupBox* area = AddBox(parent, name, title, geometry);
  QFont bold = area->font();
  bold.setBold(true);
  area->setFont(bold);
  return area;
}

// Children of an area keep the normal font.
void UseNormalFont(QWidget* widget) {
  QFont normal = widget->font();
  normal.setBold(false);
  widget->setFont(normal);
}

QString PathText(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

// The status bar's name of the grid in use: its folder (the file is always
// PL_grid_001.bin), the home folder written "~".
QString GridFolderText(const std::filesystem::path& grid) {
  const QString folder = PathText(grid.parent_path());
  const QString home = QDir::homePath();
  if (folder == home || folder.startsWith(home + '/')) return '~' + folder.mid(home.size());
  return folder;
}

}  // namespace

MainWindow::MainWindow(const QString& programFolder, QWidget* parent)
    : MainWindow(PortablePlaces(QFile::encodeName(QDir::cleanPath(programFolder)).toStdString()),
                 parent) {}

MainWindow::MainWindow(const ProgramPlaces& places, QWidget* parent)
    : QMainWindow(parent), places_(places) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(kCaption);
  // The areas keep their places on a panel of fixed size; on a screen too
  // small for it (a 1366 × 768 laptop with a task bar) the window scrolls it.
  auto* central = new QWidget;
  central->setObjectName(QStringLiteral("mainPanel"));
  central->setFixedSize(kMainPanelSize);
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName(QStringLiteral("mainPanelScroll"));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(central);
  setCentralWidget(scroll);
  setMinimumSize(kMinimumWindowSize);

  input_.statusPanel = 0;
  input_.listPlace = kInputListPlace;
  input_.frame = &JobDescription::InputFrame;
  input_.system = &JobDescription::InputSystem;
  input_.zone = &JobDescription::InputZone;
  input_.kind = &JobDescription::InputKind;
  output_.statusPanel = 2;
  output_.listPlace = kOutputListPlace;
  output_.frame = &JobDescription::OutputFrame;
  output_.system = &JobDescription::OutputSystem;
  output_.zone = &JobDescription::OutputZone;
  output_.kind = &JobDescription::OutputKind;

  CreateMenus();
  CreateTopRow(central);
  CreateTransArea(central);
  CreateHeightArea(central);
  CreateQuasigeoidArea(central);
  CreateOptions(central);
  CreateMonitorAndButtons(central);
  CreateNotice(central);
  CreateStatusBar();
  jobUi_ = std::make_unique<QtJobUserInterface>(this);
  jobThread_ = new JobThread(*jobUi_, this);
  connect(jobThread_, &JobThread::Finished, this, &MainWindow::onJobFinished);
  for (QWidget* child : central->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (!kUsableDuringJob.contains(child->objectName())) lockedDuringJob_.append(child);
  }
  startUp();
  FitToScreen();
}

MainWindow::~MainWindow() {
  delete jobThread_;  // a job still running stops while the window's widgets exist
}

WindowFit FitPanel(QSize whole, QSize available, QSize frame, int scrollBarWidth) {
  const QSize room = available - frame;
  WindowFit fit{whole.boundedTo(room), false};
  // A cut height brings the vertical scroll bar, which takes its width.
  fit.scrolls = whole.height() - fit.size.height() > kBlankPanelRows;
  if (fit.scrolls) fit.size.setWidth(std::min(room.width(), fit.size.width() + scrollBarWidth));
  return fit;
}

void MainWindow::FitToScreen() {
  const QSize whole(
      kMainPanelSize.width(),
      kMainPanelSize.height() + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
  const QMargins margins = windowHandle() ? windowHandle()->frameMargins() : QMargins();
  const QSize frame = margins.isNull() ? kWindowFrameAllowance
                                       : QSize(margins.left() + margins.right(),
                                               margins.top() + margins.bottom());
  const QRect available = screen()->availableGeometry();
  const WindowFit fit = FitPanel(whole, available.size(), frame,
                                 style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  auto* scroll = static_cast<QScrollArea*>(centralWidget());
  scroll->setVerticalScrollBarPolicy(fit.scrolls ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  resize(fit.size.expandedTo(kMinimumWindowSize));
  // A window grown to its frame's true size is kept on the screen.
  if (!margins.isNull() && frameGeometry().bottom() > available.bottom())
    move(x(), std::max(available.top(), available.bottom() + 1 - frameGeometry().height()));
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  // Fitted once more when the window manager has framed the window and its
  // frame is known, instead of the guess.
  if (!fittedToFrame_ && windowHandle() && !windowHandle()->frameMargins().isNull()) {
    fittedToFrame_ = true;
    FitToScreen();
  }
}

void MainWindow::CreateMenus() {
  menuBar()->setObjectName(QStringLiteral("mainMenu"));
  QMenu* objects = menuBar()->addMenu(QStringLiteral("&Obiekty"));
  QAction* showFiles = AddAction(objects, "showObjectFilesAction", QStringLiteral("&Pokaż pliki"));
  connect(showFiles, &QAction::triggered, this, &MainWindow::showObjectFiles);
  QAction* add = AddAction(objects, "addObjectAction", QStringLiteral("&Dodaj obiekt"));
  connect(add, &QAction::triggered, this, &MainWindow::addObject);
  QAction* import = AddAction(objects, "importFilesAction", QStringLiteral("&Importuj pliki..."));
  connect(import, &QAction::triggered, this, &MainWindow::importFiles);
  objects->addSeparator();
  connect(AddAction(objects, "exitAction", QStringLiteral("&Wyjście")), &QAction::triggered, this,
          &QWidget::close);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edycja"));
  connect(AddAction(edit, "showEditorAction", QStringLiteral("Edytor &tekstowy")),
          &QAction::triggered, this, &MainWindow::showEditor);

  // "Opcje" checks the matching radio button, whose handler stores the value;
  // the radio buttons do not touch the menu, which carries no marks.
  QMenu* options = menuBar()->addMenu(QStringLiteral("Opcje"));
  // The keys of "Wykonaj obliczenia", anywhere in the window.
  auto* run = new QAction(this);
  run->setObjectName(QStringLiteral("runJobAction"));
  run->setShortcuts({QKeySequence(Qt::Key_F9), QKeySequence(Qt::CTRL | Qt::Key_Return),
                     QKeySequence(Qt::CTRL | Qt::Key_Enter)});
  connect(run, &QAction::triggered, this, &MainWindow::runJob);
  addAction(run);
  actionsLockedDuringJob_ = {showFiles, add, import, options->menuAction(), run};
  QMenu* method = options->addMenu(QStringLiteral("Metoda obliczeniowa    "));
  AddOptionItem(method, "methodEmpiricalAction", QStringLiteral(" Empiryczna"),
                &JobDescription::Method, ComputationMethod::kEmpirical,
                &MainWindow::methodEmpirical_);
  AddOptionItem(method, "methodTheoreticalAction", QStringLiteral(" Matematyczna (teoretyczna)"),
                &JobDescription::Method, ComputationMethod::kTheoretical,
                &MainWindow::methodTheoretical_);
  QMenu* inputFormat = options->addMenu(QStringLiteral("Format danych B, L"));
  AddOptionItem(inputFormat, "inputFormatDmsAction",
                QStringLiteral(" stopnie [int]  minuty [int]  sekundy [real] "),
                &JobDescription::BLInputFormat, BlFormat::kDegreesMinutesSeconds,
                &MainWindow::inputFormatDms_);
  AddOptionItem(inputFormat, "inputFormatDegreesAction", QStringLiteral(" stopnie [real]"),
                &JobDescription::BLInputFormat, BlFormat::kDecimalDegrees,
                &MainWindow::inputFormatDegrees_);
  QMenu* outputFormat = options->addMenu(QStringLiteral("Format wyników B, L"));
  AddOptionItem(outputFormat, "outputFormatDmsAction",
                QStringLiteral("stopnie [int]  minuty [int]  sekundy [real]  "),
                &JobDescription::BLOutputFormat, BlFormat::kDegreesMinutesSeconds,
                &MainWindow::outputFormatDms_);
  AddOptionItem(outputFormat, "outputFormatDegreesAction", QStringLiteral("stopnie [real]"),
                &JobDescription::BLOutputFormat, BlFormat::kDecimalDegrees,
                &MainWindow::outputFormatDegrees_);
  // The precision items show the matching item of the precision combo box,
  // which the next job reads.
  QMenu* seconds = options->addMenu(QStringLiteral("Precyzja zapisu B, L            "));
  QMenu* linear = options->addMenu(QStringLiteral("Precyzja zapisu XYZ  "));
  const QStringList secondsItems = {QStringLiteral("0.000001 \""), QStringLiteral("0.00001 \""),
                                    QStringLiteral("0.0001 \"")};
  const QStringList linearItems = {QStringLiteral(" 0.0001m"), QStringLiteral(" 0.001m"),
                                   QStringLiteral(" 0.01m")};
  for (int i = 0; i < 3; ++i) {
    connect(seconds->addAction(secondsItems[i]), &QAction::triggered, this,
            [this, i] { secondsPrecisionCombo_->setCurrentIndex(i); });
    connect(linear->addAction(linearItems[i]), &QAction::triggered, this,
            [this, i] { linearPrecisionCombo_->setCurrentIndex(i); });
  }

  QMenu* info = menuBar()->addMenu(QStringLiteral("&Info"));
  connect(AddAction(info, "showHelpAction", QStringLiteral("&Kolvedir-Info")), &QAction::triggered,
          this, [this] {
            if (infoWindow_) ShowInFront(infoWindow_);
          });
  connect(AddAction(info, "showAboutAction", QStringLiteral("O &programie...")),
          &QAction::triggered, this, [this] {
            if (aboutWindow_) ShowInFront(aboutWindow_);
          });
}

template <typename Value>
void MainWindow::AddOptionItem(QMenu* menu, const char* name, const QString& text,
                               Value JobDescription::*field, Value value,
                               QRadioButton* MainWindow::*radio) {
  connect(AddAction(menu, name, text), &QAction::triggered, this, [this, field, value, radio] {
    state_.*field = value;
    (this->*radio)->setChecked(true);
  });
}

void MainWindow::CreateTopRow(QWidget* central) {
  auto addToolButton = [central](const char* name, QStyle::StandardPixmap icon,
                                  const QString& hint, int left) {
    auto* button = new QToolButton(central);
    button->setObjectName(QLatin1String(name));
    button->setIcon(central->style()->standardIcon(icon));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setGeometry(left, 6, 30, 30);
    return button;
  };
  connect(addToolButton("editorButton", QStyle::SP_FileDialogContentsView,
                         QStringLiteral("Edytor tekstu"), 6),
          &QToolButton::clicked, this, &MainWindow::showEditor);
  connect(addToolButton("objectFilesButton", QStyle::SP_DirOpenIcon,
                         QStringLiteral("Wyświetla listę plików obiektu"), 38),
          &QToolButton::clicked, this, &MainWindow::showObjectFiles);

  objectCombo_ = new QComboBox(central);
  objectCombo_->setObjectName(QStringLiteral("objectCombo"));
  objectCombo_->setEditable(true);
  objectCombo_->setInsertPolicy(QComboBox::NoInsert);
  objectCombo_->setCompleter(nullptr);  // the text is exactly what the user typed
  objectCombo_->setGeometry(76, 8, 200, 26);
  connect(objectCombo_, &QComboBox::editTextChanged, this, &MainWindow::onObjectNameChanged);
  connect(AddButton(central, "addObjectButton", QStringLiteral("+"), QRect(280, 7, 28, 28),
                    QStringLiteral("dodaj obiekt")),
          &QPushButton::clicked, this, &MainWindow::addObject);

  connect(
      AddButton(central, "trans2d3dButton", QStringLiteral("TRANS-2D/3D"), QRect(322, 6, 130, 30)),
      &QPushButton::clicked, this, &MainWindow::chooseTrans2d3d);
  connect(
      AddButton(central, "heightModuleButton", QStringLiteral("TRANS-H"), QRect(456, 6, 110, 30)),
      &QPushButton::clicked, this, &MainWindow::chooseHeightModule);
  connect(AddButton(central, "quasigeoidModuleButton", QStringLiteral(" PL-geoid - 2011"),
                    QRect(570, 6, 140, 30)),
          &QPushButton::clicked, this, &MainWindow::chooseQuasigeoidModule);
  connect(AddButton(central, "runJobTopButton", QStringLiteral("Wykonaj obliczenia"),
                    QRect(834, 6, 170, 30),
                    kRunJobHint),
          &QPushButton::clicked, this, &MainWindow::runJob);
}

QGroupBox* MainWindow::AddModuleBox(QWidget* parent, const char* name, const QString& title,
                                    QRect geometry) {
  QGroupBox* box = AddBox(parent, name, title, geometry);
  UseNormalFont(box);
  moduleBoxes_.append(box);
  return box;
}

QRadioButton* MainWindow::AddModuleRadio(QWidget* parent, const char* name, const QString& caption,
                                         QPoint place, int width) {
  QRadioButton* radio = AddRadio(parent, name, caption, place, width);
  moduleRadios_.append(radio);
  return radio;
}

ClickablePanel* MainWindow::AddFilePanel(QWidget* parent, const char* name, QRect geometry,
                                         bool inputPanel) {
  auto* panel = new ClickablePanel(parent);
  panel->setObjectName(QLatin1String(name));
  panel->setGeometry(geometry);
  UseNormalFont(panel);
  modulePanels_.append(panel);
  connect(panel, &ClickablePanel::clicked, this,
          [this, panel, inputPanel] { OpenPanelFile(panel, inputPanel); });
  return panel;
}

void MainWindow::CreateTransArea(QWidget* central) {
  QGroupBox* area = AddArea(central, "trans2d3dArea",
                            QStringLiteral("TRANSFORMACJE PŁASKIE I TRÓJWYMIAROWE (TRANS 2D/3D)"),
                            QRect(6, 42, 604, 430));
  input_.frameBox = AddModuleBox(area, "inputFrameBox", QStringLiteral("UKŁAD WEJŚCIOWY"),
                                 QRect(24, 24, 280, 112));
  output_.frameBox = AddModuleBox(area, "outputFrameBox", QStringLiteral("UKŁAD WYNIKOWY"),
                                  QRect(312, 24, 284, 112));
  CreateTransSide(area, input_, true);
  CreateTransSide(area, output_, false);
}

void MainWindow::CreateTransSide(QWidget* area, Side& side, bool input) {
  const auto& frames = input ? kInputFrames : kOutputFrames;
  for (int i = 0; i < 3; ++i) {
    const FrameChoice& choice = frames[i];
    QRadioButton* radio = AddModuleRadio(side.frameBox, choice.name,
                                         QString::fromUtf8(choice.caption),
                                         QPoint(10, 24 + 28 * i), 262);
    radio->setToolTip(QString::fromUtf8(choice.hint));
    OnChecked(radio, this, [this, &side, frame = choice.frame] { ChooseFrame(side, frame); });
  }

  side.panel = AddFilePanel(area, input ? "transInputFilePanel" : "transOutputFilePanel",
                            QRect(side.listPlace.x(), 150, input ? 280 : 284, 30), input);
  side.grsList = AddModuleBox(area, input ? "inputGrs80Systems" : "outputGrs80Systems",
                              QStringLiteral("GRS80"), QRect(side.listPlace, kListSize));
  side.krassowskyList =
      AddModuleBox(area, input ? "inputKrassowskySystems" : "outputKrassowskySystems",
                   QStringLiteral("el. Krasowskiego"), QRect(side.listPlace, kListSize));
  auto addSystems = [&](QGroupBox* list, const auto& systems) {
    int row = 0;
    for (const SystemChoice& system : systems) {
      const QString fileName = QString::fromUtf8(system.fileName) + (input ? "" : ".1");
      QRadioButton* radio = AddModuleRadio(list, input ? system.inputName : system.outputName,
                                           fileName, QPoint(10, 22 + 24 * row++), 124);
      side.systemRadios.append(radio);
      OnChecked(radio, this, [this, &side, system, fileName] {
        ChooseSystem(side, system.code, system.chooser, fileName);
      });
    }
  };
  addSystems(side.grsList, kGrsSystems);
  addSystems(side.krassowskyList, kKrassowskySystems);

  const QPoint chooserPlace = input ? kInputChooserPlace : kOutputChooserPlace;
  for (int c = 0; c < 3; ++c) {
    const ChooserKind& kind = kChoosers[c];
    QGroupBox* chooser = AddModuleBox(area, input ? kind.inputName : kind.outputName,
                                      QString::fromUtf8(kind.title), QRect(chooserPlace, kListSize));
    auto* map = new ZoneMap(kind.map, chooser);
    map->setGeometry(4, 20, kListSize.width() - 8, kListSize.height() - 24);
    for (int z = 0; z < kind.zoneCount; ++z) {
      const ZoneChoice& zone = kind.zones[z];
      QRadioButton* radio = AddModuleRadio(map, input ? zone.inputName : zone.outputName,
                                           QString::fromUtf8(zone.text), QPoint(), 40);
      radio->setToolTip(kind.map == ZoneMapKind::Zones1965
                            ? QStringLiteral("strefa %1").arg(zone.value)
                            : QStringLiteral("%1°").arg(zone.value));
      map->PlaceButton(radio, zone.longitude, zone.latitude);
      side.zoneRadios.append(radio);
      OnChecked(radio, this, [this, &side, value = zone.value] { state_.*side.zone = value; });
    }
    side.zoneChoosers[c] = chooser;
  }
}

void MainWindow::CreateHeightArea(QWidget* central) {
  QGroupBox* area =
      AddArea(central, "heightArea", QStringLiteral("TRANSFORMACJA WYSOKOSCIOWA (TRANS-H)"),
              QRect(616, 42, 388, 190));
  heightInputBox_ = AddModuleBox(area, "heightInputBox", QStringLiteral("UKŁAD WEJŚCIOWY"),
                                 QRect(10, 24, 180, 112));
  heightOutputBox_ = AddModuleBox(area, "heightOutputBox", QStringLiteral("UKŁAD WYNIKOWY"),
                                  QRect(198, 24, 180, 112));
  heightInputPanel_ = AddFilePanel(area, "heightInputFilePanel", QRect(10, 146, 180, 30), true);
  heightOutputPanel_ = AddFilePanel(area, "heightOutputFilePanel", QRect(198, 146, 180, 30), false);
  for (int i = 0; i < 3; ++i) {
    const HeightChoice& in = kHeightInputs[i];
    OnChecked(AddModuleRadio(heightInputBox_, in.name, in.caption, QPoint(12, 24 + 26 * i), 160),
              this, [this, in] {
                state_.InputSystem = in.code;
                ShowFile(heightInputPanel_, 0, in.caption);
              });
    const HeightChoice& out = kHeightOutputs[i];
    OnChecked(AddModuleRadio(heightOutputBox_, out.name, out.caption, QPoint(12, 24 + 26 * i), 160),
              this, [this, out] {
                state_.OutputSystem = out.code;
                ShowFile(heightOutputPanel_, 2, out.caption);
              });
  }
}

void MainWindow::CreateQuasigeoidArea(QWidget* central) {
  QGroupBox* area = AddArea(central, "quasigeoidArea", QStringLiteral(" QUASIGEOIDA PL-geoid-2011"),
                            QRect(616, 238, 388, 234));
  quasigeoidFrameBox_ =
      AddModuleBox(area, "quasigeoidFrameBox",
                   QStringLiteral("UKŁAD ODNIESIENIA ETRF dla h (elips)"), QRect(10, 24, 368, 74));
  quasigeoidConversionBox_ = AddModuleBox(
      area, "quasigeoidConversionBox", QStringLiteral("PRZEKSZTAŁCENIE"), QRect(10, 102, 368, 90));
  quasigeoidInputPanel_ =
      AddFilePanel(area, "quasigeoidInputFilePanel", QRect(10, 198, 180, 30), true);
  quasigeoidOutputPanel_ =
      AddFilePanel(area, "quasigeoidOutputFilePanel", QRect(198, 198, 180, 30), false);
  OnChecked(AddModuleRadio(quasigeoidFrameBox_, "quasigeoidFrameEtrf2000",
                           QStringLiteral("PL-ETRF2000 (stacje referencyjne krajowej sieci GNSS)"),
                           QPoint(12, 22), 350),
            this, [this] { state_.InputFrame = Frame::kQuasigeoidEtrf2000; });
  OnChecked(AddModuleRadio(quasigeoidFrameBox_, "quasigeoidFrameEtrf89",
                           QStringLiteral("PL-ETRF89 (POLREF)"), QPoint(12, 46), 350),
            this, [this] { state_.InputFrame = Frame::kQuasigeoidEtrf89; });
  for (int i = 0; i < 3; ++i) {
    const QuasigeoidChoice& choice = kQuasigeoidConversions[i];
    OnChecked(AddModuleRadio(quasigeoidConversionBox_, choice.name, choice.caption,
                             QPoint(12, 20 + 22 * i), 350),
              this, [this, choice] {
                state_.InputSystem = choice.code;
                state_.OutputSystem = choice.code;
                ShowFile(quasigeoidInputPanel_, 0, choice.inputFile);
                ShowFile(quasigeoidOutputPanel_, 2, choice.outputFile);
              });
  }
}

void MainWindow::CreateOptions(QWidget* central) {
  QGroupBox* inputFormat =
      AddBox(central, "inputFormatBox", QStringLiteral("Format danych BL (dla wszystkich modulów)"),
             QRect(6, 480, 300, 74));
  QGroupBox* outputFormat = AddBox(central, "outputFormatBox",
                                   QStringLiteral("Format wyników BL (dla wszystkich modulów)"),
                                   QRect(310, 480, 300, 74));
  QGroupBox* method =
      AddBox(central, "methodBox", QStringLiteral("Opcja TRANS 2D/3D"), QRect(6, 560, 200, 74));
  inputFormatDms_ = AddRadio(inputFormat, "inputFormatDms", QStringLiteral(" [stopnie min sek]"),
                             QPoint(12, 22), 200);
  inputFormatDegrees_ = AddRadio(inputFormat, "inputFormatDegrees", QStringLiteral(" [stopnie]"),
                                 QPoint(12, 46), 200);
  outputFormatDms_ = AddRadio(outputFormat, "outputFormatDms", QStringLiteral(" [stopnie min sek]"),
                              QPoint(12, 22), 200);
  outputFormatDegrees_ = AddRadio(outputFormat, "outputFormatDegrees", QStringLiteral(" [stopnie]"),
                                  QPoint(12, 46), 200);
  methodTheoretical_ =
      AddRadio(method, "methodTheoretical", QStringLiteral("Teoretyczna"), QPoint(12, 22), 180);
  methodEmpirical_ =
      AddRadio(method, "methodEmpirical", QStringLiteral("Empiryczna (grid)"), QPoint(12, 46), 180);
  for (QRadioButton* initial : {inputFormatDms_, outputFormatDms_, methodEmpirical_}) {
    initial->setChecked(true);
  }
  OnChecked(methodTheoretical_, this, [this] { state_.Method = ComputationMethod::kTheoretical; });
  OnChecked(methodEmpirical_, this, [this] { state_.Method = ComputationMethod::kEmpirical; });
  OnChecked(inputFormatDms_, this,
            [this] { state_.BLInputFormat = BlFormat::kDegreesMinutesSeconds; });
  OnChecked(inputFormatDegrees_, this,
            [this] { state_.BLInputFormat = BlFormat::kDecimalDegrees; });
  OnChecked(outputFormatDms_, this,
            [this] { state_.BLOutputFormat = BlFormat::kDegreesMinutesSeconds; });
  OnChecked(outputFormatDegrees_, this,
            [this] { state_.BLOutputFormat = BlFormat::kDecimalDegrees; });

  auto addPrecision = [central](const char* name, const QString& label, int top,
                                const auto& items) {
    auto* caption = new QLabel(label, central);
    caption->setGeometry(216, top, 196, 26);
    auto* combo = new QComboBox(central);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    for (std::string_view item : items) {
      combo->addItem(QString::fromUtf8(item.data(), qsizetype(item.size())));
    }
    combo->setGeometry(416, top, 150, 26);
    return combo;
  };
  secondsPrecisionCombo_ =
      addPrecision("secondsPrecisionCombo", QStringLiteral("Precyzja  zapisu  BL ........"), 566,
                   kSecondsPrecisionItems);
  linearPrecisionCombo_ =
      addPrecision("linearPrecisionCombo", QStringLiteral("Precyzja  zapisu  XY(Z) ...."), 602,
                   kLinearPrecisionItems);
}

void MainWindow::CreateMonitorAndButtons(QWidget* central) {
  monitor_ = new QPlainTextEdit(central);
  monitor_->setObjectName(QStringLiteral("monitor"));
  monitor_->setReadOnly(true);
  monitor_->setUndoRedoEnabled(false);
  monitor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont monospace = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  monospace.setPointSize(8);
  monitor_->setFont(monospace);
  monitor_->setGeometry(616, 480, 388, 160);
  monitor_->setPlainText(QStringLiteral("MONITOR") + QString(10, '\n'));

  connect(AddButton(central, "editFileButton", QStringLiteral("FileListEdit"),
                    QRect(6, 646, 150, 34), QStringLiteral("Zobacz pliki i foldery")),
          &QPushButton::clicked, this, &MainWindow::editPickedFile);
  connect(AddButton(central, "notepadButton", QStringLiteral("Notatnik"), QRect(162, 646, 150, 34),
                    QStringLiteral("Zobacz raport po kontroli")),
          &QPushButton::clicked, this, &MainWindow::openNotepad);
  connect(AddButton(central, "runJobButton", QStringLiteral("Wykonaj obliczenia"),
                    QRect(616, 646, 200, 34),
                    kRunJobHint),
          &QPushButton::clicked, this, &MainWindow::runJob);
  connect(AddButton(central, "exitButton", QStringLiteral("WYJŚCIE"), QRect(854, 646, 150, 34)),
          &QPushButton::clicked, this, &MainWindow::exitProgram);
}

void MainWindow::CreateNotice(QWidget* central) {
  noticePanel_ = new QFrame(central);
  noticePanel_->setObjectName(QStringLiteral("noticePanel"));
  noticePanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
  noticePanel_->setLineWidth(2);
  noticePanel_->setAutoFillBackground(true);
  noticePanel_->setGeometry(255, 170, 500, 220);
  noticeText_ = new QPlainTextEdit(kNotice, noticePanel_);
  noticeText_->setObjectName(QStringLiteral("noticeText"));
  noticeText_->setReadOnly(true);
  noticeText_->setAutoFillBackground(true);
  QFont boldItalic = noticeText_->font();
  boldItalic.setBold(true);
  boldItalic.setItalic(true);
  noticeText_->setFont(boldItalic);
  noticeText_->setGeometry(12, 12, 476, 150);
  connect(AddButton(noticePanel_, "noticeOkButton", QStringLiteral("OK"), QRect(200, 174, 100, 32)),
          &QPushButton::clicked, this, &MainWindow::hideNotice);
  noticePanel_->raise();
}

void MainWindow::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("statusBar"));
  bar->setSizeGripEnabled(false);
  const int widths[] = {170, 30, 170, 0};
  for (int i = 0; i < 4; ++i) {
    // The last panel, the working folder, keeps the object's name in view.
    QLabel* panel = i == 3 ? new PathPanel(bar) : new QLabel(bar);
    panel->setTextFormat(Qt::PlainText);  // paths are shown as they are, never as markup
    panel->setObjectName(QStringLiteral("statusPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    if (widths[i] > 0) {
      panel->setFixedWidth(widths[i]);
    } else {
      // A long path takes the room there is and never widens the window.
      panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    bar->addWidget(panel, widths[i] > 0 ? 0 : 1);
    statusPanels_[i] = panel;
  }
  modelGridNotice_ = new QLabel(bar);
  modelGridNotice_->setObjectName(QStringLiteral("modelGridNotice"));
  modelGridNotice_->setTextFormat(Qt::PlainText);
  modelGridNotice_->setStyleSheet(QStringLiteral("color: darkred"));
  // The gist of the notice is never cut; its tool tip holds it whole.
  modelGridNotice_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  modelGridNotice_->hide();
  bar->addWidget(modelGridNotice_);
  // The grid's folder shares the room left with the working folder, both
  // keeping their last folder in view.
  gridFileLabel_ = new PathPanel(bar);
  gridFileLabel_->setObjectName(QStringLiteral("gridFileLabel"));
  gridFileLabel_->setTextFormat(Qt::PlainText);
  gridFileLabel_->setToolTip(kGridFolderHint);
  gridFileLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  bar->addWidget(gridFileLabel_, 1);
  jobProgress_ = new QProgressBar(bar);
  jobProgress_->setObjectName(QStringLiteral("jobProgress"));
  // Whole percents: finer steps would not show on the bar, and each one costs
  // the window a repaint while the job computes.
  jobProgress_->setRange(0, 100);
  jobProgress_->setFixedWidth(120);
  jobProgress_->hide();
  bar->addPermanentWidget(jobProgress_);
  stopJobButton_ = new QPushButton(QStringLiteral("Przerwij"), bar);
  stopJobButton_->setObjectName(QStringLiteral("stopJobButton"));
  stopJobButton_->setToolTip(
      QStringLiteral("Przerywa obliczenia; zbiór wynikowy pozostaje bez zmian"));
  stopJobButton_->setEnabled(false);
  connect(stopJobButton_, &QPushButton::clicked, this, &MainWindow::stopJob);
  bar->addPermanentWidget(stopJobButton_);
}

void MainWindow::ShowGridInUse() {
  // Looked up again after every job: the user may install the official grid meanwhile.
  const std::filesystem::path grid = GridInUse(places_);
  gridFileLabel_->setText(QStringLiteral("Siatka: ") + GridFolderText(grid));
  const bool model = IsModelGrid(grid);
  const std::string_view notice = ModelGridNotice();
  // The status bar has room for the gist; the whole notice is its tooltip.
  modelGridNotice_->setText(model ? QStringLiteral("Uwaga: siatka modelowa") : QString());
  modelGridNotice_->setToolTip(
      model ? QString::fromUtf8(notice.data(), qsizetype(notice.size())) : QString());
  modelGridNotice_->setVisible(model);
}

void MainWindow::startUp() {
  // Numbers are written and read with "." whatever the user's locale (none is
  // read or written through QLocale); what the user reads is Polish.
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
  ResetSelection();
  state_ = JobDescription{};
  counters_ = JobCounters{};
  SetStatusText(0, QStringLiteral(" "));
  SetStatusText(1, QStringLiteral("->"));
  SetStatusText(2, QStringLiteral(" "));
  SetUpObjects();
  ShowGridInUse();
  secondsPrecisionCombo_->setCurrentIndex(0);
  linearPrecisionCombo_->setCurrentIndex(0);
  QPalette notice = noticePanel_->palette();
  notice.setColor(QPalette::Window, kSkyBlue);
  noticePanel_->setPalette(notice);
  QPalette memo = noticeText_->palette();
  memo.setColor(QPalette::Base, palette().color(QPalette::Window));
  noticeText_->setPalette(memo);
}

void MainWindow::SetInfoWindows(QWidget* info, QWidget* about) {
  infoWindow_ = info;
  aboutWindow_ = about;
}

QString MainWindow::StatusText(int panel) const { return statusPanels_.at(panel)->text(); }

void MainWindow::SetStatusText(int panel, const QString& text) {
  statusPanels_.at(panel)->setText(text);
}

QStringList MainWindow::MonitorLines() const { return monitor_->toPlainText().split('\n'); }

// ---- Selection -------------------------------------------------------------

void MainWindow::ResetSelection() {
  for (QGroupBox* box : moduleBoxes_) box->hide();
  for (ClickablePanel* panel : modulePanels_) panel->hide();
  for (QRadioButton* radio : moduleRadios_) Uncheck(radio);
  state_.InputFrame = state_.OutputFrame = Frame::kNone;
  state_.InputSystem = state_.OutputSystem = 0;
  state_.InputZone = state_.OutputZone = 0;
  state_.InputKind = state_.OutputKind = RecordKind::kNone;
}

void MainWindow::ResetSide(Side& side) {
  side.grsList->hide();
  side.krassowskyList->hide();
  for (QRadioButton* radio : side.systemRadios) Uncheck(radio);
  ResetZone(side);
  state_.*side.system = 0;
  state_.*side.kind = RecordKind::kNone;
}

void MainWindow::ResetZone(Side& side) {
  for (QGroupBox* chooser : side.zoneChoosers) chooser->hide();
  side.panel->hide();
  for (QRadioButton* radio : side.zoneRadios) Uncheck(radio);
  state_.*side.zone = 0;
}

void MainWindow::SetModule(Module module, QGroupBox* first, QGroupBox* second) {
  ResetSelection();
  state_.ActiveModule = module;
  first->show();
  second->show();
}

void MainWindow::chooseTrans2d3d() { SetModule(Module::kTrans, input_.frameBox, output_.frameBox); }
void MainWindow::chooseHeightModule() {
  SetModule(Module::kHeight, heightInputBox_, heightOutputBox_);
}
void MainWindow::chooseQuasigeoidModule() {
  SetModule(Module::kQuasigeoid, quasigeoidFrameBox_, quasigeoidConversionBox_);
}

void MainWindow::ChooseFrame(Side& side, Frame frame) {
  state_.*side.frame = frame;
  ResetSide(side);
  QGroupBox* list = frame == Frame::kPulkovo ? side.krassowskyList : side.grsList;
  list->move(side.listPlace);
  list->show();
}

void MainWindow::ChooseSystem(Side& side, std::int32_t code, ZoneChooser chooser,
                              const QString& fileName) {
  state_.*side.system = code;
  ResetZone(side);
  if (chooser != ZoneChooser::None) side.zoneChoosers[ChooserIndex(chooser)]->show();
  ShowFile(side.panel, side.statusPanel, fileName);
}

void MainWindow::ShowFile(ClickablePanel* panel, int statusPanel, const QString& fileName) {
  panel->setText(fileName);
  panel->show();
  SetStatusText(statusPanel, fileName);
}

void MainWindow::OpenPanelFile(ClickablePanel* panel, bool inputPanel) {
  const QString path = objectFolder_ + '/' + panel->text();
  OpenInEditor(path);
  if (inputPanel && !QFileInfo::exists(path)) Dialogs().Message(this, kMissingInputFile);
}

// ---- Buttons ---------------------------------------------------------------

void MainWindow::runJob() {
  if (JobRunning()) return;
  // Everything the job reads from the widgets is taken here, on the window's
  // thread; the selection state stays the window's, untouched while the job runs.
  const std::filesystem::path objectsRoot = QFile::encodeName(objectsRoot_).toStdString();
  const std::filesystem::path grid = GridInUse(places_);
  // The folder's own bytes: an object listed under a decoded Windows-1250
  // name is reached by its real name.
  const std::string objectName =
      ObjectFolderBytes(objectsRoot_, objectCombo_->currentText()).toStdString();
  const std::string seconds = secondsPrecisionCombo_->currentText().toStdString();
  const std::string linear = linearPrecisionCombo_->currentText().toStdString();
  SetJobRunning(true);
  jobThread_->Start([=, this](JobUserInterface& ui) {
    try {
      return ::kolvedir::RunJob(state_, objectsRoot, objectName, seconds, linear, grid, counters_,
                                ui);
    } catch (const std::bad_alloc&) {
      // The job's files are closed and its temporary result removed on the way here.
      ui.ShowInformation(std::string(kOutOfMemoryMessage));
      return JobOutcome::kFailed;
    }
  });
}

bool MainWindow::JobRunning() const { return jobThread_ && jobThread_->Running(); }

void MainWindow::stopJob() {
  if (JobRunning()) jobThread_->RequestStop();
}

void MainWindow::SetJobRunning(bool running) {
  for (QWidget* widget : lockedDuringJob_) widget->setEnabled(!running);
  for (QAction* action : actionsLockedDuringJob_) action->setEnabled(!running);
  stopJobButton_->setEnabled(running);
  if (running) jobProgress_->setValue(0);
  jobProgress_->setVisible(running);
}

void MainWindow::onJobFinished() {
  SetJobRunning(false);
  objectFolder_ = ObjectFolderFor(objectsRoot_, objectCombo_->currentText());
  ShowGridInUse();
  switch (std::exchange(afterJob_, AfterJob::Nothing)) {
    case AfterJob::Close:
      close();
      break;
    case AfterJob::Exit:
      exitProgram();
      break;
    case AfterJob::Nothing:
      break;
  }
}

bool MainWindow::StopJobToLeave(AfterJob then) {
  if (Dialogs().Question(this, QStringLiteral("Potwierdzenie"), kCloseDuringJob, false) !=
      DialogService::Answer::Yes) {
    return false;
  }
  // The job may have ended on its own while the question was open: then the
  // answer is acted on now, never kept for a later job.
  if (!JobRunning()) return true;
  afterJob_ = then;
  jobThread_->RequestStop();
  return false;
}

void MainWindow::openNotepad() { OpenInEditor(objectFolder_ + QStringLiteral("/notatnik.txt")); }

void MainWindow::editPickedFile() {
  const QString path = Dialogs().OpenFileName(this, QString(), objectFolder_, QString());
  if (!path.isEmpty()) OpenInEditor(path);
}

void MainWindow::exitProgram() {
  // During a job: once the job has stopped, if the user wants it.
  if (JobRunning() && !StopJobToLeave(AfterJob::Exit)) return;
  // Unsaved editor texts are offered for saving first; the program then ends
  // without closing its windows one by one.
  if (!ConfirmCloseAllEditors()) return;
  QCoreApplication::exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // During a job the window closes once the stopped job has returned.
  event->setAccepted((!JobRunning() || StopJobToLeave(AfterJob::Close)) &&
                     ConfirmCloseAllEditors());
}

void MainWindow::hideNotice() { noticePanel_->hide(); }

void MainWindow::showObjectFiles() {
  ShowFileListDialog(objectFolder_, [this] { importFiles(); }, this);
}

void MainWindow::showEditor() { ShowCurrentEditor(objectFolder_); }

// ---- Working objects -------------------------------------------------------

void MainWindow::SetUpObjects() {
  objectsRoot_ = PathText(places_.objectsRoot);
  // A missing objects folder is created so that objects can be added at once;
  // if that fails the list simply stays empty.
  QDir().mkpath(objectsRoot_);
  QDir::setCurrent(objectsRoot_);
  FillObjectList();
  const int index = ReadKatal(PathText(places_.settingsFolder));
  {
    const QSignalBlocker quiet(objectCombo_);
    objectCombo_->setCurrentIndex(index >= 0 && index < objectCombo_->count() ? index : -1);
    if (objectCombo_->currentIndex() < 0) objectCombo_->setEditText(QString());
  }
  objectFolder_ = ObjectFolderFor(objectsRoot_, objectCombo_->currentText());
  SetStatusText(3, kWorkingFolder + objectFolder_);
}

void MainWindow::FillObjectList() {
  const QSignalBlocker quiet(objectCombo_);
  objectCombo_->clear();
  objectCombo_->addItems(ListObjects(objectsRoot_));
}

void MainWindow::onObjectNameChanged(const QString& text) {
  objectFolder_ = ObjectFolderFor(objectsRoot_, text);
  SetStatusText(3, kWorkingFolder + objectFolder_);
  // The entry whose name the combo shows; -1 for a typed name not in the list.
  WriteKatal(PathText(places_.settingsFolder),
             objectCombo_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void MainWindow::addObject() {
  const QString name = objectCombo_->currentText();
  if (!IsValidObjectName(name) || !QDir(objectsRoot_).mkdir(name)) {
    Dialogs().Information(this, QStringLiteral("Informacja"), kNameTheObjectFirst);
    return;
  }
  FillObjectList();
  {
    // The second entry, as the list always did; the only entry when there is one.
    const QSignalBlocker quiet(objectCombo_);
    objectCombo_->setCurrentIndex(std::min(1, objectCombo_->count() - 1));
  }
  objectFolder_ = ObjectFolderFor(objectsRoot_, objectCombo_->currentText());
  SetStatusText(3, objectFolder_);
  ResetSelection();
}

void MainWindow::importFiles() {
  ImportFiles(this,
              Dialogs().OpenFileNames(this, QStringLiteral("Importuj"), QDir::homePath(),
                                      QStringLiteral("Wszystkie pliki (*)")),
              objectFolder_);
  if (ObjectFilesDialog* fileList = CurrentFileListDialog()) fileList->Refresh();
}

}  // namespace kolvedir
